// Region offsets against outside oracles on random regions and the blob.

#include "offsetterTestKit.h"
#include "tests/support/geosKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#ifdef ARCLINE_TEST_HAVE_GEOS
#include <geos_c.h>
#endif
#ifdef ARCLINE_TEST_HAVE_CLIPPER
#include <clipper.hpp>
#endif

namespace velOffsetterOracle_test {

using namespace offsettertest;

#ifdef ARCLINE_TEST_HAVE_GEOS

constexpr double sagitta = 1e-6;

struct Geos : support::GeosContext {
    // The region of nested loops (outer boundaries anticlockwise, holes clockwise, islands anticlockwise).
    GEOSGeometry* region(const Polylines& loops, double* error) const {
        std::vector<std::pair<double, const velAbsPolyArcLine*>> order;
        for (const auto& l : loops)
            order.push_back({support::props_of(*l).area, l.get()});
        std::sort(order.begin(), order.end(),
                  [](const auto& a, const auto& b) { return std::fabs(a.first) > std::fabs(b.first); });
        GEOSGeometry* all = nullptr;
        for (const auto& [area, line] : order) {
            std::vector<XY> pts = ring_of(*line, sagitta, error);
            if (area < 0) std::reverse(pts.begin(), pts.end());
            GEOSGeometry* p = polygon(pts);
            if (!all) {
                all = p;
                continue;
            }
            GEOSGeometry* next = area > 0 ? GEOSUnion_r(h, all, p) : GEOSDifference_r(h, all, p);
            GEOSGeom_destroy_r(h, all);
            GEOSGeom_destroy_r(h, p);
            all = next;
        }
        return all;
    }
    // The buffer by d with round joins, 1024 segments per quadrant.
    GEOSGeometry* buffer(const GEOSGeometry* g, double d) const {
        GEOSBufferParams* p = GEOSBufferParams_create_r(h);
        GEOSBufferParams_setJoinStyle_r(h, p, GEOSBUF_JOIN_ROUND);
        GEOSBufferParams_setQuadrantSegments_r(h, p, 1024);
        GEOSGeometry* out = GEOSBufferWithParams_r(h, g, p, d);
        GEOSBufferParams_destroy_r(h, p);
        return out;
    }
};

// Agreement of arcline's offset of `in` by d with GEOS's buffer of the polygonized region.
void expect_agreement(const Geos& geos, const Polylines& in, double d) {
    double chords = 0.0; // area cut off by the input's chords
    GEOSGeometry* g = geos.region(in, &chords);
    ASSERT_NE(g, nullptr);
    GEOSGeometry* b = geos.buffer(g, d);
    ASSERT_NE(b, nullptr);
    const Polylines out = region_offset(in, d);
    const support::Props p = support::list_props_of(out);
    // The chords' error moved along with the boundary (the offset is longer or shorter than the input by a
    // factor no larger than the lengths' ratio), GEOS's joins (1024 per quadrant: sagitta below 1.2e-6 |d|)
    // and its simplification of inside turns.
    const double length = std::max(p.length, geos.length(b));
    const double input_length = support::list_props_of(in).length;
    const double tol = 2 * chords * std::max(1.0, length / input_length) + 2e-6 * std::fabs(d) * length +
                       2e-4 * length + 1e-9;
    EXPECT_NEAR(p.area, geos.area(b), tol) << "offset " << d;
    EXPECT_EQ(static_cast<int>(out.size()), geos.loops(b)) << "offset " << d;
    GEOSGeom_destroy_r(geos.h, b);
    GEOSGeom_destroy_r(geos.h, g);
}

#endif

#ifdef ARCLINE_TEST_HAVE_CLIPPER
// Agreement of arcline's offset of `in` by d with Clipper's offset of the loops polygonized within
// `sag` (outer boundaries anticlockwise, holes clockwise, as Clipper wants them). Coordinates are scaled
// so that the largest is about 1e9, where Clipper's integers still take its fast 64-bit path.
void expect_clipper_agreement(const Polylines& in, double d, double sag = 1e-5) {
    double chords = 0.0, largest = std::fabs(d);
    std::vector<std::vector<XY>> rings;
    for (const auto& line : in) {
        rings.push_back(ring_of(*line, sag, &chords));
        for (const XY& p : rings.back())
            largest = std::max({largest, std::fabs(p.x), std::fabs(p.y)});
    }
    const double scale = 1e9 / (largest + std::fabs(d));
    ClipperLib::Paths paths;
    for (const std::vector<XY>& ring : rings) {
        ClipperLib::Path path;
        for (const XY& p : ring)
            path.push_back({static_cast<ClipperLib::cInt>(std::llround(p.x * scale)),
                            static_cast<ClipperLib::cInt>(std::llround(p.y * scale))});
        paths.push_back(path);
    }
    ClipperLib::ClipperOffset co(2.0, sag * scale);
    co.AddPaths(paths, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    co.Execute(solution, d * scale);
    double area = 0.0, length = 0.0;
    for (const ClipperLib::Path& p : solution) {
        area += ClipperLib::Area(p) / (scale * scale);
        for (std::size_t i = 0; i < p.size(); ++i) {
            const ClipperLib::IntPoint &a = p[i], &b = p[(i + 1) % p.size()];
            length += std::hypot(static_cast<double>(b.X - a.X), static_cast<double>(b.Y - a.Y)) / scale;
        }
    }
    const Polylines out = region_offset(in, d);
    const support::Props props = support::list_props_of(out);
    const double input_length = support::list_props_of(in).length;
    const double longest = std::max(props.length, length);
    // The chords' error moved along, Clipper's round joins within the sagitta, its integer coordinates.
    const double tol =
        2 * chords * std::max(1.0, longest / input_length) + 2 * sag * longest + longest / scale;
    EXPECT_NEAR(props.area, area, tol) << "offset " << d;
    EXPECT_EQ(out.size(), solution.size()) << "offset " << d;
}
#endif

class OffsetOracles : public ::testing::TestWithParam<unsigned> {};

TEST_P(OffsetOracles, RandomRegionsAgree) {
    Rng rng(1000 + GetParam());
    const Polylines in = random_region(rng);
#ifdef ARCLINE_TEST_HAVE_GEOS
    Geos geos;
    for (const double d : {-2.2, -0.7, 0.5, 1.8})
        expect_agreement(geos, in, d);
#endif
#ifdef ARCLINE_TEST_HAVE_CLIPPER
    for (const double d : {-2.2, -0.7, 0.5, 1.8})
        expect_clipper_agreement(in, d);
#endif
#if !defined(ARCLINE_TEST_HAVE_GEOS) && !defined(ARCLINE_TEST_HAVE_CLIPPER)
    GTEST_SKIP() << "neither GEOS (libgeos-dev) nor Clipper (libpolyclipping-dev) was found";
#endif
}

INSTANTIATE_TEST_SUITE_P(Seeded, OffsetOracles, ::testing::Range(1u, 21u));

Polylines read_workload(const char* name) {
    const std::string path = bench_file(name);
    if (path.empty()) return {};
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    if (!velGeometryIO::read(path.c_str(), list)) return {};
    velAbsPolyArcLineListIter in(list);
    return copies(in);
}

// The blob grown and shrunk by 2: one loop each, closed, nothing left over (no open pieces, no small
// loops), the area as GEOS's.
TEST(OffsetOracleWorkloads, BlobOneLoopEachWay) {
    const Polylines in = read_workload("blob_10k.txt");
    if (in.empty()) GTEST_SKIP() << "blob_10k.txt is not beside the repository";
    for (const double d : {2.0, -2.0}) {
        SCOPED_TRACE("offset " + std::to_string(d));
        const Polylines out = region_offset(in, d);
        ASSERT_EQ(out.size(), 1u);
        const support::Props p = support::props_of(*out[0]);
        EXPECT_EQ(p.closed, 1);
        EXPECT_GT(std::fabs(p.area), 20000.0);
    }
#ifdef ARCLINE_TEST_HAVE_GEOS
    Geos geos;
    for (const double d : {2.0, -2.0})
        expect_agreement(geos, in, d);
#endif
#ifdef ARCLINE_TEST_HAVE_CLIPPER
    for (const double d : {2.0, -2.0})
        expect_clipper_agreement(in, d);
#endif
}

TEST(OffsetOracleWorkloads, PocketLevels) {
    const Polylines in = read_workload("pocket.txt");
    if (in.empty()) GTEST_SKIP() << "pocket.txt is not beside the repository";
    for (const double k : {1.0, 2.0, 3.0, 5.0, 10.0, 15.0, 20.0}) {
        SCOPED_TRACE("level " + std::to_string(k));
#ifdef ARCLINE_TEST_HAVE_GEOS
        expect_agreement(Geos(), in, -k);
#endif
#ifdef ARCLINE_TEST_HAVE_CLIPPER
        expect_clipper_agreement(in, -k);
#endif
    }
}

} // namespace velOffsetterOracle_test
