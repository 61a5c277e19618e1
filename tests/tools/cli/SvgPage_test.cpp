#include "tools/cli/SvgPage.h"

#include <gtest/gtest.h>

using arcline::cli::SvgPage;

// Scale bars are one, two or five times a power of ten; a page of one point, or of nothing, shows a square
// of unit extent around it.
TEST(SvgPage, RoundLengthsAndPagesOfOnePoint) {
    EXPECT_EQ(SvgPage::round_length(7.3), 5.0);
    EXPECT_EQ(SvgPage::round_length(100.0), 100.0);
    EXPECT_EQ(SvgPage::round_length(99.99), 50.0);
    EXPECT_EQ(SvgPage::round_length(0.42), 0.2);
    EXPECT_EQ(SvgPage::round_length(2e-7), 2e-7);
    const double size = 600, margin = 30, band = 50;
    const SvgPage point(giBox2({3, 4}, {3, 4}), size, margin, band);
    EXPECT_EQ(point.scale(), size / SvgPage::unit_extent);
    EXPECT_NEAR(point.x(3), 0.5 * point.width(), 1e-9);
    EXPECT_NEAR(point.y(4), margin + 0.5 * size, 1e-9);
    EXPECT_EQ(SvgPage(giBox2(), size, margin, band).scale(), size);
}
