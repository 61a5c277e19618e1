#pragma once
// Constructor tag of velTPLIWithoutClosureBreaks: work on an independent copy of the trimmed view.

enum velTPLIIndependent { vel_tpli_independent };
