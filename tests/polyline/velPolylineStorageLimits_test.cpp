// The storage classes far outside their positions and when empty: an index far out of range (a caller's
// bug, such as a parameter of NaN or of an overflowed length cast to int) reads an empty element and never
// overflows the index arithmetic; an empty line costs a few tens of bytes.

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineConstZ.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyline/velPolyLine.h"
#include "arcline/polyline/velPolyLineDouble.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <malloc.h>
#include <memory>
#include <vector>

namespace velPolylineStorageLimits_test {

namespace {

std::vector<std::unique_ptr<velAbsPolyArcLine>> every_storage_class() {
    std::vector<std::unique_ptr<velAbsPolyArcLine>> out;
    out.push_back(std::make_unique<velPolyArcLine>());
    out.push_back(std::make_unique<velPolyArcLineDouble>());
    out.push_back(std::make_unique<velPolyArcLineConstZ>());
    out.push_back(std::make_unique<velPolyLine>());
    out.push_back(std::make_unique<velPolyLineDouble>());
    return out;
}

} // namespace

TEST(velPolylineStorageLimits, IndicesFarOutOfRangeReadEmpty) {
    for (const auto& line : every_storage_class()) {
        SCOPED_TRACE(line->GetRuntimeClass()->m_lpszClassName);
        line->add_pos({1, 2, 0});
        line->add_pos({3, 2, 0});
        line->add_pos({3, 5, 0});
        // What a slot never written reads: position 1 of an empty line of the same class.
        const std::unique_ptr<velAbsPolyArcLine> fresh(line->create_empty());
        giPoint3 empty;
        fresh->get_pos(1, empty);
        for (const int i : {INT_MIN, -5, 0, 4, (1 << 30) + 1, INT_MAX - 1, INT_MAX}) {
            giPoint3 p(7, 7, 7), m;
            line->get_pos(i, p);
            EXPECT_EQ(p.x, empty.x) << i;
            EXPECT_EQ(p.y, empty.y) << i;
            line->get_mid_pos(i, m);
            (void)line->span_linear(i);
        }
        giPoint3 p;
        line->get_pos(3, p);
        EXPECT_EQ(p, giPoint3(3, 5, 0)); // the positions themselves are untouched
    }
}

// Parameters outside the polyline, NaN included, are held to its ends.
TEST(velPolylineStorageLimits, InterpolationHoldsParametersToTheEnds) {
    velPolyArcLineDouble line;
    line.add_pos({1e308, 1e308, 0});
    line.add_pos({-1e308, 1e308, 0});
    line.add_pos({-1e308, -1e308, 0});
    velSingleAbsArcLineListIter it(line);
    it.reset();
    ASSERT_TRUE(++it);
    EXPECT_EQ(it.get_interpolated_pos(std::nan("")), giPoint3(1e308, 1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(-1e300), giPoint3(1e308, 1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(1e300), giPoint3(-1e308, -1e308, 0));
    EXPECT_EQ(it.get_interpolated_pos(INFINITY), giPoint3(-1e308, -1e308, 0));
    velPolyArcLineDouble empty;
    velSingleAbsArcLineListIter none(empty);
    none.reset();
    ++none;
    EXPECT_EQ(none.get_interpolated_pos(0.5), giPoint3());
}

// Two million empty polylines once took 600 MB: the caches and the storage array of a line are made when
// first needed, so an empty line is the object alone.
TEST(velPolylineStorageLimits, EmptyLinesAreSmall) {
    EXPECT_LE(sizeof(velPolyArcLineDouble), 64u);
    EXPECT_LE(sizeof(velPolyArcLine), 64u);
    EXPECT_LE(sizeof(velPolyLine), 64u);
    constexpr int n = 20000;
    std::vector<std::shared_ptr<velAbsPolyArcLine>> lines;
    lines.reserve(n);
    const std::size_t before = mallinfo2().uordblks;
    for (int k = 0; k < n; ++k)
        lines.push_back(std::make_shared<velPolyArcLineDouble>());
    const std::size_t after = mallinfo2().uordblks;
    if (after == before) GTEST_SKIP() << "the allocator does not report its use (a sanitizer build)";
    EXPECT_LT(static_cast<double>(after - before) / n, 100.0);
    // Still lines: they answer queries and take positions.
    EXPECT_EQ(lines[0]->length(), 0.0);
    EXPECT_TRUE(lines[1]->box().empty());
    lines[2]->add_pos({1, 2, 3});
    EXPECT_EQ(lines[2]->num_pos(), 1);
    EXPECT_FALSE(lines[2]->box().empty());
}

} // namespace velPolylineStorageLimits_test
