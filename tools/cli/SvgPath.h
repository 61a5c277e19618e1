#pragma once
// Path data (the "d" attribute) of polylines drawn on an SvgPage. Straight spans become L commands. An arc
// in a plane parallel to XY becomes one exact A command: its radius, and the large-arc and sweep flags read
// off its three points (the page's flipped y axis turns an anticlockwise arc into SVG's negative-angle
// direction, sweep flag 0). A tilted arc projects onto XY as part of an ellipse: it is drawn as a polyline
// of points sampled on the arc. Arcs are judged and sampled after scaling to page units, so that model
// coordinates up to the largest double draw.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "tools/cli/SvgPage.h"

#include <string>

namespace arcline::cli {

class SvgPath {
public:
    explicit SvgPath(const SvgPage& page) : m_page(&page) {}

    void move_to(const giPoint3& p);
    void line_to(const giPoint3& p);
    // The arc from the current point (the last point given) through `mid` to `end`.
    void arc_to(const giPoint3& mid, const giPoint3& end);
    void close() { m_d += 'Z'; }
    // The current polyline of `it`: M, its spans, and Z when it is closed. Nothing without positions.
    void add_polyline(const velPolylineListIter& it);

    const std::string& data() const { return m_d; }
    bool empty() const { return m_d.empty(); }

    // How an arc from s through m to e is drawn.
    enum class ArcShape {
        point,    // its ends coincide: the arc is a point, its start
        straight, // its mid point lies on the chord (|bulge| below flat_bulge): a line
        flat,     // in a plane parallel to XY: one A command
        tilted    // sampled
    };
    static ArcShape shape(const giPoint3& s, const giPoint3& m, const giPoint3& e);

    // The SVG arc of a flat arc, in model units: its radius and the flags of an A command on a y-down page.
    struct Arc {
        double radius = 0.0;
        bool large_arc = false; // the sweep exceeds 180 degrees (|bulge| > 1)
        bool sweep = false;     // clockwise seen from +Z (negative bulge)
    };
    static Arc flat_arc(const giPoint3& s, const giPoint3& m, const giPoint3& e);

    // Ends closer than this make an arc a point. arc_to judges arcs in page units.
    static constexpr double zero_chord_tol = velPolylineListIter::zero_chord_tol;
    // An arc flatter than this bulge (its sagitta below half this fraction of its chord) is drawn straight:
    // an A command with a radius near 1e9 chords is at the mercy of the renderer's rounding.
    static constexpr double flat_bulge = 1e-9;
    // Sine of the angle between the arc's plane and XY below which the arc counts as flat.
    static constexpr double tilt_tol = 1e-9;
    // A large arc whose chord is shorter than this fraction of its radius (a sweep beyond about 331
    // degrees) is drawn as two halves.
    static constexpr double split_chord_ratio = 0.5;
    // Sampling of tilted arcs: one point per this many page units of arc length, within the bounds.
    static constexpr double sample_step = 2.0;
    static constexpr int min_samples = 8;
    static constexpr int max_samples = 720;

    // Decimals of the radius of an A command (the ends have three).
    static constexpr int radius_decimals = 9;

private:
    void point(char command, const giPoint3& p);
    // The radius of the A command of a flat arc whose radius is `radius` page units; see the source.
    double page_radius(const giPoint3& s, const giPoint3& m, const giPoint3& e, double radius) const;

    const SvgPage* m_page;
    std::string m_d;
    giPoint3 m_last;
};

} // namespace arcline::cli
