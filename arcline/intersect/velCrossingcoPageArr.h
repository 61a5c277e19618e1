#pragma once
// The paged array of crossings that every intersection fills. Element order is insertion order unless a
// caller sorts.

#include "arcline/intersect/velCrossing.h"
#include "arcline/platform/coPageArr.h"
#include "arcline/platform/utOstream.h"

#include <ostream>

using velCrossingcoPageArr = coPageArr<velCrossing>;

// Writes "coPageArr {", then "size " and the count and every crossing, each of their lines indented by two
// spaces, then "}", one line each.
utOstream& operator<<(utOstream& os, const velCrossingcoPageArr& arr);
std::ostream& operator<<(std::ostream& os, const velCrossingcoPageArr& arr);
