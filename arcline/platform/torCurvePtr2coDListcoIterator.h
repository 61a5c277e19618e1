#pragma once
// Reads a torCurvePtr2coDList.

#include "arcline/platform/coDListcoIterator.h"
#include "arcline/platform/torCurvePtr2coDList.h"

using torCurvePtr2coDListcoIterator = coDListcoIterator<torCurvePtr2>;
