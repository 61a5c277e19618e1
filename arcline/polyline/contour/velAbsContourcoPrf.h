#pragma once
// Shared pointer to a contour, the span-by-span view of one polyline that iterators and cursors hand out
// through get_current(). The contour class itself lives with the contour framework; holders of the pointer
// need only this declaration.

#include "arcline/platform/coPrf.h"

class velAbsContour;

using velAbsContourcoPrf = coPrf<velAbsContour>;
