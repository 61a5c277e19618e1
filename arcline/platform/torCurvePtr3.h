#pragma once
// Shared pointer to a curve of space. Curves are shared, never copied: a curve's identity is the address of
// the shared object, so that two positions "lie on the same curve" exactly when their pointers are equal.

#include "arcline/platform/coPrf.h"

class torCurve3;

using torCurvePtr3 = coPrf<torCurve3>;
