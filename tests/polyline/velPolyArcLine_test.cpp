#include "arcline/polyline/velPolyArcLine.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include "polylineTestKit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>

namespace {

using polytest::mid;
using polytest::pos;

TEST(velPolyArcLine, ArchiveImage) {
    const giPoint3 A(1, 2, 3), M(2, 3.5, 3), B(3, 2, 3), C(-4.25, 0, 1e6);
    velPolyArcLine line;
    line.add_pos(A);
    line.add_arc(M, B);
    line.add_pos(C);
    ASSERT_EQ(line.num_pos(), 3);
    EXPECT_EQ(line.span_linear(1), 0);
    EXPECT_EQ(line.span_linear(2), 1);
    EXPECT_EQ(mid(line, 1), M);

    std::string expected;
    for (int word : {1, 1, 3})
        polytest::put_int(expected, word);
    polytest::put_point(expected, 1, 2, 3);
    polytest::put_point(expected, 2, 3.5f, 3);
    polytest::put_point(expected, 3, 2, 3);
    polytest::put_point(expected, -FLT_MAX, 0, 0); // the straight span's marker
    polytest::put_point(expected, -4.25f, 0, 1e6f);
    const std::string bytes = polytest::stored_bytes(line);
    EXPECT_EQ(bytes, expected);

    velPolyArcLine loaded;
    loaded.add_pos({9, 9, 9}); // replaced by what is loaded
    polytest::load_bytes(loaded, bytes);
    EXPECT_TRUE(loaded == line);
    EXPECT_EQ(mid(loaded, 2).x, -DBL_MAX);
    EXPECT_EQ(polytest::stored_bytes(loaded), expected);
}

TEST(velPolyArcLine, SinglePrecisionStorage) {
    velPolyArcLine line;
    line.add_pos({1.1, -1.1, 0.1});
    line.add_arc({1.1, 0, 0}, {3, 3, 3});
    EXPECT_EQ(pos(line, 1).x, 1.100000023841858);
    EXPECT_EQ(pos(line, 1), polytest::single({1.1, -1.1, 0.1}));
    EXPECT_EQ(mid(line, 1).x, 1.100000023841858);
    velPolyArcLineDouble exact;
    exact.add_pos({1.1, -1.1, 0.1});
    EXPECT_EQ(pos(exact, 1).x, 1.1);
}

TEST(velPolyArcLine, ArcOnEmptyLineIsIgnoredSilently) {
    polytest::ReportCapture reports;
    velPolyArcLine line;
    line.add_arc({1, 1, 0}, {2, 0, 0});
    velPolyArcLineDouble exact;
    exact.add_arc({1, 1, 0}, {2, 0, 0});
    EXPECT_EQ(line.num_pos() + exact.num_pos(), 0);
    EXPECT_TRUE(polytest::ReportCapture::log().empty());
}

TEST(velPolyArcLine, PagesGrowToAThousandAndTwentyFour) {
    velPolyArcLine line;
    EXPECT_EQ(line.page_factor(), 2);
    // After n positions (2n - 1 triples) the pages fit 2n - 1 triples: factor max(2, ceil(log2(2n - 1))).
    const int factor_after[][2] = {{1, 2}, {2, 2}, {3, 3}, {4, 3}, {5, 4}, {9, 5}, {257, 10}, {700, 10}};
    int n = 0;
    for (const auto& [count, k] : factor_after) {
        while (n < count)
            line.add_pos({static_cast<double>(n++), 0.5, 0});
        EXPECT_EQ(line.page_factor(), k) << count;
    }
    for (int i = 1; i <= 700; ++i)
        ASSERT_EQ(pos(line, i), giPoint3(i - 1, 0.5, 0));

    EXPECT_EQ(velPolyArcLine(700).page_factor(), 10);
    EXPECT_EQ(velPolyArcLine(3).page_factor(), 3); // room for 2 * 3 + 1 triples
    std::unique_ptr<velAbsPolyArcLine> copy(line.create_new());
    EXPECT_EQ(static_cast<velPolyArcLine&>(*copy).page_factor(), 10);
    line.reset();
    EXPECT_EQ(line.page_factor(), 2);
    EXPECT_EQ(line.reserve(100), 1);
    EXPECT_EQ(line.page_factor(), 8); // 201 triples
    EXPECT_EQ(line.num_pos(), 0);
    line.add_pos({1, 2, 3});
    EXPECT_EQ(pos(line, 1), giPoint3(1, 2, 3));

    // A loaded line is sized by its count and grows on from there.
    velPolyArcLine loaded;
    polytest::load_bytes(loaded, polytest::stored_bytes(*copy));
    EXPECT_EQ(loaded.page_factor(), 10);
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
    EXPECT_EQ(line.num_pos(), 1);
    EXPECT_EQ(pos(line, 1), giPoint3(1, 2, 3));
    const auto& log = polytest::ReportCapture::log();
    ASSERT_EQ(log.size(), 2u);
    for (const auto& r : log) {
        EXPECT_EQ(r.message, "velPolyArcLineDouble::Serialize() - not implemented");
        EXPECT_EQ(r.expression, "utFALSE");
        EXPECT_FALSE(r.file.empty());
        EXPECT_GT(r.line, 0);
    }
}

} // namespace
