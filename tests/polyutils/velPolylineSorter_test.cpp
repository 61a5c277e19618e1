// The polyline sorter: hand cases as data, unions of disks by Green's formula, its parts.

#include "sorterTestKit.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/platform/velProgressBreak.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace velPolylineSorter_test {

using namespace sortertest;

Outcome sorted(const Polylines& in, int mode = 1) {
    List l;
    fill(l, in);
    velAbsPolyArcLineListCursor out;
    velPolylineSorter sorter;
    sorter.set_visible_mode(mode);
    const int code = sorter.sort(l.iter, out);
    return describe(out.iterator(), code);
}

// Hand cases as data (tests/data/polyutils/sorter: NAME.txt and its row in `cases`): loops, area and
// orientation.
class Classic : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(Classic, LoopsAreaAndOrientation) {
    const std::vector<std::string>& row = GetParam();
    ASSERT_EQ(row.size(), 5u);
    const double area = std::stod(row[3]);
    const Outcome r = sorted(load_lines("polyutils/sorter", row[0]), std::stoi(row[1]));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.loops, std::stoi(row[2]));
    EXPECT_NEAR(r.area, area, 1e-9 * std::max(1.0, std::fabs(area)));
    EXPECT_EQ(r.holes, std::stoi(row[4]));
    EXPECT_EQ(r.open + r.crossings + r.misoriented, 0);
}

INSTANTIATE_TEST_SUITE_P(Sorter, Classic, ::testing::ValuesIn(table_rows("polyutils/sorter", "cases")),
                         [](const auto& info) { return info.param[0]; });

const double pi = std::numbers::pi;

// --- Random unions of circles against the exact area of a union of disks

struct Disk {
    double x, y, r;
};

// The union's area by Green's formula over the arcs of each circle that no other disk covers.
double union_area(const std::vector<Disk>& disks) {
    double area = 0.0;
    for (std::size_t i = 0; i < disks.size(); ++i) {
        const Disk& a = disks[i];
        std::vector<std::pair<double, double>> covered;
        bool inside = false;
        for (std::size_t j = 0; j < disks.size() && !inside; ++j) {
            if (i == j) continue;
            const Disk& b = disks[j];
            const double d = std::hypot(b.x - a.x, b.y - a.y);
            if (d >= a.r + b.r) continue;
            if (d + a.r <= b.r) {
                inside = true;
                continue;
            }
            if (d + b.r <= a.r) continue;
            const double phi = std::atan2(b.y - a.y, b.x - a.x);
            const double alpha = std::acos((a.r * a.r + d * d - b.r * b.r) / (2 * a.r * d));
            double lo = std::remainder(phi - alpha, 2 * pi);
            if (lo < 0) lo += 2 * pi;
            const double hi = lo + 2 * alpha;
            covered.emplace_back(lo, std::min(hi, 2 * pi));
            if (hi > 2 * pi) covered.emplace_back(0.0, hi - 2 * pi);
        }
        if (inside) continue;
        std::sort(covered.begin(), covered.end());
        auto arc = [&](double t0, double t1) {
            area += 0.5 * (a.r * a.r * (t1 - t0) +
                           a.r * (a.x * (std::sin(t1) - std::sin(t0)) - a.y * (std::cos(t1) - std::cos(t0))));
        };
        double at = 0.0;
        for (const auto& [lo, hi] : covered) {
            if (lo > at) arc(at, lo);
            at = std::max(at, hi);
        }
        if (at < 2 * pi) arc(at, 2 * pi);
    }
    return area;
}

class CircleUnions : public ::testing::TestWithParam<int> {};

