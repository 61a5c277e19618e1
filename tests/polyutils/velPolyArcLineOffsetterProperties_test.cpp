// Raw offsets on seeded random input: Steiner, morphs, temporary spans of stars, the two paths.

#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "offsetTestKit.h"
#include "offsetterTestKit.h"

#include <gtest/gtest.h>

#include "tests/support/metamorphic.h"

#include <set>

namespace velPolyArcLineOffsetterProperties_test {

using namespace offsettest;

namespace {

constexpr int seeds = 40;

// |a - b| within `rel` of the larger magnitude (at least 1).
::testing::AssertionResult near_rel(double a, double b, double rel) {
    if (std::fabs(a - b) <= rel * std::max({1.0, std::fabs(a), std::fabs(b)}))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " vs " << b << " (difference " << a - b << ")";
}

struct Convex {
    Line line;
    double area, length; // |area|
};

Convex convex_case(Rng& rng, bool clockwise) {
    Line line = random_convex(rng, rng.pick(3, 12));
    if (clockwise) line = reversed(*line);
    velSingleAbsArcLineListIter it(*line);
    ++it;
    const double area = std::fabs(velPolylineUtils::area(it)), length = velPolylineUtils::length(it);
    return {std::move(line), area, length};
}

class ConvexOutward : public ::testing::TestWithParam<bool> {};

// Offsets on the outside of a convex outline are exact (raw, sharp, and the region offset).
TEST_P(ConvexOutward, SpansLieAtTheOffsetAndTheAreaFollowsSteiner) {
    const bool clockwise = GetParam();
    Rng rng(clockwise ? 1701 : 1702);
    for (int s = 0; s < seeds; ++s) {
        SCOPED_TRACE(s);
        const Convex c = convex_case(rng, clockwise);
        const double d = rng.uniform(0.05, 6.0), steiner = c.area + d * c.length + pi * d * d;
        const Raw r = raw_offset(*c.line, clockwise ? -d : d);
        ASSERT_TRUE(r.contour);
        EXPECT_TRUE(r.closed());
        EXPECT_EQ(r.temps(), 0);
        EXPECT_TRUE(near_rel(std::fabs(r.area), steiner, 1e-9));
        EXPECT_TRUE(near_rel(r.length, c.length + 2 * pi * d, 1e-9));
        EXPECT_EQ(r.area < 0, clockwise);
        for (int i = 1; i <= r.spans; ++i) {
            const auto [lo, hi] = distance_range(*r.contour->get_span(i), *c.line);
            EXPECT_TRUE(near_rel(lo, d, 1e-9) && near_rel(hi, d, 1e-9)) << "span " << i;
        }
        Options o;
        o.extend = 1;
        const Raw sharp = raw_offset(*c.line, clockwise ? -d : d, o);
        ASSERT_TRUE(sharp.contour);
        EXPECT_TRUE(sharp.closed());
        EXPECT_EQ(sharp.temps(), 0);
        EXPECT_GE(std::fabs(sharp.area), steiner * (1 - 1e-9));
        for (int i = 1; i <= sharp.spans; ++i)
            EXPECT_GE(distance_range(*sharp.contour->get_span(i), *c.line).first, d * (1 - 1e-9)) << i;
        if (clockwise) continue;
        // The region offset (velOffsetter) of the outline grows by the same Steiner formula.
        support::Polylines region;
        region.emplace_back(c.line->create_new());
        const support::Props grown = support::list_props_of(offsettertest::region_offset(region, d));
        EXPECT_EQ(grown.polylines, 1);
        EXPECT_TRUE(near_rel(grown.area, steiner, 1e-9));
        EXPECT_TRUE(near_rel(grown.length, c.length + 2 * pi * d, 1e-9));
    }
}

INSTANTIATE_TEST_SUITE_P(RawOffset, ConvexOutward, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "clockwise" : "anticlockwise"; });

// Every morph of an outline (reversed or mirrored with the offset negated, started elsewhere, moved far,
// scaled with its offset) gives the same offset outline. (Outward offsets: inward ones may form loops, and
// where the raw offset of a loop starts decides which corners are trimmed first.)
TEST(RawOffsetMetamorphic, EveryMorphGivesTheSameOutline) {
    Rng rng(1705);
    for (int s = 0; s < seeds; ++s) {
        SCOPED_TRACE(s);
        const Convex c = convex_case(rng, false);
        const double d = rng.uniform(0.05, 6.0);
        Options o;
        o.extend = rng.pick(0, 1);
        const Raw base = raw_offset(*c.line, d, o);
        ASSERT_TRUE(base.contour);
        for (const support::Morph& m : support::all_morphs) {
            SCOPED_TRACE(m.name());
            const double f = m.length_factor(), sign = m.flips_orientation() ? -1 : 1;
            const double rel = m.kind == support::Morph::translated ? 1e-7 : 1e-8;
            const Raw r = raw_offset(*m.polyline(*c.line), sign * d * f, o);
            ASSERT_TRUE(r.contour);
            EXPECT_EQ(r.spans, base.spans);
            EXPECT_EQ(r.temps(), base.temps());
            EXPECT_TRUE(near_rel(r.area, sign * base.area * f * f, rel));
            EXPECT_TRUE(near_rel(r.length, base.length * f, rel));
        }
    }
}

// A star polygon: n spikes, corners alternating between radius R and a smaller random radius, anticlockwise.
Line star(Rng& rng, int n) {
    const double R = rng.uniform(8, 12);
    std::vector<giPoint3> pts;
    for (int k = 0; k < 2 * n; ++k) {
        const double a = pi * k / n + rng.uniform(-0.2, 0.2) * pi / n;
        const double r = k % 2 == 0 ? R * rng.uniform(0.9, 1.1) : R * rng.uniform(0.3, 0.7);
        pts.push_back({r * std::cos(a), r * std::sin(a), 0});
    }
    Line line = std::make_unique<velPolyArcLineDouble>();
    for (const giPoint3& p : pts)
        line->add_pos(p);
    line->add_pos(pts.front());
    return line;
}

// Inward offsets of star polygons: a corner where the input turns away from the offset side is trimmed
// when the edge offsets cross; the offset of an edge shorter than its trims at both ends is where a loop
// forms. Temporary spans appear at an end of every such edge and nowhere else, and each lies in the
// material the sorter cuts away (nearer than |d| to the input).
TEST(RawOffsetLoops, TemporarySpansMarkExactlyTheEdgesTooShortForTheirTrims) {
    Rng rng(1706);
    int with_loops = 0, without = 0;
    for (int s = 0; s < 4 * seeds; ++s) {
        const bool clockwise = rng.pick(0, 1) == 1;
        Line line = star(rng, rng.pick(3, 9));
        if (clockwise) line = reversed(*line);
        const double d = rng.uniform(0.1, 2.5);
        const double offset = clockwise ? d : -d; // inward
        velSingleAbsArcLineListIter it(*line);
        ++it;
        const int n = it.num_pos() - 1;
        auto P = [&](int i) { return it.get_pos(((i % n) + n) % n); };
        // How far the offset of edge i is cut back at its start and end.
        auto trim_at = [&](int corner) {
            const giVector3 u = P(corner) - P(corner - 1), v = P(corner + 1) - P(corner);
            const double turn = std::atan2(u.x() * v.y() - u.y() * v.x(), u.dot(v));
            const bool away = clockwise ? turn < 0 : turn > 0;
            return away ? d * std::tan(std::fabs(turn) / 2) : 0.0;
        };
        std::set<int> short_edges, ambiguous;
        for (int i = 0; i < n; ++i) {
            const double need = trim_at(i) + trim_at(i + 1), have = P(i).distance(P(i + 1));
            if (have < need * 0.999) short_edges.insert(i);
            if (std::fabs(have - need) <= need * 0.001) ambiguous.insert(i);
        }
        if (!ambiguous.empty()) continue;
        const Raw r = raw_offset(*line, offset);
        ASSERT_TRUE(r.contour) << s;
        EXPECT_EQ(r.temps() > 0, !short_edges.empty()) << s;
        (short_edges.empty() ? without : with_loops) += 1;
        // Each temporary span is a corner span: both its ends lie at d from one input corner, an end of a
        // short edge.
        std::set<int> marked_edges;
        for (int k = 1; k <= r.spans; ++k) {
            const velAbsSpancoPrf span = r.contour->get_span(k);
            if (!span->is_temp_line_span()) continue;
            int corner = -1;
            for (int i = 0; i < n; ++i) {
                if (near_rel(span->start_point().distance(P(i)), d, 1e-9) &&
                    near_rel(span->end_point().distance(P(i)), d, 1e-9))
                    corner = i;
            }
            ASSERT_GE(corner, 0) << s << " span " << k;
            EXPECT_TRUE(short_edges.count(corner) || short_edges.count((corner + n - 1) % n))
                << s << " corner " << corner;
            marked_edges.insert(corner);
            marked_edges.insert((corner + n - 1) % n);
            EXPECT_LT(distance_range(*span, *line).first, d * (1 - 1e-6)) << s << " span " << k;
        }
        for (int e : short_edges)
            EXPECT_TRUE(marked_edges.count(e)) << s << " edge " << e;
    }
    // Both kinds of case were met.
    EXPECT_GT(with_loops, 10);
    EXPECT_GT(without, 10);
}

// Random poly-arc-lines (arcs up to 250 degrees, open and closed, with loops).
TEST(RawOffsetPaths, PolyArcLineFastPathAgreesWithTheGenericPath) {
    Rng rng(1707);
    for (int s = 0; s < 10 * seeds; ++s) {
        SCOPED_TRACE(s);
        const Line line = flat(*listtest::random_polyline(rng, rng.pick(2, 12), 0.0, rng.pick(0, 1) == 1));
        Options o;
        o.extend = rng.pick(0, 1);
        o.chamfer = rng.pick(0, 1);
        o.max_corner_offset = rng.uniform(-1, 10);
        expect_paths_agree(*line, rng.uniform(-8, 8), o, 1e-9);
    }
}

// Every raw offset is connected, and closed exactly when its input is.
TEST(RawOffsetPaths, ResultsAreConnected) {
    Rng rng(1708);
    for (int s = 0; s < 3 * seeds; ++s) {
        const bool closed = rng.pick(0, 1) == 1;
        const Line line = flat(*listtest::random_polyline(rng, rng.pick(2, 12), 0.0, closed));
        Options o;
        o.extend = rng.pick(0, 1);
        const Raw r = raw_offset(*line, rng.uniform(-8, 8), o);
        if (!r.contour) continue;
        const velAbsPolyArcLine& out = r.line();
        EXPECT_EQ(r.closed(), closed && polytest::pos(*line, 1) == polytest::pos(*line, line->num_pos()))
            << s;
        EXPECT_EQ(out.num_spans(), r.spans) << s;
        for (int i = 1; i <= out.num_spans(); ++i) {
            giPoint3 a, b;
            out.get_pos(i, a);
            out.get_pos(i + 1, b);
            if (out.span_linear(i)) {
                EXPECT_GT(a.distance(b), 1e-5) << s << " span " << i; // cleaned
            }
        }
    }
}

} // namespace

} // namespace velPolyArcLineOffsetterProperties_test
