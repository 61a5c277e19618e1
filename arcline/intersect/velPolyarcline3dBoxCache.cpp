#include "arcline/intersect/velPolyarcline3dBoxCache.h"

#include "arcline/polyline/spans/velArc2Utils.h"

#include <algorithm>

void velPolyarcline3dBoxCache::cache_boxes(const velPolyarclinePointCache& points) {
    clear();
    const int segs = points.num_segs();
    int spans = 0;
    for (int i = 0; i < segs; ++i)
        spans += std::max(points.num_points(i) - 1, 0);
    reserve(segs, spans);
    for (int i = 0; i < segs; ++i) {
        open_segment();
        const int n = points.num_points(i);
        if (n == 1) add_point(giBox3(points.get_point(i, 0), points.get_point(i, 0)));
        for (int j = 0; j + 1 < n; ++j) {
            const giPoint3 &s = points.get_point(i, j), &e = points.get_point(i, j + 1);
            giBox2 xy;
            velArc2Utils::bounding_box(s.xy(), e.xy(), points.get_bulge(i, j), xy);
            add_span(giBox3({xy.min().x, xy.min().y, std::min(s.z, e.z)},
                            {xy.max().x, xy.max().y, std::max(s.z, e.z)}));
        }
        close_segment();
    }
}
