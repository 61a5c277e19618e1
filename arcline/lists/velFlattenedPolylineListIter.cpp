#include "arcline/lists/velFlattenedPolylineListIter.h"

#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/utils/velFloatUtils.h"
#include "arcline/polyline/velTolerances.h"

#include <cmath>

UT_IMPLEMENT_TYPE_ID(velFlattenedPolylineListIter, velPolylineListIter, velPolylineListIter)

namespace {
// Equal heights as far as the storage can tell: a few rounding steps apart, or the same once rounded to
// single precision. The same test decides between the planar and the tilted arc box in the base.
bool same_height(double a, double b) {
    constexpr double snapped_tol = velTol::parameter_snap;
    return velFloatUtils::equal(a, b) ||
           std::fabs(velFloatUtils::snap(a) - velFloatUtils::snap(b)) < snapped_tol;
}

// The point halfway along the arc from s through m to e (m anywhere on it). Collinear points, the shadow of
// an arc seen edge-on, give the chord's midpoint: a flat arc, presented as its chord.
giPoint3 halfway(const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    const giPoint3 chord_mid = s.interpolate(e, 0.5);
    giPoint3 centre;
    double radius = 0.0;
    velArc3Utils::get_centre_and_radius(s, e, m, centre, radius);
    if (radius == 0.0) return chord_mid;
    giVector3 chord = e - s;
    chord.unitize();
    // The halfway point lies on the chord's bisector, on the side of the chord where m is.
    giVector3 side = m - chord_mid;
    side = side - chord * side.dot(chord);
    if (side.unitize() == 0.0) return chord_mid;
    return centre + side * radius;
}
} // namespace

velFlattenedPolylineListIter::velFlattenedPolylineListIter(const velPolylineListIter& underlying,
                                                           double z_level)
    : velForwardingListIter(underlying), m_z(z_level) {}

giPoint3 velFlattenedPolylineListIter::flattened(giPoint3 p) const {
    // The unset point (no mid point) stays unset.
    if (!p.is_unset()) p.z = m_z;
    return p;
}

giBox3 velFlattenedPolylineListIter::at_level(const giBox2& b) const {
    if (b.empty()) return {};
    return {{b.min().x, b.min().y, m_z}, {b.max().x, b.max().y, m_z}};
}

int velFlattenedPolylineListIter::tilted_arc(int i) const {
    if (m_underlying->span_linear(i)) return 0;
    const double z = m_underlying->get_pos(i).z;
    return !same_height(m_underlying->get_mid_pos(i).z, z) || !same_height(m_underlying->get_pos(i + 1).z, z);
}

giPoint3 velFlattenedPolylineListIter::get_pos(int i) const {
    return flattened(m_underlying->get_pos(i));
}

int velFlattenedPolylineListIter::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velFlattenedPolylineListIter::get_mid_pos(int i) const {
    const giPoint3 m = flattened(m_underlying->get_mid_pos(i));
    if (!tilted_arc(i)) return m;
    return halfway(get_pos(i), m, get_pos(i + 1));
}

double velFlattenedPolylineListIter::get_bulge(int i) const {
    if (m_underlying->span_linear(i)) return 0.0;
    if (tilted_arc(i)) return velPolylineListIter::get_bulge(i);
    return m_underlying->get_bulge(i);
}

giBox2 velFlattenedPolylineListIter::span_box(int i, vel2dBox kind) const {
    if (i < 0 || i > num_pos() - 2) return {};
    if (tilted_arc(i)) return velPolylineListIter::span_box(i, kind);
    return m_underlying->span_box(i, kind);
}

giBox3 velFlattenedPolylineListIter::span_box(int i, vel3dBox) const {
    return at_level(span_box(i, vel_2d_box));
}

giBox2 velFlattenedPolylineListIter::box(vel2dBox kind) const {
    if (m_underlying->all_spans_linear()) return m_underlying->box(kind);
    // Span by span, so that tilted arcs take the box of the arc presented for them.
    return velPolylineListIter::box(kind);
}

giBox3 velFlattenedPolylineListIter::box(vel3dBox) const {
    return at_level(box(vel_2d_box));
}

velFlattenedPolylineListIter* velFlattenedPolylineListIter::create_new() const {
    return new velFlattenedPolylineListIter(*this);
}

int velFlattenedPolylineListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
