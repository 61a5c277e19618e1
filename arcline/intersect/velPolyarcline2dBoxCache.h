#pragma once
// The XY boxes of every span of a list (see velSpanBoxCache). Copyable.

#include "arcline/intersect/velSpanBoxCache.h"
#include "arcline/platform/giBox2.h"

class velPolyarcline2dBoxCache : public velSpanBoxCache<giBox2> {};
