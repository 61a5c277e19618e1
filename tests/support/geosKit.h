#pragma once
// GEOS as a test oracle (its C API, reentrant form): one context per object, polygons from point rings, and
// the measures the oracle tests compare (area, length, boundary loops). Only where the tests found GEOS.

#ifdef ARCLINE_TEST_HAVE_GEOS
#include <geos_c.h>

#include <cstddef>
#include <vector>

namespace support {

struct GeosContext {
    GEOSContextHandle_t h = GEOS_init_r();
    GeosContext() = default;
    GeosContext(const GeosContext&) = delete;
    GeosContext& operator=(const GeosContext&) = delete;
    ~GeosContext() { GEOS_finish_r(h); }

    // The closed ring through `pts` (any points with x and y), the first repeated at the end.
    template <class P>
    GEOSGeometry* ring(const std::vector<P>& pts) const {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size() + 1), 2);
        for (std::size_t i = 0; i <= pts.size(); ++i) {
            const P& p = pts[i % pts.size()];
            GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), p.x, p.y);
        }
        return GEOSGeom_createLinearRing_r(h, seq);
    }
    template <class P>
    GEOSGeometry* polygon(const std::vector<P>& pts) const {
        return GEOSGeom_createPolygon_r(h, ring(pts), nullptr, 0);
    }
    double area(const GEOSGeometry* g) const {
        double a = 0.0;
        GEOSArea_r(h, g, &a);
        return a;
    }
    double length(const GEOSGeometry* g) const {
        double l = 0.0;
        GEOSLength_r(h, g, &l);
        return l;
    }
    // Boundary loops: every shell and hole of every polygon.
    int loops(const GEOSGeometry* g) const {
        int n = 0;
        for (int i = 0; i < GEOSGetNumGeometries_r(h, g); ++i) {
            const GEOSGeometry* p = GEOSGetGeometryN_r(h, g, i);
            if (GEOSGeomTypeId_r(h, p) != GEOS_POLYGON || GEOSisEmpty_r(h, p)) continue;
            n += 1 + GEOSGetNumInteriorRings_r(h, p);
        }
        return n;
    }
};

} // namespace support

#endif
