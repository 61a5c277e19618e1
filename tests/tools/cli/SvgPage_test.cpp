#include "tools/cli/SvgPage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using arcline::cli::SvgPage;

TEST(SvgPage, RoundLengthsAreOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_EQ(SvgPage::round_length(7.3), 5.0);
    EXPECT_EQ(SvgPage::round_length(100.0), 100.0);
    EXPECT_EQ(SvgPage::round_length(99.99), 50.0);
    EXPECT_EQ(SvgPage::round_length(0.42), 0.2);
    EXPECT_EQ(SvgPage::round_length(2e-7), 2e-7);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> exponent(-12.0, 12.0);
    for (int k = 0; k < 1000; ++k) {
        const double v = std::pow(10.0, exponent(rng));
        const double r = SvgPage::round_length(v);
        EXPECT_LE(r, v * (1 + 1e-12));
        EXPECT_GT(r, v / 2.5 * (1 - 1e-12)); // the next round length would exceed v
        const double mantissa = r / std::pow(10.0, std::floor(std::log10(r) + 1e-9));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << r;
    }
}

// Whatever the box, the page shows it whole, inside the margin, above the band, unscaled in shape, y up.
TEST(SvgPage, FitsTheModelInsideTheMargin) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double size = 600, margin = 30, band = 50;
    for (int k = 0; k < 500; ++k) {
        // Boxes of any size and shape (some of no width), up to a hundred of their sizes off the origin.
        const double scale = std::pow(10.0, 6 * u(rng));
        const double x0 = 100 * scale * u(rng), y0 = 100 * scale * u(rng);
        const double w = k % 5 == 0 ? 0.0 : scale * (0.01 + std::abs(u(rng))),
                     h = scale * (0.01 + std::abs(u(rng)));
        const SvgPage page(giBox2({x0, y0}, {x0 + w, y0 + h}), size, margin, band);
        const double tol = 1e-9 * size;
        EXPECT_NEAR(std::max(page.x(x0 + w) - page.x(x0), page.y(y0) - page.y(y0 + h)), size, tol);
        EXPECT_NEAR((page.x(x0 + w) - page.x(x0)) * h, (page.y(y0) - page.y(y0 + h)) * w, tol * scale);
        EXPECT_GE(page.x(x0), margin - tol);
        EXPECT_LE(page.x(x0 + w), page.width() - margin + tol);
        EXPECT_NEAR(page.y(y0 + h), margin, tol);
        EXPECT_NEAR(page.y(y0), page.band_top(), tol);
        EXPECT_NEAR(page.x(x0) - margin, page.width() - margin - page.x(x0 + w), tol); // centred
        EXPECT_GE(page.width(), 0.5 * size + 2 * margin);
        EXPECT_LE(page.scale_bar_length() * page.scale(), 0.25 * size * (1 + 1e-12));
        EXPECT_GT(page.scale_bar_length() * page.scale(), 0.1 * size);
    }
    // One point, or nothing: a square of unit extent around it.
    const SvgPage point(giBox2({3, 4}, {3, 4}), size, margin, band);
    EXPECT_EQ(point.scale(), size / SvgPage::unit_extent);
    EXPECT_NEAR(point.x(3), 0.5 * point.width(), 1e-9);
    EXPECT_NEAR(point.y(4), margin + 0.5 * size, 1e-9);
    EXPECT_EQ(SvgPage(giBox2(), size, margin, band).scale(), size);
}
