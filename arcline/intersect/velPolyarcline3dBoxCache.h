#pragma once
// The 3D boxes of every span of a list (see velSpanBoxCache), filled from the list or from a point cache.
// Copyable.

#include "arcline/intersect/velPolyarclinePointCache.h"
#include "arcline/intersect/velSpanBoxCache.h"
#include "arcline/platform/giBox3.h"

class velPolyarcline3dBoxCache : public velSpanBoxCache<giBox3> {
public:
    using velSpanBoxCache<giBox3>::cache_boxes;
    // From cached points and bulges: a span is the bulge-form arc (or line) between its two points, its XY
    // box exact and its z range that of its ends.
    void cache_boxes(const velPolyarclinePointCache& points);
};
