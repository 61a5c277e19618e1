#include "arcline/polyline/velPolyArcLineZX.h"

#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"
#include "arcline/polyutils/velPolylineSorter.h"

#include "arcline/polyline/velPolyArcLine.h"

velPolyArcLineZX::velPolyArcLineZX() : m_inner(std::make_unique<velPolyArcLine>()) {}

velPolyArcLineZX::velPolyArcLineZX(std::unique_ptr<velAbsPolyArcLine> inner) : m_inner(std::move(inner)) {
    set_num_pos(m_inner->num_pos());
}

velPolyArcLineZX::velPolyArcLineZX(utCopy, const velPolyArcLineZX& other)
    : velAbsPolyArcLine(other), m_inner(other.m_inner->create_new()) {}

velPolyArcLineZX::~velPolyArcLineZX() = default;

velAbsPolyArcLine* velPolyArcLineZX::create_empty() const {
    return new velPolyArcLineZX(std::unique_ptr<velAbsPolyArcLine>(m_inner->create_empty()));
}

bool velPolyArcLineZX::point_is_ok_for_turning(const giPoint3& p) {
    return p.x >= 0.0;
}

giPoint3 velPolyArcLineZX::filter(const giPoint3& p) {
    if (is_no_mid_point(p)) return p;
    return {p.x, 0.0, p.z};
}

void velPolyArcLineZX::reset() {
    m_inner->reset();
    velAbsPolyArcLine::reset();
    set_num_pos(m_inner->num_pos());
}

int velPolyArcLineZX::reserve(int n) {
    return m_inner->reserve(n);
}

void velPolyArcLineZX::add_pos(const giPoint3& p) {
    m_inner->add_pos(filter(p));
    set_num_pos(m_inner->num_pos());
    invalidate_caches();
}

void velPolyArcLineZX::add_arc(const giPoint3& mid, const giPoint3& end) {
    m_inner->add_arc(filter(mid), filter(end));
    set_num_pos(m_inner->num_pos());
    invalidate_caches();
}

void velPolyArcLineZX::edit_pos(int i, const giPoint3& p) {
    m_inner->edit_pos(i, filter(p));
    invalidate_caches();
}

void velPolyArcLineZX::edit_mid_pos(int i, const giPoint3& mid) {
    m_inner->edit_mid_pos(i, filter(mid));
    invalidate_caches();
}

int velPolyArcLineZX::ok_to_add_pos(const giPoint3& p) const {
    return point_is_ok_for_turning(p) && m_inner->ok_to_add_pos(p);
}

int velPolyArcLineZX::ok_to_add_pos_expensive(const giPoint3& p) const {
    if (!ok_to_add_pos(p)) return 0;
    const std::unique_ptr<velAbsPolyArcLine> copy(create_new());
    copy->add_pos(p);
    return static_cast<const velPolyArcLineZX&>(*copy).self_intersections() ? 0 : 1;
}

int velPolyArcLineZX::self_intersections() const {
    if (m_reversing) return 0;
    const velSingleAbsArcLineListIter one(*this);
    const velZXViewedAsXYPolylineListIter xy(one);
    velPolylineSorter sorter;
    return sorter.any_intersections(xy);
}

int velPolyArcLineZX::ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const {
    return point_is_ok_for_turning(mid) && point_is_ok_for_turning(end) && m_inner->ok_to_add_arc(mid, end);
}

int velPolyArcLineZX::ok_to_edit_pos(int i, const giPoint3& p) const {
    return point_is_ok_for_turning(p) && m_inner->ok_to_edit_pos(i, p);
}

int velPolyArcLineZX::ok_to_edit_mid_pos(int i, const giPoint3& mid) const {
    if (!m_inner->ok_to_edit_mid_pos(i, mid)) return 0;
    return is_no_mid_point(mid) || point_is_ok_for_turning(mid);
}

int velPolyArcLineZX::span_linear(int i) const {
    return m_inner->span_linear(i);
}
void velPolyArcLineZX::get_pos(int i, giPoint3& p) const {
    m_inner->get_pos(i, p);
}
void velPolyArcLineZX::get_mid_pos(int i, giPoint3& mid) const {
    m_inner->get_mid_pos(i, mid);
}

giPoint3 velPolyArcLineZX::get_pos(int i) const {
    giPoint3 p;
    m_inner->get_pos(i, p);
    return p;
}

giPoint3 velPolyArcLineZX::get_mid_pos(int i) const {
    giPoint3 mid;
    m_inner->get_mid_pos(i, mid);
    return mid;
}

void velPolyArcLineZX::reverse() {
    m_reversing = true;
    velAbsPolyArcLine::reverse();
    m_reversing = false;
}

void velPolyArcLineZX::remove_last_pos() {
    if (num_pos() == 0) return;
    m_inner->remove_last_pos();
    velAbsPolyArcLine::remove_last_pos();
}
