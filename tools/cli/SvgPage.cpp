#include "tools/cli/SvgPage.h"

#include <algorithm>
#include <cmath>

namespace arcline::cli {

SvgPage::SvgPage(const giBox2& model, double size, double margin, double band)
    : m_size(size), m_margin(margin), m_band(band) {
    giBox2 box = model;
    if (box.empty()) box = giBox2(giPoint2(0.0, 0.0), giPoint2(0.0, 0.0));
    double w = box.max().x - box.min().x;
    double h = box.max().y - box.min().y;
    double cx = 0.5 * (box.min().x + box.max().x), cy = 0.5 * (box.min().y + box.max().y);
    // No extent: a point (or points closer than doubles can scale) gets a square around it.
    if (!(std::max(w, h) > 0.0) || !std::isfinite(size / std::max(w, h))) {
        w = h = unit_extent;
    }
    m_scale = size / std::max(w, h);
    const double area_w = std::max(w * m_scale, 0.5 * size);
    const double area_h = h * m_scale;
    m_min_x = cx - 0.5 * w;
    m_max_y = cy + 0.5 * h;
    m_x0 = margin + 0.5 * (area_w - w * m_scale);
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
