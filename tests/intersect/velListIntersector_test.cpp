// The BSP intersector against an all-pairs reference on random lists; edge cases.

#include "bspTestKit.h"

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/platform/velProgressBreak.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace velListIntersector_test {

namespace {

using namespace bsptest;

std::vector<Hit> hits_of(const velCrossingcoPageArr& arr) {
    std::vector<Hit> out;
    for (int i = 0; i < arr.size(); ++i)
        out.push_back(normalised(arr.read(i)));
    return out;
}

// Every crossing by the all-pairs reference; with second >= 0 only those between [0, second) and the rest.
std::vector<Hit> reference(List& list, int second = -1) {
    struct S {
        int poly, k;
        RefSpan s;
    };
    std::vector<S> spans;
    std::vector<int> last, closed;
    velPolylineListIter& it = list.iter;
    it.reset();
    while (++it) {
        const int n = it.num_pos();
        last.push_back(std::max(n - 1, 0));
        closed.push_back(n > 1 && it.get_pos(0) == it.get_pos(n - 1));
        for (int k = 0; k + 1 < n; ++k) {
            const giPoint3 a = it.get_pos(k), e = it.get_pos(k + 1);
            spans.push_back(
                {it.index(), k, ref_span({a.x, a.y}, {e.x, e.y}, it.span_linear(k) ? 0.0 : it.get_bulge(k))});
        }
    }
    std::vector<Hit> out;
    for (std::size_t i = 0; i < spans.size(); ++i)
        for (std::size_t j = i + 1; j < spans.size(); ++j) {
            const S &a = spans[i], &b = spans[j];
            if (second >= 0 && (a.poly < second) == (b.poly < second)) continue;
            for (const V& p : ref_intersections(a.s, b.s)) {
                if (a.poly == b.poly) {
                    // The common vertex of neighbours (around the closing point too) is no crossing, nor is
                    // a meeting so close to it that spans decide nothing there (a cusp).
                    const auto L = static_cast<std::size_t>(a.poly);
                    const bool next = b.k == a.k + 1, wrap = closed[L] && a.k == 0 && b.k == last[L] - 1;
                    const V shared = next ? a.s.e : a.s.a;
                    if ((next || wrap) && std::hypot(p.x - shared.x, p.y - shared.y) < 1e-6) continue;
                }
                out.push_back(
                    normalised(a.poly, a.k + ref_param(a.s, p), b.poly, b.k + ref_param(b.s, p), p));
            }
        }
    return out;
}

// The true ends of open polylines: crossings this close to them are not compared (the intersector does not
// decide crossings closer than span_fraction to an open end).
std::vector<V> open_ends(List& list) {
    std::vector<V> out;
    velPolylineListIter& it = list.iter;
    it.reset();
    while (++it) {
        const int n = it.num_pos();
        if (n < 2 || it.get_pos(0) == it.get_pos(n - 1)) continue;
        out.push_back({it.get_pos(0).x, it.get_pos(0).y});
        out.push_back({it.get_pos(n - 1).x, it.get_pos(n - 1).y});
    }
    return out;
}

// Every reference hit matched by exactly one hit of the intersector (same polylines, parameters within
// tol), and nothing else found.
void expect_same_hits(std::vector<Hit> found, std::vector<Hit> expected, const std::vector<V>& ends,
                      double tol = 1e-9) {
    auto near_end = [&](const Hit& h) {
        return std::any_of(ends.begin(), ends.end(),
                           [&](const V& e) { return std::hypot(h.p.x - e.x, h.p.y - e.y) < 1e-4; });
    };
    std::erase_if(found, near_end);
    std::erase_if(expected, near_end);
    EXPECT_EQ(found.size(), expected.size());
    std::vector<bool> used(found.size(), false);
    for (const Hit& e : expected) {
        bool matched = false;
        for (std::size_t i = 0; i < found.size() && !matched; ++i) {
            const Hit& f = found[i];
            if (used[i] || f.i1 != e.i1 || f.i2 != e.i2) continue;
            if (std::fabs(f.t1 - e.t1) <= tol && std::fabs(f.t2 - e.t2) <= tol) matched = used[i] = true;
        }
        EXPECT_TRUE(matched) << "missed " << e.i1 << ":" << e.t1 << " x " << e.i2 << ":" << e.t2 << " at ("
                             << e.p.x << ", " << e.p.y << ")";
    }
}

// n polylines of 2 to 15 points in [0, 100]^2, about half the spans arcs, about half closed.
void random_list(List& list, std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> coord(0, 100), bulge(-1.5, 1.5), unit(0, 1);
    std::uniform_int_distribution<int> count(2, 15);
    for (int i = 0; i < n; ++i) {
        std::vector<V> pts;
        std::vector<double> b;
        const int m = count(rng);
        for (int k = 0; k < m; ++k)
            pts.push_back({coord(rng), coord(rng)});
        if (m > 2 && unit(rng) < 0.5) pts.push_back(pts.front());
        for (std::size_t k = 0; k + 1 < pts.size(); ++k)
            b.push_back(unit(rng) < 0.5 ? bulge(rng) : 0.0);
        list.add(polyline(pts, b));
    }
}

// Dense random walks: short spans, arcs up to 250 degrees, many self-crossings, the second walk closed.
void random_walks(List& list, std::mt19937& rng) {
    std::uniform_real_distribution<double> turn(-2.0, 2.0), bulge(-2, 2), unit(0, 1);
    for (int w = 0; w < 3; ++w) {
        std::vector<V> pts{{unit(rng) * 10, unit(rng) * 10}};
        std::vector<double> b;
        double heading = unit(rng) * 6;
        for (int k = 0; k < 300; ++k) {
            heading += turn(rng);
            pts.push_back({pts.back().x + std::cos(heading), pts.back().y + std::sin(heading)});
            b.push_back(unit(rng) < 0.5 ? bulge(rng) : 0.0);
        }
        if (w == 1) {
            pts.push_back(pts.front());
            b.push_back(0.0);
        }
        list.add(polyline(pts, b));
    }
}

// Seeds 1 to 60 scattered lists, 61 to 80 dense walks: all crossings, those between the first k polylines
// and the rest, and the stored pairs mirrored.
class RandomLists : public ::testing::TestWithParam<int> {};

TEST_P(RandomLists, AgreeWithAllPairs) {
    std::mt19937 rng(static_cast<unsigned>(GetParam() <= 60 ? GetParam() : GetParam() - 60));
    List list;
    if (GetParam() <= 60)
        random_list(list, rng, 2 + GetParam() % 11);
    else
        random_walks(list, rng);
    velCrossingcoPageArr found;
    ASSERT_EQ(velListIntersector::all_crossings(list.iter, found), 0);
    expect_same_hits(hits_of(found), reference(list), open_ends(list));
    const int k = 1 + GetParam() % static_cast<int>(list.polylines.size() - 1);
    ASSERT_EQ(velListIntersector::crossings_between(list.iter, k, found), 0);
    expect_same_hits(hits_of(found), reference(list, k), open_ends(list));
    for (int i = 0; i < found.size(); ++i)
        EXPECT_LT(found.read(i).index1(), k);
    velCrossData data;
    ASSERT_EQ(velListIntersector::intersect(list.iter, data), 0);
    const velCrossingcoPageArr& c = data.crossings();
    ASSERT_EQ(c.size() % 2, 0);
    for (int i = 0; i < c.size(); i += 2)
        EXPECT_EQ(c.read(i + 1), c.read(i).mirrored());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomLists, ::testing::Range(1, 81));

// A node whose split line runs exactly through a crossing.
TEST(velIntersectorBSPNode, CrossingOnASplitLineIsAlternateOnOneSide) {
    List list;
    list.add(polyline({{1, 0.8}, {3, 1.8}, {2.6, 3.3}, {1, 0.8}}));
    list.add(polyline({{1, 1.8}, {3, 0.8}, {3.4, 3.1}, {1, 1.8}}));
    const int expected = static_cast<int>(reference(list).size());
    for (int alternates = 0; alternates < 2; ++alternates) {
        velCrossData data;
        data.set_store_crossing_pairs(0);
        data.set_store_alternate_crossings(alternates);
        data.set_intersections(1);
        data.set_closure_function(&velListIntersector::closed_by_coincident_ends, nullptr);
        auto view = std::make_shared<velTrimmedPolylineListIter>(list.iter);
        velIntersectorBSPNode root(view, giBox2({0, 0}, {4, 4}), &data);
        ASSERT_EQ(root.subdivision_centre().x, 2.0);
        int nodes = 0;
        root.destructive_subdivision(1000, nodes);
        int ordinary = 0, alternate = 0;
        for (int i = 0; i < data.crossings().size(); ++i) {
            const velCrossing& c = data.crossings().read(i);
            if (c.alternate() == 0) {
                ++ordinary;
            } else {
                ++alternate;
                EXPECT_NEAR(c.point().x, 2.0, 1e-12);
                EXPECT_NEAR(c.point().y, 1.3, 1e-12);
            }
        }
        EXPECT_EQ(ordinary, expected);
        EXPECT_EQ(alternate, alternates);
    }
}

// Edge cases and degenerate input (tests/data/intersect/degenerate): every run ends, counts where known.
TEST(velListIntersector, EdgeCasesAndDegenerateInputEnd) {
    for (const auto& row : table_rows("intersect/degenerate", "cases")) {
        ASSERT_EQ(row.size(), 3u);
        SCOPED_TRACE(row[0]);
        List list;
        for (auto& p : load_lines("intersect/degenerate", row[0]))
            list.add(std::move(p));
        velCrossData data;
        data.set_store_crossing_pairs(0);
        int nodes = 0;
        ASSERT_EQ(velListIntersector::intersect(list.iter, data, nullptr, &nodes), 0);
        EXPECT_LT(nodes, 200000);
        int self = 0;
        for (int i = 0; i < data.crossings().size(); ++i)
            self += data.crossings().read(i).index1() == data.crossings().read(i).index2();
        const int crossings = std::stoi(row[1]), self_crossings = std::stoi(row[2]);
        if (crossings >= 0) {
            EXPECT_EQ(data.crossings().size(), crossings);
        }
        if (self_crossings >= 0) {
            EXPECT_EQ(self, self_crossings);
        }
    }
}

// The depth-first phase destroys finished subtrees.
TEST(velIntersectorBSPNode, DepthFirstPhaseKeepsMemoryBounded) {
    // A random walk of short steps, so that crossings stay few per span.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> turn(-2.5, 2.5), bulge(-1, 1);
    std::vector<V> pts{{0, 0}};
    std::vector<double> b;
    double heading = 0;
    for (int k = 0; k < 80000; ++k) {
        heading += turn(rng);
        pts.push_back({pts.back().x + std::cos(heading), pts.back().y + std::sin(heading)});
        b.push_back(k % 2 ? bulge(rng) : 0.0);
    }
    List list;
    list.add(polyline(pts, b));
    velCrossData data;
    int nodes = 0;
    velIntersectorBSPNode::reset_peak_live_nodes();
    const int before = velIntersectorBSPNode::live_nodes();
    velListIntersector::intersect(list.iter, data, nullptr, &nodes);
    const int peak = velIntersectorBSPNode::peak_live_nodes() - before;
    EXPECT_GT(nodes, 5 * velIntersectorBSPNode::max_breadth_first_nodes);
    EXPECT_LT(peak, 2 * velIntersectorBSPNode::max_breadth_first_nodes + 400) << "made " << nodes;
    EXPECT_EQ(velIntersectorBSPNode::live_nodes(), before);
}

// A progress break that asks to stop makes the run return 1 with part of the crossings.
TEST(velListIntersector, ProgressBreakStopsTheRun) {
    struct StopAfter : velProgressBreak {
        int left;
        explicit StopAfter(int n) : left(n) {}
        bool on_progress(int, int) override { return --left < 0; }
    };
    std::mt19937 rng(21);
    List list;
    random_list(list, rng, 12);
    velCrossData all, part;
    ASSERT_EQ(velListIntersector::intersect(list.iter, all), 0);
    StopAfter stop(3);
    EXPECT_EQ(velListIntersector::intersect(list.iter, part, &stop), 1);
    EXPECT_LT(part.crossings().size(), all.crossings().size());
}

TEST(velIntersectorBSPNode, TextDump) {
    List list;
    list.add(polyline({{0, 0}, {4, 0}, {4, 4}, {0, 0}}));
    velCrossData data;
    velIntersectorBSPNode root(list.iter, &data);
    std::ostringstream os;
    os << root;
    EXPECT_EQ(os.str().rfind("velIntersectorBSPNode {\nlimits ", 0), 0u) << os.str();
    EXPECT_NE(os.str().find("polyline 0 from 0 to 3 whole"), std::string::npos) << os.str();
    List none;
    velIntersectorBSPNode empty(none.iter, &data);
    std::ostringstream es;
    es << empty;
    EXPECT_NE(es.str().find("no polyline"), std::string::npos) << es.str();
}

} // namespace

TEST(velListIntersector, BenchmarkSegmentsHaveTheirKnownCrossings) {
    const std::filesystem::path file = std::filesystem::path(ARCLINE_BENCH_DATA_DIR) / "segments_20k.txt";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " not found";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    ASSERT_TRUE(velGeometryIO::read(file.string().c_str(), polylines));
    velAbsPolyArcLineListIter it(polylines);
    velCrossingcoPageArr found;
    velListIntersector::all_crossings(it, found);
    EXPECT_EQ(found.size(), 52848);
}

} // namespace velListIntersector_test
