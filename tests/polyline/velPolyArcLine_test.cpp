#include "arcline/polyline/velPolyArcLine.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>

namespace velPolyArcLine_test {

namespace {

using polytest::mid;
using polytest::pos;

TEST(velPolyArcLine, ArchiveImage) {
    velPolyArcLine line;
    line.add_pos({1, 2, 3});
    line.add_arc({2, 3.5, 3}, {3, 2, 3});
    line.add_pos({-4.25, 0, 1e6});
    std::string expected;
    polytest::put_ints(expected, {1, 1, 3});
    polytest::put_floats(expected, {1, 2, 3, 2, 3.5, 3, 3, 2, 3});
    polytest::put_floats(expected, {-FLT_MAX, 0, 0}); // the straight span's marker
    polytest::put_floats(expected, {-4.25, 0, 1e6});
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);

    velPolyArcLine loaded;
    loaded.add_pos({9, 9, 9}); // replaced by what is loaded
    polytest::load_bytes(loaded, bytes);
    EXPECT_TRUE(loaded == line);
    EXPECT_EQ(mid(loaded, 2).x, -DBL_MAX);
}

TEST(velPolyArcLine, ArcOnEmptyLineIsIgnoredSilently) {
    polytest::ReportCapture reports;
    velPolyArcLine line;
    line.add_arc({1, 1, 0}, {2, 0, 0});
    velPolyArcLineDouble exact;
    exact.add_arc({1, 1, 0}, {2, 0, 0});
    EXPECT_EQ(line.num_pos() + exact.num_pos(), 0);
    EXPECT_TRUE(polytest::ReportCapture::log.empty());
}

TEST(velPolyArcLine, PagesGrowToAThousandAndTwentyFour) {
    velPolyArcLine line;
    // After n positions (2n - 1 triples) the pages fit 2n - 1 triples: factor max(2, ceil(log2(2n - 1))).
    const int factor_after[][2] = {{2, 2}, {3, 3}, {5, 4}, {9, 5}, {257, 10}, {700, 10}};
    for (int n = 0; const auto& [count, k] : factor_after) {
        for (; n < count; ++n)
            line.add_pos({static_cast<double>(n), 0.5, 0});
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    EXPECT_EQ(velPolyArcLine(3).page_factor(), 3); // room for 2 * 3 + 1 triples

    // A loaded line is sized by its count.
    velPolyArcLine loaded;
    polytest::load_bytes(loaded, polytest::stored_bytes(line));
    EXPECT_EQ(loaded.page_factor(), 10);
    line.reset();
    line.reserve(100);
    EXPECT_EQ(line.page_factor(), 8); // 201 triples
}

// The double line does not store itself: it reports, writes nothing and reads nothing.
TEST(velPolyArcLineDouble, SerializeIsRefused) {
    polytest::ReportCapture reports;
    velPolyArcLineDouble line;
    line.add_pos({1, 2, 3});
    EXPECT_EQ(polytest::stored_bytes(line), "");
    velPolyArcLine single;
    single.add_pos({4, 5, 6});
    std::stringstream ss(polytest::stored_bytes(single));
    {
        CArchive ar(ss, CArchive::load);
        line.Serialize(ar);
    }
    EXPECT_EQ(ss.tellg(), 0);
    EXPECT_EQ(pos(line, 1), giPoint3(1, 2, 3));
    const auto& log = polytest::ReportCapture::log;
    ASSERT_EQ(log.size(), 2u);
    for (const auto& [message, function] : log)
        EXPECT_EQ(message, "velPolyArcLineDouble::Serialize() - not implemented");
}

} // namespace

TEST(velPolyArcLineArchive, ShortRecordThrowsAndLeavesAnEmptyLine) {
    velPolyArcLine line;
    line.add_pos(giPoint3(0.0, 0.0, 0.0));
    line.add_pos(giPoint3(1.0, 0.0, 0.0));
    std::stringstream ss;
    {
        CArchive ar(ss, CArchive::store);
        line.Serialize(ar);
        ar.Close();
    }
    const std::string whole = ss.str();
    std::stringstream cut(whole.substr(0, whole.size() - 4));
    velPolyArcLine loaded;
    CArchive ar(cut, CArchive::load);
    try {
        loaded.Serialize(ar);
        FAIL() << "a short record loaded";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(loaded.num_pos(), 0);
}

} // namespace velPolyArcLine_test