TEST_P(CircleUnions, AreaMatchesTheDiskUnionOnEveryMorph) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    std::uniform_real_distribution<double> pos(0.0, 10.0), rad(0.5, 3.0);
    std::uniform_int_distribution<int> count(2, 14);
    std::vector<Disk> disks(static_cast<std::size_t>(count(rng)));
    Polylines in;
    for (Disk& d : disks) {
        d = {pos(rng), pos(rng), rad(rng)};
        in.push_back(circle(d.x, d.y, d.r));
    }
    const double want = union_area(disks);
    for (const support::Morph& m : support::all_morphs) {
        if (m.flips_orientation()) continue; // the winding rule keeps anticlockwise material only
        SCOPED_TRACE("morph " + m.name());
        const Outcome r = sorted(m.polylines(in));
        const double scale = m.length_factor() * m.length_factor();
        EXPECT_EQ(r.code, 0);
        EXPECT_NEAR(r.area, want * scale, 1e-9 * want * scale);
        EXPECT_EQ(r.open + r.crossings + r.misoriented, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, CircleUnions, ::testing::Range(1, 31));

// --- Split, orient, nesting

// Splitting at self-crossings, orienting by depth, the nesting tree and crossings between two lists.
TEST(SorterParts, SplitOrientNestingAndCrossings) {
    velPolylineSorter sorter;
    List eight;
    eight.add(polyline({{0, 0}, {2, 2}, {2, 0}, {0, 2}, {0, 0}}));
    velAbsPolyArcLineListCursor lobes;
    ASSERT_EQ(sorter.split(eight.iter, lobes), 0);
    std::vector<double> areas;
    for (lobes.iterator().reset(); ++lobes.iterator();)
        areas.push_back(velPolylineUtils::area(lobes.iterator()));
    std::sort(areas.begin(), areas.end());
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_NEAR(areas[0], -1.0, 1e-12);
    EXPECT_NEAR(areas[1], 1.0, 1e-12);

    List l; // all clockwise: 1 and 3 in 0, 2 in 1, 4 alone
    for (const auto& [x0, y0, x1, y1] : std::vector<std::array<double, 4>>{
             {0, 0, 10, 10}, {1, 1, 4, 4}, {2, 2, 3, 3}, {6, 6, 9, 9}, {20, 0, 21, 1}})
        l.add(rect(x0, y0, x1, y1, false));
    intNaryTree tree;
    sorter.nesting_tree(l.iter, 0, tree);
    EXPECT_EQ(parents(tree, 5), (std::vector<int>{-1, 0, 1, 0, -1}));
    std::vector<int> reverse;
    ASSERT_EQ(sorter.orient(l.iter, nullptr, &reverse), 0);
    EXPECT_EQ(reverse, (std::vector<int>{1, 0, 1, 0, 1})); // anticlockwise at even depths

    List a, b;
    a.add(rect(-1, -1, 1, 1));
    a.add(rect(0, 0, 2, 2));
    b.add(rect(5, 5, 6, 6));
    b.add(rect(1.5, 0.5, 3, 1.0));
    velCrossingcoPageArr out;
    sorter.intersect(a.iter, b.iter, out);
    ASSERT_EQ(out.size(), 2);
    for (int i = 0; i < out.size(); ++i) { // b[1] crosses a[1]'s edge x = 2 twice
        EXPECT_EQ(out.read(i).index1(), 1);
        EXPECT_EQ(out.read(i).index2(), 1);
        EXPECT_NEAR(out.read(i).point().x, 2.0, 1e-12);
    }
    EXPECT_EQ(sorter.any_intersections(a.iter), 1);
}

// --- Interruption and debug output

class StopAt : public velProgressBreak {
public:
    explicit StopAt(int step) : m_step(step) {}

protected:
    bool on_progress(int done, int) override { return done >= m_step; }

private:
    int m_step;
};

TEST(SortProgress, SixStepsAndAStopLeavesNothing) {
    List l;
    l.add(rect(0, 0, 2, 2));
    l.add(rect(1, 1, 3, 3));
    velPolylineSorter sorter;
    StopAt never(100);
    sorter.set_progress_break(&never);
    velAbsPolyArcLineListCursor out;
    ASSERT_EQ(sorter.sort(l.iter, out), 0);
    EXPECT_EQ(never.range(), 6);
    EXPECT_EQ(never.done(), 6);
    EXPECT_EQ(out.size(), 1);
    for (int step = 1; step <= 5; ++step) {
        StopAt stop(step);
        sorter.set_progress_break(&stop);
        velAbsPolyArcLineListCursor cut;
        EXPECT_EQ(sorter.sort(l.iter, cut), 1) << "stopped at step " << step;
        EXPECT_EQ(cut.size(), 0);
    }
}

std::vector<std::string> labels_seen;
void remember(void*, const velPolylineListIter*, utString label) {
    labels_seen.emplace_back(label.c_str());
}

TEST(SortDebug, StagesReachTheChannelByName) {
    labels_seen.clear();
    const auto previous = velDebugGeometry::get_output_function();
    velDebugGeometry::set_output_function(&remember, nullptr);
    velDebugGeometry& channel = velDebugGeometry::get_from_manager("arclinesorter");
    const int level = channel.level();
    channel.set_level(2);
    List l;
    l.add(rect(0, 0, 2, 2));
    l.add(rect(1, 1, 3, 3));
    velAbsPolyArcLineListCursor out;
    velPolylineSorter().sort(l.iter, out);
    channel.set_level(level);
    velDebugGeometry::set_output_function(previous, nullptr);
    for (const char* name : {"unsorted", "after_visility_test1", "after_visility_test2", "sorted"})
        EXPECT_TRUE(std::any_of(labels_seen.begin(), labels_seen.end(), [&](const std::string& l) {
            return l.ends_with(name);
        })) << name;
}

// Far from the origin the coordinates' own products swamp a small area.
TEST(FarFromTheOrigin, SmallSquaresKeepTheirArea) {
    for (const double o : {1e6, 1e8, 1e9}) {
        for (const double at : {0.0, 0.25, 0.375}) {
            const Outcome r = sorted(of(rect(o + at, o + at, o + at + 0.5, o + at + 0.5)));
            EXPECT_EQ(r.loops, 1) << o << " + " << at;
            EXPECT_NEAR(r.area, 0.25, 1e-6) << o << " + " << at;
        }
        const Outcome r = sorted(of(rect(o + 0.25, o + 0.25, o + 0.75, o + 0.75),
                                    rect(o + 0.375, o + 0.375, o + 0.5, o + 0.5, false)));
        EXPECT_EQ(r.loops, 2) << o;
        EXPECT_NEAR(r.area, 0.25 - 0.015625, 1e-6) << o;
    }
}

} // namespace velPolylineSorter_test
