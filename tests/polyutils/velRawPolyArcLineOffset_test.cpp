// The raw offset made on values against the same offset made on span objects, span for span.

#include "arcline/polyutils/velRawPolyArcLineOffset.h"

#include "offsetTestKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velRawPolyArcLineOffset_test {

using namespace offsettest;

namespace {

// r(t) = 30 + 4 cos(5t + 0.3) + 2 cos(11t + 1.1) + cos(23t + 2.3) (curvature radii down to about 1), with n
// (even) spans, anticlockwise: each arc starts along the line before it.
Line wavy(int n) {
    auto at = [n](int i) {
        const double t = 2.0 * pi * i / n;
        const double r = 30 + 4 * std::cos(5 * t + 0.3) + 2 * std::cos(11 * t + 1.1) + std::cos(23 * t + 2.3);
        return giPoint3(r * std::cos(t), r * std::sin(t), 0.0);
    };
    Line line = std::make_unique<velPolyArcLineDouble>();
    line->add_pos(at(0));
    giVector3 before = at(0) - at(n - 1); // the last line's direction
    for (int i = 0; i < n; i += 2) {
        const giPoint3 s = at(i), e = at(i + 1), next = at((i + 2) % n);
        const giVector3 c = e - s;
        // The arc leaves along `before`: its chord lies half its sweep, 2 atan(b), from that direction.
        const double phi =
            std::atan2(before.x() * c.y() - before.y() * c.x(), before.x() * c.x() + before.y() * c.y());
        const double b = std::tan(phi / 2.0);
        const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
        double m[2];
        velCirbul::cbbump(p0, p1, b, m);
        line->add_arc({m[0], m[1], 0.0}, e);
        line->add_pos(next);
        before = next - e;
    }
    return line;
}

Options extend_of(int extend) {
    Options o;
    o.extend = extend;
    return o;
}

class WavyOutline : public ::testing::TestWithParam<double> {};

TEST_P(WavyOutline, ValuesAgreeWithSpanObjects) {
    const double d = GetParam();
    const Line line = wavy(2000);
    int temps = 0;
    for (const int extend : {0, 1}) {
        SCOPED_TRACE(extend);
        temps += expect_paths_agree(*line, d, extend_of(extend), 1e-9);
    }
    // Offsets inward past the tightest bends (radius about 1) form loops: temporary spans close them.
    if (std::fabs(d) >= 1.5) {
        EXPECT_GT(temps, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(RawOffset, WavyOutline, ::testing::Values(-4.0, -1.5, -0.3, 0.3, 1.5, 4.0),
                         [](const auto& info) {
                             const double d = info.param;
                             return std::string(d < 0 ? "minus_" : "plus_") +
                                    std::to_string(static_cast<int>(std::fabs(d) * 10));
                         });

// The benchmark's outline itself (skipped without it): sharp corners extended far agree to rounding.
TEST(RawOffsetBlob, ValuesAgreeWithSpanObjects) {
    const std::string path = ARCLINE_BENCH_DATA_DIR "/blob_10k.txt";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " not found";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    ASSERT_TRUE(velGeometryIO::read(path.c_str(), list));
    ASSERT_FALSE(list.empty());
    for (const double d : {2.0, -2.0})
        for (const int extend : {0, 1})
            EXPECT_GT(expect_paths_agree(**list.begin(), d, extend_of(extend), extend ? 1e-8 : 1e-9), 0);
}

} // namespace

} // namespace velRawPolyArcLineOffset_test
