#pragma once
// Shared pointer to a curve of the plane; see torCurvePtr3.

#include "arcline/platform/coPrf.h"

class torCurve2;

using torCurvePtr2 = coPrf<torCurve2>;
