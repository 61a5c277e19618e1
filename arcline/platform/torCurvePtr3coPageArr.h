#pragma once
// A paged array of shared curves of space.

#include "arcline/platform/coPageArr.h"
#include "arcline/platform/torCurvePtr3.h"

using torCurvePtr3coPageArr = coPageArr<torCurvePtr3>;
