#pragma once
// A doubly linked list of shared curves of space.

#include "arcline/platform/coDList.h"
#include "arcline/platform/torCurvePtr3.h"

using torCurvePtr3coDList = coDList<torCurvePtr3>;
