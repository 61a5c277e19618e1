#include "tools/cli/PolylineDrawing.h"

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "tools/cli/Format.h"
#include "tools/cli/PolylineSummary.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgPath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace arcline::cli {

bool finite_polyline(const velPolylineListIter& it) {
    const auto finite = [](const giPoint3& p) {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    };
    for (int i = 0; i < it.num_pos(); ++i) {
        if (!finite(it.get_pos(i))) return false;
        if (i > 0 && !it.span_linear(i - 1) && !finite(it.get_mid_pos(i - 1))) return false;
    }
    return true;
}

using format::fixed;

namespace {

bool finite(const giPoint3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Every position and mid point finite: only such polylines can be fitted and drawn.
bool drawable(const velPolylineListIter& it) {
    for (int i = 0; i < it.num_pos(); ++i) {
        if (!finite(it.get_pos(i))) return false;
        if (i > 0 && !it.span_linear(i - 1) && !finite(it.get_mid_pos(i - 1))) return false;
    }
    return true;
}

// The XY box of the current polyline. Arcs whose chords overflow (coordinates near the largest double)
// can give a box that is not finite; their positions and mid points then stand for them.
giBox2 drawing_box(const velPolylineListIter& it) {
    const giBox2 exact = it.box(vel_2d_box);
    if (std::isfinite(exact.min().x) && std::isfinite(exact.min().y) && std::isfinite(exact.max().x) &&
        std::isfinite(exact.max().y))
        return exact;
    giBox2 box;
    for (int i = 0; i < it.num_pos(); ++i) {
        box.merge(giPoint2(it.get_pos(i).x, it.get_pos(i).y));
        if (i > 0 && !it.span_linear(i - 1))
            box.merge(giPoint2(it.get_mid_pos(i - 1).x, it.get_mid_pos(i - 1).y));
    }
    return box;
}

// The current polyline in model space scaled to page units (a similarity: arcs stay circular): finite
// where model lengths overflow.
giPoint3 scaled(const giPoint3& p, double k) {
    return {k * p.x, k * p.y, k * p.z};
}

// Arrow heads (triangles pointing along the polyline) evenly spaced by page length, found in page units.
void add_arrows(const velPolylineListIter& it, const SvgPage& page, std::string& d) {
    const int spans = it.num_pos() - 1;
    if (spans < 1) return;
    const double k = page.scale();
    std::vector<double> lengths(static_cast<std::size_t>(spans));
    double total = 0.0;
    for (int i = 0; i < spans; ++i) {
        const giPoint3 s = scaled(it.get_pos(i), k), e = scaled(it.get_pos(i + 1), k);
        const double l =
            it.span_linear(i) ? s.distance(e) : velArc3Utils::arc_length(s, scaled(it.get_mid_pos(i), k), e);
        lengths[static_cast<std::size_t>(i)] = std::isfinite(l) ? l : 0.0;
        total += lengths[static_cast<std::size_t>(i)];
    }
    if (!(total > 0.0)) return;
    const int n = static_cast<int>(std::clamp(std::floor(total / PolylineDrawing::arrow_spacing), 1.0,
                                              double(PolylineDrawing::max_arrows)));
    // Point of span i at fraction f (by the arc's own parameter, near enough to length for placing marks).
    auto at = [&](int i, double f) {
        const giPoint3 s = scaled(it.get_pos(i), k), e = scaled(it.get_pos(i + 1), k);
        if (it.span_linear(i)) return s.interpolate(e, f);
        return torArc3Utils::evaluate(s, scaled(it.get_mid_pos(i), k), e, f);
    };
    constexpr double ahead = 5.0, behind = 4.0, half_width = 3.5, step = 1e-3;
    int i = 0;
    double before = 0.0; // length of the spans before span i
    for (int a = 0; a < n; ++a) {
        const double target = (a + 0.5) * total / n;
        while (i + 1 < spans && before + lengths[static_cast<std::size_t>(i)] < target)
            before += lengths[static_cast<std::size_t>(i++)];
        const double len = lengths[static_cast<std::size_t>(i)];
        if (!(len > 0.0)) continue;
        const double f = std::clamp((target - before) / len, 0.0, 1.0);
        const giPoint3 p = at(i, f);
        const giPoint3 q0 = at(i, std::max(0.0, f - step)), q1 = at(i, std::min(1.0, f + step));
        // On the page, y points down; a span along Z has no direction in the picture.
        const double dx = q1.x - q0.x, dy = -(q1.y - q0.y);
        const double dl = std::hypot(dx, dy);
        if (!(dl > 1e-9)) continue;
        const double ux = dx / dl, uy = dy / dl;
        const double px = page.x(p.x / k), py = page.y(p.y / k);
        d += format::command('M', px + ahead * ux, py + ahead * uy);
        d += format::command('L', px - behind * ux - half_width * uy, py - behind * uy + half_width * ux);
        d += format::command('L', px - behind * ux + half_width * uy, py - behind * uy - half_width * ux);
        d += "Z";
    }
}

} // namespace

std::string_view PolylineDrawing::layer_colour(std::size_t k) {
    static constexpr std::array<std::string_view, 8> palette = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                                                "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};
    return palette[k % palette.size()];
}

PolylineDrawing::Result PolylineDrawing::render(const std::vector<Layer>& layers, const Options& options) {
    Result result;
    result.not_drawn.resize(layers.size());
    giBox2 box;
    for (std::size_t k = 0; k < layers.size(); ++k) {
        velAbsPolyArcLineListIter it(*layers[k].polylines);
        for (it.reset(); ++it;) {
            if (drawable(it)) {
                box.merge(drawing_box(it));
            } else {
                result.not_drawn[k].push_back(it.index());
            }
        }
    }
    const SvgPage page(box, options.size, margin, SvgDocument::band_height(static_cast<int>(layers.size())));
    std::string title = "arcline:";
    for (const Layer& layer : layers)
        title += " " + layer.name;
    SvgDocument doc(page, title, "#ffffff");

    for (std::size_t k = 0; k < layers.size(); ++k) {
        const std::string colour(layer_colour(k));
        SvgPath region(page), outer(page), holes(page), open(page);
        std::string arrows;
        std::vector<std::string> dots;
        int count = 0;
        velAbsPolyArcLineListIter it(*layers[k].polylines);
        for (it.reset(); ++it;) {
            ++count;
            if (!drawable(it) || it.num_pos() == 0) continue;
            if (PolylineSummary::is_closed(it)) {
                region.add_polyline(it);
                // A loop without area has no orientation; it is drawn as a boundary.
                (velPolylineUtils::area(it) >= 0.0 ? outer : holes).add_polyline(it);
            } else {
                open.add_polyline(it);
            }
            if (options.arrows) add_arrows(it, page, arrows);
            if (options.points) {
                for (int i = 0; i < it.num_pos(); ++i) {
                    const giPoint3 p = it.get_pos(i);
                    dots.push_back("<circle cx=\"" + fixed(page.x(p.x)) + "\" cy=\"" + fixed(page.y(p.y)) +
                                   (i == 0 ? "\" r=\"3.5\" fill=\"none\"/>" : "\" r=\"1.8\"/>"));
                }
            }
        }
        doc.open_group("id=\"layer-" + std::to_string(k + 1) + "\" class=\"layer\" data-file=\"" +
                       format::xml_escape(layers[k].name) + "\" stroke=\"" + colour +
                       "\" fill=\"none\" stroke-linejoin=\"round\"");
        if (!region.empty() && options.fill != Fill::none)
            doc.element("<path class=\"region\" d=\"" + region.data() + "\" fill=\"" + colour +
                        "\" fill-opacity=\"0.15\" fill-rule=\"" +
                        (options.fill == Fill::evenodd ? "evenodd" : "nonzero") + "\" stroke=\"none\"/>");
        if (!outer.empty())
            doc.element("<path class=\"outer\" d=\"" + outer.data() + "\" stroke-width=\"1.5\"/>");
        if (!holes.empty())
            doc.element("<path class=\"hole\" d=\"" + holes.data() +
                        "\" stroke-width=\"1.5\" stroke-dasharray=\"6 3\"/>");
        if (!open.empty())
            doc.element("<path class=\"open\" d=\"" + open.data() +
                        "\" stroke-width=\"2\" stroke-linecap=\"round\"/>");
        if (!arrows.empty())
            doc.element("<path class=\"arrows\" d=\"" + arrows + "\" fill=\"" + colour +
                        "\" stroke=\"none\"/>");
        if (!dots.empty()) {
            doc.open_group("class=\"points\" fill=\"" + colour + "\" stroke-width=\"1\"");
            for (const std::string& dot : dots)
                doc.element(dot);
            doc.close_group();
        }
        doc.close_group();
        doc.legend_entry(static_cast<int>(k), colour,
                         layers[k].name + " (" + std::to_string(count) +
                             (count == 1 ? " polyline)" : " polylines)"),
                         "#333333");
    }
    doc.scale_bar("#333333");
    result.svg = doc.finish();
    return result;
}

} // namespace arcline::cli
