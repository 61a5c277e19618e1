#pragma once
// Reads a torCurvePtr3coDList.

#include "arcline/platform/coDListcoIterator.h"
#include "arcline/platform/torCurvePtr3coDList.h"

using torCurvePtr3coDListcoIterator = coDListcoIterator<torCurvePtr3>;
