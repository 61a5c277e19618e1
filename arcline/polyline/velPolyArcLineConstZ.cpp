#include "arcline/polyline/velPolyArcLineConstZ.h"

#include <cfloat>
#include <cmath>

IMPLEMENT_SERIAL(velPolyArcLineConstZ, velAbsPolyArcLine, 1)

namespace {
constexpr int schema = 1;
constexpr float marker_x = -FLT_MAX;
} // namespace

velPolyArcLineConstZ::velPolyArcLineConstZ(int n)
    : m_array(compute_page_factor(4 * n), compute_num_pages(4 * n, compute_page_factor(4 * n))) {}

velPolyArcLineConstZ::velPolyArcLineConstZ(const velPolyArcLineConstZ& other)
    : velAbsPolyArcLine(other), m_z(other.m_z), m_array(other.m_array) {}

void velPolyArcLineConstZ::reset() {
    velAbsPolyArcLine::reset();
    m_array.reset();
}

int velPolyArcLineConstZ::reserve(int n) {
    const int last = point_index(n + 1) + 4;
    return m_array.reserve(compute_page_factor(last), last);
}

void velPolyArcLineConstZ::grow_array() {
    const int n = num_pos();
    m_array.grow(compute_page_factor(point_index(n) + 4), n > 0 ? 4 * n - 2 : 0);
}

void velPolyArcLineConstZ::write_pair(int index, double x, double y) {
    m_array.write(index, gi_narrow(x));
    m_array.write(index + 1, gi_narrow(y));
}

void velPolyArcLineConstZ::add_pos(const giPoint3& p) {
    const int n = num_pos();
    if (n == 0) m_z = p.z; // the first position sets the height
    grow_array();
    if (n >= 1) write_pair(mid_point_index(n), marker_x, 0.0);
    write_pair(point_index(n + 1), p.x, p.y);
    set_num_pos(n + 1);
    invalidate_caches();
}

void velPolyArcLineConstZ::add_arc(const giPoint3& mid, const giPoint3& end) {
    const int n = num_pos();
    if (n < 1) return; // an arc needs a start
    grow_array();
    write_pair(mid_point_index(n), mid.x, mid.y);
    write_pair(point_index(n + 1), end.x, end.y);
    set_num_pos(n + 1);
    invalidate_caches();
}

void velPolyArcLineConstZ::edit_pos(int i, const giPoint3& p) {
    write_pair(point_index(i), p.x, p.y);
    invalidate_caches();
}

void velPolyArcLineConstZ::edit_mid_pos(int i, const giPoint3& mid) {
    if (is_no_mid_point(mid)) {
        write_pair(mid_point_index(i), marker_x, 0.0);
    } else {
        write_pair(mid_point_index(i), mid.x, mid.y);
    }
    invalidate_caches();
}

int velPolyArcLineConstZ::ok_to_add_pos(const giPoint3& p) const {
    return num_pos() == 0 || std::fabs(m_z - p.z) <= z_tol;
}

int velPolyArcLineConstZ::ok_to_add_arc(const giPoint3& mid, const giPoint3& end) const {
    return num_pos() > 0 && std::fabs(m_z - end.z) <= z_tol && std::fabs(m_z - mid.z) <= z_tol;
}

int velPolyArcLineConstZ::ok_to_edit_pos(int, const giPoint3& p) const {
    return std::fabs(m_z - p.z) <= z_tol;
}

int velPolyArcLineConstZ::ok_to_edit_mid_pos(int, const giPoint3& mid) const {
    return is_no_mid_point(mid) || std::fabs(m_z - mid.z) <= z_tol;
}

int velPolyArcLineConstZ::span_linear(int i) const {
    const int k = mid_point_index(i);
    return m_array.read(k) == marker_x && m_array.read(k + 1) == 0.0f;
}

void velPolyArcLineConstZ::get_pos(int i, giPoint3& p) const {
    const int k = point_index(i);
    p = giPoint3(m_array.read(k), m_array.read(k + 1), m_z);
}

void velPolyArcLineConstZ::get_mid_pos(int i, giPoint3& mid) const {
    if (span_linear(i)) {
        mid = giPoint3(-DBL_MAX, 0.0, m_z);
        return;
    }
    const int k = mid_point_index(i);
    mid = giPoint3(m_array.read(k), m_array.read(k + 1), m_z);
}

int velPolyArcLineConstZ::open(double tol) const {
    giPoint3 first, last;
    get_pos(1, first);
    get_pos(num_pos(), last);
    return !first.coincident(last, tol);
}

void velPolyArcLineConstZ::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << schema << m_z;
        velAbsPolyArcLine::Serialize(ar);
        const int count = num_pos() > 0 ? 4 * num_pos() - 2 : 0;
        for (int i = 0; i < count; ++i)
            ar << m_array.read(i);
        return;
    }
    int word = 0;
    ar >> word;
    if (word != schema) AfxThrowArchiveException(CArchiveException::badSchema);
    ar >> m_z;
    velAbsPolyArcLine::Serialize(ar);
    const int n = num_pos();
    const int count = n > 0 ? 4 * n - 2 : 0;
    m_array.reset(compute_page_factor(count));
    try {
        for (int i = 0; i < count; ++i) {
            float f = 0.0f;
            ar >> f;
            m_array.write(i, f);
        }
    } catch (...) {
        // A short or damaged record leaves an empty line, not a count without its points.
        reset();
        throw;
    }
    invalidate_caches();
}
