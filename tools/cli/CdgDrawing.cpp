#include "tools/cli/CdgDrawing.h"

#include "arcline/polyline/spans/velArc3Utils.h"
#include "tools/cli/Format.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgPath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace arcline::cli {

using format::fixed;
using format::xml_escape;

namespace {

giPoint3 pt(const lumet::P3& p) {
    return {p.x, p.y, p.z};
}
giPoint3 add(const giPoint3& a, const giPoint3& b, double s = 1.0) {
    return {a.x + s * b.x, a.y + s * b.y, a.z + s * b.z};
}
giPoint3 sub(const giPoint3& a, const giPoint3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(const giPoint3& a, const giPoint3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
giPoint3 cross(const giPoint3& a, const giPoint3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
bool finite(const giPoint3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// One drawable thing of the document, in model coordinates.
struct Shape {
    enum Kind { open_node, close_node, info, point, chain, vector, triangle, circle } kind = point;
    std::string colour;
    std::string text; // label, node name or information
    // point: the point; chain: the start, then per span its end (straight) or its mid point and end (arc, see
    // arcs); vector: base and tip; triangle: corners; circle: centre.
    std::vector<giPoint3> pts;
    std::vector<bool> arc; // chain: per span, whether it is an arc
    double radius = 0.0;   // circle
    giPoint3 label_at;
};

// The circle (or helix) about `centre` through `start`, turned by `sweep` radians anticlockwise about
// `normal` while rising `rise` along it, as a chain: exact arcs, or samples for a helix.
void arc_chain(Shape& s, const giPoint3& centre, const giPoint3& start, const giPoint3& normal, double sweep,
               double rise) {
    const double n_len = std::sqrt(dot(normal, normal));
    const giPoint3 k = n_len > 0.0 ? giPoint3(normal.x / n_len, normal.y / n_len, normal.z / n_len)
                                   : giPoint3(0.0, 0.0, 1.0); // no normal: take the arc to lie in XY
    const giPoint3 r = sub(start, centre);
    const giPoint3 axial = giPoint3(k.x * dot(k, r), k.y * dot(k, r), k.z * dot(k, r));
    const giPoint3 u = sub(r, axial);
    const giPoint3 v = cross(k, u);
    auto at = [&](double phi) {
        const double c = std::cos(phi), sn = std::sin(phi);
        giPoint3 p =
            add(add(centre, axial), giPoint3(c * u.x + sn * v.x, c * u.y + sn * v.y, c * u.z + sn * v.z));
        return sweep != 0.0 ? add(p, k, rise * phi / sweep) : p;
    };
    s.kind = Shape::chain;
    s.pts = {start};
    const double turns = std::abs(sweep) / (2.0 * std::numbers::pi);
    if (rise == 0.0) {
        // Each piece less than a whole turn: three points with equal ends would make no arc.
        const int pieces = std::clamp(static_cast<int>(std::floor(turns)) + 1, 1, 8);
        for (int i = 0; i < pieces; ++i) {
            s.pts.push_back(at(sweep * (i + 0.5) / pieces));
            s.pts.push_back(at(sweep * (i + 1.0) / pieces));
            s.arc.push_back(true);
        }
    } else {
        const int n = std::clamp(static_cast<int>(std::ceil(turns * CdgDrawing::samples_per_turn)), 8,
                                 CdgDrawing::max_samples);
        for (int i = 1; i <= n; ++i) {
            s.pts.push_back(at(sweep * i / n));
            s.arc.push_back(false);
        }
    }
    s.label_at = at(0.5 * sweep);
}

// The ellipse about `centre` with axis ends `major` and `minor`, from angle a0 to a1, sampled.
void ellipse_chain(Shape& s, const giPoint3& centre, const giPoint3& major, const giPoint3& minor, double a0,
                   double a1) {
    const giPoint3 p = sub(major, centre), q = sub(minor, centre);
    auto at = [&](double t) { return add(add(centre, p, std::cos(t)), q, std::sin(t)); };
    const double turns = std::abs(a1 - a0) / (2.0 * std::numbers::pi);
    const int n = std::clamp(static_cast<int>(std::ceil(turns * CdgDrawing::samples_per_turn)), 8,
                             CdgDrawing::max_samples);
    s.kind = Shape::chain;
    s.pts = {at(a0)};
    for (int i = 1; i <= n; ++i) {
        s.pts.push_back(at(a0 + (a1 - a0) * i / n));
        s.arc.push_back(false);
    }
    s.label_at = at(0.5 * (a0 + a1));
}

struct Converted {
    std::vector<Shape> shapes;
    int not_finite = 0, transforms = 0, workplanes = 0;
};

// Relative luminance of a colour "#rrggbb" (0 black, 1 white); -1 for other text.
double luminance(const std::string& colour) {
    if (colour.size() != 7 || colour[0] != '#') return -1.0;
    double c[3];
    for (int k = 0; k < 3; ++k) {
        const std::string hex = colour.substr(1 + 2 * k, 2);
        char* end = nullptr;
        const long v = std::strtol(hex.c_str(), &end, 16);
        if (end != hex.c_str() + 2) return -1.0;
        c[k] = v / 255.0;
    }
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
}

Converted convert(const std::vector<lumet::CDGRecord>& records) {
    Converted out;
    for (const lumet::CDGRecord& r : records) {
        Shape s;
        s.colour = r.colours.empty() ? std::string() : r.colours[0];
        s.text = r.text;
        std::vector<giPoint3> p;
        for (const lumet::P3& q : r.points)
            p.push_back(pt(q));
        const bool finite_params = std::all_of(r.params.begin(), r.params.end(), [](const auto& q) {
            return std::isfinite(q.u) && std::isfinite(q.v);
        });
        if (!std::all_of(p.begin(), p.end(), finite) || !finite_params) {
            ++out.not_finite;
            continue;
        }
        switch (r.code) {
        case 'U':
        case 'u':
            s.kind = Shape::open_node;
            if (r.code == 'U') s.colour.clear();
            break;
        case 'O':
            s.kind = Shape::close_node;
            break;
        case 'I':
            s.kind = Shape::info;
            break;
        case 'P':
        case 'p':
            s.kind = Shape::point;
            s.pts = p;
            s.label_at = p[0];
            break;
        case 'L':
        case 'l':
            s.kind = Shape::chain;
            s.pts = p;
            s.arc = {false};
            s.label_at = giPoint3(0.5 * (p[0].x + p[1].x), 0.5 * (p[0].y + p[1].y), 0.0);
            break;
        case 'V':
        case 'v':
            s.kind = Shape::vector;
            s.pts = {p[0], add(p[0], p[1])};
            s.label_at = s.pts[1];
            break;
        case 'A':
        case 'a':
            arc_chain(s, p[0], p[1], p[2], r.params[0].u, r.params[0].b ? r.params[0].v : 0.0);
            break;
        case 'F': {
            s.kind = Shape::chain;
            s.pts = {p[0], p[1], p[2]};
            // Points on one line have no circle: the two chords, as the writer promises.
            s.arc = {SvgPath::shape(p[0], p[1], p[2]) != SvgPath::ArcShape::straight};
            if (!s.arc[0]) s.arc.push_back(false);
            s.label_at = p[1];
            break;
        }
        case 'E':
            ellipse_chain(s, p[0], p[1], p[2], 0.0, 2.0 * std::numbers::pi);
            break;
        case 'e':
            ellipse_chain(s, p[0], p[1], p[2], r.params[0].u, r.params[0].v);
            break;
        case 'T':
            s.kind = Shape::triangle;
            s.pts = p;
            s.label_at = giPoint3((p[0].x + p[1].x + p[2].x) / 3.0, (p[0].y + p[1].y + p[2].y) / 3.0, 0.0);
            break;
        case 't':
            s.kind = Shape::circle;
            s.pts = p;
            s.radius = 0.5 * std::abs(r.params[0].u);
            s.label_at = p[0];
            break;
        case 'X':
            ++out.transforms;
            continue;
        case 'W':
            ++out.workplanes;
            continue;
        default:
            continue; // 'x': nothing to clear, transforms are not applied
        }
        out.shapes.push_back(std::move(s));
    }
    return out;
}

giBox2 box_of(const std::vector<Shape>& shapes) {
    giBox2 box;
    auto merge = [&box](const giPoint3& p) { box.merge(giPoint2(p.x, p.y)); };
    for (const Shape& s : shapes) {
        if (s.kind == Shape::chain) {
            std::size_t at = 1;
            merge(s.pts[0]);
            for (const bool arc : s.arc) {
                if (arc) {
                    const giBox3 b = velArc3Utils::bbox(s.pts[at - 1], s.pts[at + 1], s.pts[at]);
                    merge(b.min());
                    merge(b.max());
                    at += 2;
                } else {
                    merge(s.pts[at]);
                    ++at;
                }
            }
        } else if (s.kind == Shape::circle) {
            merge(add(s.pts[0], giPoint3(s.radius, s.radius, 0.0)));
            merge(add(s.pts[0], giPoint3(-s.radius, -s.radius, 0.0)));
        } else {
            for (const giPoint3& p : s.pts)
                merge(p);
        }
    }
    return box;
}

} // namespace

CdgDrawing::Result CdgDrawing::render(const std::vector<lumet::CDGRecord>& records, const std::string& title,
                                      const Options& options) {
    Result result;
    const Converted c = convert(records);
    const SvgPage page(box_of(c.shapes), options.size, margin, SvgDocument::band_height(0));
    const char* plain = options.dark ? dark_plain : light_plain;
    SvgDocument doc(page, title, options.dark ? dark_background : light_background);
    // The casing colour of an entity drawn in `colour`, or empty when it shows on the page as it is.
    auto casing_of = [&](const std::string& colour) -> std::string {
        const double l = luminance(colour);
        if (l < 0.0) return {};
        if (!options.dark && l > 0.7) return "#555555";
        if (options.dark && l < 0.15) return "#9aa0a6";
        return {};
    };
    auto label = [&](const Shape& s, const std::string& colour, const std::string& casing) {
        if (s.text.empty() || !options.labels) return;
        doc.element("<text x=\"" + fixed(page.x(s.label_at.x) + 4.0) + "\" y=\"" +
                    fixed(page.y(s.label_at.y) - 4.0) + "\" fill=\"" + colour + "\" font-size=\"10\"" +
                    (casing.empty()
                         ? std::string()
                         : " stroke=\"" + casing + "\" stroke-width=\"0.6\" paint-order=\"stroke\"") +
                    ">" + xml_escape(s.text) + "</text>");
    };
    // A stroked path, under a wider casing when its colour needs one.
    auto stroke = [&](const std::string& d, const std::string& colour, const std::string& casing) {
        if (!casing.empty())
            doc.element("<path d=\"" + d + "\" fill=\"none\" stroke=\"" + casing +
                        "\" stroke-width=\"2.6\"/>");
        doc.element("<path d=\"" + d + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.2\"/>");
    };
    int depth = 0;
    for (const Shape& s : c.shapes) {
        const std::string colour = xml_escape(s.colour.empty() ? std::string(plain) : s.colour);
        const std::string casing = casing_of(s.colour.empty() ? std::string(plain) : s.colour);
        switch (s.kind) {
        case Shape::open_node:
            doc.open_group("class=\"node\" data-name=\"" + xml_escape(s.text) + "\"" +
                           (s.colour.empty() ? std::string() : " stroke=\"" + colour + "\""));
            doc.element("<title>" + xml_escape(s.text) + "</title>");
            ++depth;
            break;
        case Shape::close_node:
            if (depth > 0) { // an O without its node is dropped
                doc.close_group();
                --depth;
            }
            break;
        case Shape::info:
            doc.element("<desc>" + xml_escape(s.text) + "</desc>");
            break;
        case Shape::point:
            doc.element("<circle cx=\"" + fixed(page.x(s.pts[0].x)) + "\" cy=\"" + fixed(page.y(s.pts[0].y)) +
                        "\" r=\"2.5\" fill=\"" + colour + "\" stroke=\"" +
                        (casing.empty() ? std::string("none") : casing + "\" stroke-width=\"0.8") + "\"/>");
            label(s, colour, casing);
            break;
        case Shape::chain: {
            SvgPath path(page);
            path.move_to(s.pts[0]);
            std::size_t at = 1;
            for (const bool arc : s.arc) {
                if (arc) {
                    path.arc_to(s.pts[at], s.pts[at + 1]);
                    at += 2;
                } else {
                    path.line_to(s.pts[at++]);
                }
            }
            stroke(path.data(), colour, casing);
            label(s, colour, casing);
            break;
        }
        case Shape::vector: {
            const double x0 = page.x(s.pts[0].x), y0 = page.y(s.pts[0].y);
            const double x1 = page.x(s.pts[1].x), y1 = page.y(s.pts[1].y);
            std::string d = format::command('M', x0, y0) + format::command('L', x1, y1);
            const double len = std::hypot(x1 - x0, y1 - y0);
            if (len > 1e-6) { // a head only where the vector shows a direction in XY
                const double ux = (x1 - x0) / len, uy = (y1 - y0) / len;
                constexpr double head = 7.0, half_width = 3.0;
                d += format::command('M', x1 - head * ux - half_width * uy, y1 - head * uy + half_width * ux);
                d += format::command('L', x1, y1);
                d += format::command('L', x1 - head * ux + half_width * uy, y1 - head * uy - half_width * ux);
            }
            stroke(d, colour, casing);
            label(s, colour, casing);
            break;
        }
        case Shape::triangle: {
            SvgPath path(page);
            path.move_to(s.pts[0]);
            path.line_to(s.pts[1]);
            path.line_to(s.pts[2]);
            path.close();
            doc.element("<path d=\"" + path.data() + "\" fill=\"" + colour +
                        "\" fill-opacity=\"0.3\" stroke=\"" + (casing.empty() ? colour : casing) +
                        "\" stroke-width=\"0.8\"/>");
            label(s, colour, casing);
            break;
        }
        case Shape::circle:
            doc.element("<circle cx=\"" + fixed(page.x(s.pts[0].x)) + "\" cy=\"" + fixed(page.y(s.pts[0].y)) +
                        "\" r=\"" + fixed(s.radius * page.scale()) + "\" fill=\"none\" stroke=\"" +
                        (casing.empty() ? colour : casing) + "\" stroke-dasharray=\"4 2\"/>");
            label(s, colour, casing);
            break;
        }
    }
    while (depth-- > 0)
        doc.close_group();
    doc.scale_bar(plain);
    result.svg = doc.finish();
    if (c.transforms > 0)
        result.notes.push_back(std::to_string(c.transforms) +
                               " transform record(s) not applied: geometry is drawn as written");
    if (c.workplanes > 0) result.notes.push_back(std::to_string(c.workplanes) + " work plane(s) not drawn");
    if (c.not_finite > 0)
        result.notes.push_back(std::to_string(c.not_finite) +
                               " record(s) with coordinates that are not finite not drawn");
    return result;
}

} // namespace arcline::cli
