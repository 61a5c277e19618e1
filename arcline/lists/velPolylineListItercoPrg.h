#pragma once
// A shared pointer to a list iterator, for objects that keep a clone of an iterator of their own (a position
// keeps one standing on its polyline). The pointer owns the iterator: create_new() results go straight in.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/coPrg.h"

using velPolylineListItercoPrg = coPrg<velPolylineListIter>;
