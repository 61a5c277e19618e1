#include "arcline/lists/velBoxPolylineListIter.h"

UT_IMPLEMENT_TYPE_ID(velBoxPolylineListIter, velPolylineListIter, velPolylineListIter)

namespace {
constexpr int outline_positions = 5;
// Corners in box coordinates, (u, v) with 0 for the minimum and 1 for the maximum side.
constexpr int anticlockwise_corners[outline_positions][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
constexpr int clockwise_corners[outline_positions][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}};
} // namespace

velBoxPolylineListIter::velBoxPolylineListIter(const giBox2& box, double z, int anticlockwise)
    : m_box(box), m_z(z), m_anticlockwise(anticlockwise) {}

velBoxPolylineListIter::velBoxPolylineListIter(const giBox3& box, int anticlockwise)
    : m_box(box.xy()), m_z(box.max().z), m_anticlockwise(anticlockwise) {}

int velBoxPolylineListIter::size() const {
    return 1;
}

void velBoxPolylineListIter::reset() {
    m_current = 0;
}

int velBoxPolylineListIter::operator++() {
    m_current = !m_current;
    return m_current;
}

int velBoxPolylineListIter::num_pos() const {
    return outline_positions;
}

giPoint3 velBoxPolylineListIter::get_pos(int i) const {
    const int* corner = m_anticlockwise ? anticlockwise_corners[i] : clockwise_corners[i];
    return m_box.point(corner[0], corner[1]).xyz(m_z);
}

giBox2 velBoxPolylineListIter::box(vel2dBox) const {
    return m_box;
}

giBox3 velBoxPolylineListIter::box(vel3dBox) const {
    return {m_box.min().xyz(m_z), m_box.max().xyz(m_z)};
}

int velBoxPolylineListIter::index() const {
    return m_current ? 0 : -1;
}

void velBoxPolylineListIter::set_index(int k) {
    m_current = k == 0;
}

velBoxPolylineListIter* velBoxPolylineListIter::create_new() const {
    return new velBoxPolylineListIter(*this);
}
