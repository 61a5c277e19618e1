#pragma once
// A parameter along a curve or a curve-remembering polyline: a plain real, named so that signatures say
// which kind of number they take.

using torT = double;
