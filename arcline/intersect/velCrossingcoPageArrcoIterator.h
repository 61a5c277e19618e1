#pragma once
// Reads a crossing array in insertion order:
//     for (velCrossingcoPageArrcoIterator it(crossings); it; ++it) use(*it);
// reset() goes back to the first crossing. The array must outlive the iterator.

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/platform/coPageArrcoIterator.h"

using velCrossingcoPageArrcoIterator = coPageArrcoIterator<velCrossing>;
