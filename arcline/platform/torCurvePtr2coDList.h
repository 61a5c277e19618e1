#pragma once
// A doubly linked list of shared curves of the plane.

#include "arcline/platform/coDList.h"
#include "arcline/platform/torCurvePtr2.h"

using torCurvePtr2coDList = coDList<torCurvePtr2>;
