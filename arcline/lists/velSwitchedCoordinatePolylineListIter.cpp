#include "arcline/lists/velSwitchedCoordinatePolylineListIter.h"

UT_IMPLEMENT_TYPE_ID(velSwitchedCoordinatePolylineListIter, velPolylineListIter, velPolylineListIter)

velSwitchedCoordinatePolylineListIter::velSwitchedCoordinatePolylineListIter(
    const velPolylineListIter& underlying, velSwitchedCoordinates which)
    : velForwardingListIter(underlying), m_which(which) {}

giPoint3 velSwitchedCoordinatePolylineListIter::switch_coordinates(const giPoint3& p,
                                                                   velSwitchedCoordinates which) {
    if (p.is_unset()) return p;
    switch (which) {
    case velSwitchXY:
        return {p.y, p.x, p.z};
    case velSwitchYZ:
        return {p.x, p.z, p.y};
    case velSwitchZX:
        return {p.z, p.y, p.x};
    default:
        return p;
    }
}

giBox3 velSwitchedCoordinatePolylineListIter::switch_box(const giBox3& b) const {
    if (b.empty()) return b;
    return {switch_coordinates(b.min()), switch_coordinates(b.max())};
}

namespace {
// Whether the 2D box of the presented points needs the underlying 3D box: Z comes into the plane.
bool needs_z(velSwitchedCoordinates which) {
    return which == velSwitchYZ || which == velSwitchZX;
}
} // namespace

giBox2 velSwitchedCoordinatePolylineListIter::switch_box(const giBox2& b) const {
    if (b.empty() || m_which != velSwitchXY) return b;
    return {{b.min().y, b.min().x}, {b.max().y, b.max().x}};
}

giPoint3 velSwitchedCoordinatePolylineListIter::get_pos(int i) const {
    return switch_coordinates(m_underlying->get_pos(i));
}

int velSwitchedCoordinatePolylineListIter::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velSwitchedCoordinatePolylineListIter::get_mid_pos(int i) const {
    return switch_coordinates(m_underlying->get_mid_pos(i));
}

double velSwitchedCoordinatePolylineListIter::get_bulge(int i) const {
    return m_underlying->get_bulge(i);
}

giBox2 velSwitchedCoordinatePolylineListIter::span_box(int i, vel2dBox kind) const {
    if (needs_z(m_which)) return switch_box(m_underlying->span_box(i, vel_3d_box)).xy();
    return switch_box(m_underlying->span_box(i, kind));
}

giBox3 velSwitchedCoordinatePolylineListIter::span_box(int i, vel3dBox kind) const {
    return switch_box(m_underlying->span_box(i, kind));
}

giBox2 velSwitchedCoordinatePolylineListIter::box(vel2dBox kind) const {
    if (needs_z(m_which)) return switch_box(m_underlying->box(vel_3d_box)).xy();
    return switch_box(m_underlying->box(kind));
}

giBox3 velSwitchedCoordinatePolylineListIter::box(vel3dBox kind) const {
    return switch_box(m_underlying->box(kind));
}

velSwitchedCoordinatePolylineListIter* velSwitchedCoordinatePolylineListIter::create_new() const {
    return new velSwitchedCoordinatePolylineListIter(*this);
}

int velSwitchedCoordinatePolylineListIter::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
