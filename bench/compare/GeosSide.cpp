// The GEOS side, through its C API (a context handle of our own; GEOS errors go to standard error).

#include "bench/compare/Sides.h"

#include <geos_c.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace compare::geos_side {

namespace {

void print_error(const char* message, void*) {
    std::fprintf(stderr, "GEOS error: %s\n", message);
}

// The one context of the program, made on first use and finished at exit.
GEOSContextHandle_t context() {
    struct Context {
        Context() : handle(GEOS_init_r()) {
            GEOSContext_setErrorMessageHandler_r(handle, print_error, nullptr);
        }
        ~Context() { GEOS_finish_r(handle); }
        Context(const Context&) = delete;
        Context& operator=(const Context&) = delete;
        GEOSContextHandle_t handle;
    };
    static Context c;
    return c.handle;
}

struct GeomDelete {
    void operator()(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(context(), g);
    }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDelete>;

struct TreeDelete {
    void operator()(GEOSSTRtree* t) const {
        if (t) GEOSSTRtree_destroy_r(context(), t);
    }
};

struct ParamsDelete {
    void operator()(GEOSBufferParams* p) const {
        if (p) GEOSBufferParams_destroy_r(context(), p);
    }
};
using Params = std::unique_ptr<GEOSBufferParams, ParamsDelete>;

// A chain as a GEOS coordinate sequence; a ring repeats its first point at the end, as GEOS wants.
GEOSCoordSequence* sequence(const Chain& c) {
    std::vector<double> xy;
    xy.reserve(2 * c.points.size() + 2);
    for (const Point& p : c.points) {
        xy.push_back(p.x);
        xy.push_back(p.y);
    }
    if (c.closed && !c.points.empty()) {
        xy.push_back(c.points.front().x);
        xy.push_back(c.points.front().y);
    }
    return GEOSCoordSeq_copyFromBuffer_r(context(), xy.data(), xy.size() / 2, 0, 0);
}

// The polygons of the rings: an anticlockwise ring is an outer boundary, a clockwise ring a hole of the
// first outer boundary around its first point. A hole outside every outer boundary is dropped with a note.
std::vector<Geom> polygons(const std::vector<const Chain*>& chains) {
    std::vector<const Chain*> outers;
    std::vector<std::vector<const Chain*>> holes;
    for (const Chain* c : chains)
        if (c->region() && signed_area(*c) > 0.0) outers.push_back(c);
    holes.resize(outers.size());
    for (const Chain* c : chains) {
        if (!c->region() || signed_area(*c) > 0.0) continue;
        std::size_t k = 0;
        while (k < outers.size() && !inside(*outers[k], c->points.front()))
            ++k;
        if (k < outers.size())
            holes[k].push_back(c);
        else
            std::fprintf(stderr,
                         "note: a clockwise ring outside every outer boundary is left out for GEOS\n");
    }
    std::vector<Geom> out;
    for (std::size_t k = 0; k < outers.size(); ++k) {
        GEOSGeometry* shell = GEOSGeom_createLinearRing_r(context(), sequence(*outers[k]));
        std::vector<GEOSGeometry*> rings;
        for (const Chain* h : holes[k])
            rings.push_back(GEOSGeom_createLinearRing_r(context(), sequence(*h)));
        out.emplace_back(
            GEOSGeom_createPolygon_r(context(), shell, rings.data(), static_cast<unsigned>(rings.size())));
    }
    return out;
}

std::vector<const Chain*> all_chains(const Workload& w) {
    std::vector<const Chain*> out;
    for (const Chain& c : w.chains)
        out.push_back(&c);
    return out;
}

// One polygon as it is, several as a geometry collection (overlapping polygons make no valid multipolygon).
Geom region(std::vector<Geom> parts) {
    if (parts.size() == 1) return std::move(parts.front());
    std::vector<GEOSGeometry*> raw;
    for (Geom& g : parts)
        raw.push_back(g.release());
    return Geom(GEOSGeom_createCollection_r(context(), GEOS_GEOMETRYCOLLECTION, raw.data(),
                                            static_cast<unsigned>(raw.size())));
}

void add_rings(const GEOSGeometry* g, Answer& a) {
    if (!g || GEOSisEmpty_r(context(), g) == 1) return;
    const int type = GEOSGeomTypeId_r(context(), g);
    if (type == GEOS_POLYGON) {
        auto add = [&](const GEOSGeometry* ring) {
            const int n = GEOSGetNumCoordinates_r(context(), ring);
            if (n <= 0) return;
            a.loops += 1;
            a.size += n - 1; // the closing point repeats the first
        };
        add(GEOSGetExteriorRing_r(context(), g));
        const int holes = GEOSGetNumInteriorRings_r(context(), g);
        for (int i = 0; i < holes; ++i)
            add(GEOSGetInteriorRingN_r(context(), g, i));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int n = GEOSGetNumGeometries_r(context(), g);
        for (int i = 0; i < n; ++i)
            add_rings(GEOSGetGeometryN_r(context(), g, i), a);
    }
}

Answer summary(const GEOSGeometry* g) {
    Answer a;
    a.loops = 0;
    a.size = 0;
    add_rings(g, a);
    a.value = 0.0;
    a.length = 0.0;
    if (g) {
        GEOSArea_r(context(), g, &a.value);
        GEOSLength_r(context(), g, &a.length);
    }
    return a;
}

Params round_params(double d) {
    Params p(GEOSBufferParams_create_r(context()));
    GEOSBufferParams_setJoinStyle_r(context(), p.get(), GEOSBUF_JOIN_ROUND);
    GEOSBufferParams_setEndCapStyle_r(context(), p.get(), GEOSBUF_CAP_ROUND);
    GEOSBufferParams_setQuadrantSegments_r(context(), p.get(), quadrant_segments(d, chord_deviation));
    return p;
}

// The segments of the open and closed chains with the polyline each belongs to, as GEOS line strings for the
// tree's envelopes and as plain numbers for the segment intersector.
struct Segments {
    std::vector<Geom> lines;
    std::vector<std::array<double, 4>> ends;
    std::vector<int> owner;
};

Segments segments(const Workload& w) {
    Segments s;
    for (std::size_t k = 0; k < w.chains.size(); ++k) {
        const std::vector<Point>& p = w.chains[k].points;
        const std::size_t n = w.chains[k].closed ? p.size() : p.size() - 1;
        for (std::size_t i = 0; i < n && p.size() > 1; ++i) {
            const Point a = p[i], b = p[(i + 1) % p.size()];
            Chain two;
            two.points = {a, b};
            s.lines.emplace_back(GEOSGeom_createLineString_r(context(), sequence(two)));
            s.ends.push_back({a.x, a.y, b.x, b.y});
            s.owner.push_back(static_cast<int>(k));
        }
    }
    return s;
}

struct Query {
    const Segments* s = nullptr;
    std::size_t i = 0;
    long long meetings = 0;
};

void test_candidate(void* item, void* data) {
    Query& q = *static_cast<Query*>(data);
    const auto* e = static_cast<const std::array<double, 4>*>(item);
    const std::size_t j = static_cast<std::size_t>(e - q.s->ends.data());
    if (j <= q.i || q.s->owner[j] == q.s->owner[q.i]) return; // each pair once, no self crossings
    const std::array<double, 4>& a = q.s->ends[q.i];
    double x = 0.0, y = 0.0;
    if (GEOSSegmentIntersection_r(context(), a[0], a[1], a[2], a[3], (*e)[0], (*e)[1], (*e)[2], (*e)[3], &x,
                                  &y) == 1)
        ++q.meetings;
}

} // namespace

std::string version() {
    const std::string v = GEOSversion();
    return "GEOS " + v.substr(0, v.find('-'));
}

Measured crossings(const Workload& w, int repeat) {
    const Segments s = segments(w);
    struct Result {
        std::unique_ptr<GEOSSTRtree, TreeDelete> tree;
        long long meetings = 0;
    };
    auto [timing, answer] = measure(
        repeat,
        [&] {
            Result r;
            r.tree.reset(GEOSSTRtree_create_r(context(), 10));
            for (std::size_t i = 0; i < s.lines.size(); ++i)
                GEOSSTRtree_insert_r(context(), r.tree.get(), s.lines[i].get(),
                                     const_cast<std::array<double, 4>*>(&s.ends[i]));
            Query q;
            q.s = &s;
            for (q.i = 0; q.i < s.lines.size(); ++q.i)
                GEOSSTRtree_query_r(context(), r.tree.get(), s.lines[q.i].get(), test_candidate, &q);
            r.meetings = q.meetings;
            return r;
        },
        [](const Result& r) {
            Answer a;
            a.value = static_cast<double>(r.meetings);
            return a;
        });
    return {timing, answer};
}

Measured boolean(const Workload& w, BooleanOp op, int repeat) {
    const Geom a = region(polygons({&w.chains.at(0)}));
    const Geom b = region(polygons({&w.chains.at(1)}));
    auto [timing, answer] = measure(
        repeat,
        [&] {
            switch (op) {
            case BooleanOp::a_and_b:
                return Geom(GEOSIntersection_r(context(), a.get(), b.get()));
            case BooleanOp::a_or_b:
                return Geom(GEOSUnion_r(context(), a.get(), b.get()));
            case BooleanOp::a_not_b:
                break;
            }
            return Geom(GEOSDifference_r(context(), a.get(), b.get()));
        },
        [](const Geom& g) { return summary(g.get()); });
    return {timing, answer};
}

Measured union_all(const Workload& w, int repeat) {
    const Geom all = region(polygons(all_chains(w)));
    auto [timing, answer] = measure(
        repeat, [&] { return Geom(GEOSUnaryUnion_r(context(), all.get())); },
        [](const Geom& g) { return summary(g.get()); });
    return {timing, answer};
}

Measured offset(const Workload& w, double d, int repeat) {
    const Geom g = region(polygons(all_chains(w)));
    const Params p = round_params(d);
    auto [timing, answer] = measure(
        repeat, [&] { return Geom(GEOSBufferWithParams_r(context(), g.get(), p.get(), d)); },
        [](const Geom& r) { return summary(r.get()); });
    return {timing, answer};
}

PocketSeries pocket(const Workload& w, double step, int repeat) {
    const Geom g = region(polygons(all_chains(w)));
    auto [timing, levels] = measure(
        repeat,
        [&] {
            std::vector<Geom> levels;
            for (int k = 1; k <= pocket_level_limit; ++k) {
                const double d = -k * step;
                Geom r(GEOSBufferWithParams_r(context(), g.get(), round_params(d).get(), d));
                if (!r || GEOSisEmpty_r(context(), r.get()) == 1) break;
                levels.push_back(std::move(r));
            }
            return levels;
        },
        [](const std::vector<Geom>& levels) {
            std::vector<Answer> out;
            for (const Geom& r : levels)
                out.push_back(summary(r.get()));
            return out;
        });
    return pocket_series(timing, levels);
}

} // namespace compare::geos_side
