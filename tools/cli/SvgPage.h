#pragma once
// The page of an SVG picture and the map from model XY onto it: one uniform scale, y flipped (SVG's y axis
// points down, the model's up), the model's box centred in the drawing area inside a margin, and a band
// below the drawing for the scale bar and the legend.

#include "arcline/platform/giBox2.h"

namespace arcline::cli {

class SvgPage {
public:
    // Fits `model` so that its longer side is `size` page units long. A box of no extent (one point, or
    // empty: taken as the origin) is shown as a square of side `unit_extent` around it. The drawing area is
    // at least half of `size` wide, so that a thin vertical part leaves room for the scale bar.
    SvgPage(const giBox2& model, double size, double margin, double band);

    double width() const { return m_width; }
    double height() const { return m_height; }
    double margin() const { return m_margin; }
    // Page units per model unit.
    double scale() const { return m_scale; }
    // Scaled before the difference, so that model coordinates near the largest double map finitely.
    double x(double model_x) const { return m_x0 + (model_x * m_scale - m_min_x * m_scale); }
    double y(double model_y) const { return m_y0 + (m_max_y * m_scale - model_y * m_scale); }
    // Top of the band under the drawing.
    double band_top() const { return m_height - m_margin - m_band; }

    // The scale bar's length in model units: a round length (see round_length) of at most a quarter of the
    // fitted size.
    double scale_bar_length() const { return round_length(m_size / (4.0 * m_scale)); }
    // The largest of 1, 2 or 5 times a power of ten that is at most `at_most` (> 0).
    static double round_length(double at_most);

    // The extent given to a model without one.
    static constexpr double unit_extent = 1.0;

private:
    double m_size, m_margin, m_band;
    double m_scale = 1.0;
    double m_min_x = 0.0, m_max_y = 0.0; // model corner mapped to (m_x0, m_y0)
    double m_x0 = 0.0, m_y0 = 0.0;
    double m_width = 0.0, m_height = 0.0;
};

} // namespace arcline::cli
