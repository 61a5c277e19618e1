#include "tools/cli/SvgPage.h"

#include <algorithm>
#include <cmath>

namespace arcline::cli {

SvgPage::SvgPage(const giBox2& model, double size, double margin, double band)
    : m_size(size), m_margin(margin), m_band(band) {
    giBox2 box = model;
    if (box.empty()) box = giBox2(giPoint2(0.0, 0.0), giPoint2(0.0, 0.0));
    // Halves and centres by halves: a box from -1e308 to 1e308 has a width past the largest double.
    double hw = 0.5 * box.max().x - 0.5 * box.min().x;
    double hh = 0.5 * box.max().y - 0.5 * box.min().y;
    const double cx = 0.5 * box.min().x + 0.5 * box.max().x, cy = 0.5 * box.min().y + 0.5 * box.max().y;
    // No extent: a point (or points closer than doubles can scale) gets a square around it.
    if (!(std::max(hw, hh) > 0.0) || !std::isfinite(0.5 * size / std::max(hw, hh))) {
        hw = hh = 0.5 * unit_extent;
    }
    m_scale = 0.5 * size / std::max(hw, hh);
    const double area_w = std::max(2.0 * (hw * m_scale), 0.5 * size);
    const double area_h = 2.0 * (hh * m_scale);
    m_min_x = cx - hw;
    m_max_y = cy + hh;
    m_x0 = margin + 0.5 * (area_w - 2.0 * (hw * m_scale));
    m_y0 = margin;
    m_width = area_w + 2.0 * margin;
    m_height = area_h + 2.0 * margin + band;
}

double SvgPage::round_length(double at_most) {
    const double p = std::pow(10.0, std::floor(std::log10(at_most)));
    for (const double m : {5.0, 2.0, 1.0}) {
        // log10 and pow round: a length equal to the bound must not drop to the next step.
        if (m * p <= at_most * (1.0 + 1e-12)) return m * p;
    }
    return 0.5 * p;
}

} // namespace arcline::cli
