#include "arcline/polyline/utils/velPolylinePosition.h"

#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <cmath>

velPolylinePosition::velPolylinePosition(const velPolylineListIter* iter, double t)
    : m_iterator(iter), m_index(iter != nullptr ? iter->index() : -1), m_parameter(t) {}

velPolylinePosition::velPolylinePosition(const velPolylineListIter* iter, int index, double t)
    : m_iterator(iter), m_index(index), m_parameter(t) {}

velPolylinePosition::velPolylinePosition(const velPolylinePosition& other)
    : m_iterator(other.m_iterator), m_index(other.m_index), m_parameter(other.m_parameter) {}

velPolylinePosition& velPolylinePosition::operator=(const velPolylinePosition& other) {
    if (this != &other) velPolylinePosition::become(other.m_iterator, other.m_index, other.m_parameter);
    return *this;
}

void velPolylinePosition::become(const velPolylineListIter* iter, double t) {
    velPolylinePosition::become(iter, iter != nullptr ? iter->index() : -1, t);
}

void velPolylinePosition::become(const velPolylineListIter* iter, int index, double t) {
    m_iterator = iter;
    m_index = index;
    m_parameter = t;
    m_private.reset();
}

void velPolylinePosition::set_invalid() {
    velPolylinePosition::become(nullptr, -1, -1.0);
}

giPoint3 velPolylinePosition::point() const {
    return my_polyline().get_interpolated_pos(m_parameter);
}

giUnitVec3 velPolylinePosition::tangent_before() const {
    return velPolylineUtils::tangent_before(my_polyline(), m_parameter);
}

giUnitVec3 velPolylinePosition::tangent_after() const {
    return velPolylineUtils::tangent_after(my_polyline(), m_parameter);
}

int velPolylinePosition::valid() const {
    if (m_iterator == nullptr || m_index < 0 || m_index >= m_iterator->size() || !(m_parameter >= 0.0))
        return 0;
    if (m_iterator->index() != m_index) return 1;
    return m_parameter <= m_iterator->num_pos() - 1.0 ? 1 : 0;
}

const velPolylineListIter& velPolylinePosition::my_polyline() const {
    if (m_private && m_private->index() == m_index) return *m_private;
    if (m_iterator->index() == m_index) return *m_iterator;
    m_private.reset(m_iterator->create_new());
    m_private->set_index(m_index);
    return *m_private;
}

void velPolylinePosition::copy_to(velPolylineListCursor& cursor) const {
    cursor.add_interpolated_pos(my_polyline(), m_parameter);
}

bool velPolylinePosition::operator==(const velPolylinePosition& o) const {
    return m_iterator == o.m_iterator && m_index == o.m_index && m_parameter == o.m_parameter;
}

bool velPolylinePosition::operator<(const velPolylinePosition& o) const {
    if (m_iterator != o.m_iterator) return false;
    return m_index < o.m_index || (m_index == o.m_index && m_parameter < o.m_parameter);
}

bool velPolylinePosition::is_on_same_polyline(const velPolylinePosition& o) const {
    return m_iterator == o.m_iterator && m_index == o.m_index;
}

bool velPolylinePosition::is_on_same_span(const velPolylinePosition& o) const {
    return is_on_same_polyline(o) && std::floor(m_parameter) == std::floor(o.m_parameter);
}

velPolylinePosition velPolylinePosition::moved_to(double t) const {
    return {m_iterator, m_index, t};
}

velPolylinePosition velPolylinePosition::moved_forward_to_next_span(int wrap) const {
    return moved_to_next_span(1, wrap);
}

velPolylinePosition velPolylinePosition::moved_backward_to_next_span(int wrap) const {
    return moved_to_next_span(0, wrap);
}

bool velPolylinePosition::wraps(int wrap) const {
    return wrap && velPolylineUtils::closed(my_polyline(), 0.0);
}

velPolylinePosition velPolylinePosition::moved_to_next_span(int forward, int wrap) const {
    if (m_iterator == nullptr || m_index < 0) return *this;
    const int n = my_polyline().num_pos();
    if (n < 2) return *this;
    const int k = std::min(static_cast<int>(std::floor(m_parameter)), n - 2);
    int j = forward ? k + 1 : k - 1;
    if (j < 0 || j > n - 2) {
        if (!wraps(wrap)) return {};
        j += j < 0 ? n - 1 : -(n - 1);
    }
    return moved_to(j);
}

velPolylinePosition velPolylinePosition::moved_by_length(double d, int wrap) const {
    if (d == 0.0) return *this;
    return d < 0.0 ? moved_backward_by_length(-d, wrap) : moved_forward_by_length(d, wrap);
}

namespace {
// Whole laps of a closed polyline bring a movement back where it started; only the rest is walked, so that a
// long movement costs no more than one lap (and one round a polyline of zero length costs nothing).
double rest_of_laps(double d, const velPolylineListIter& line) {
    const double whole = velPolylineUtils::length(line);
    return whole > 0.0 ? std::fmod(d, whole) : 0.0;
}
} // namespace

velPolylinePosition velPolylinePosition::moved_forward_by_length(double d, int wrap) const {
    if (d == 0.0 || m_iterator == nullptr || m_index < 0) return *this;
    const velPolylineListIter& line = my_polyline();
    const int n = line.num_pos();
    if (n < 2) return *this;
    const bool round = wraps(wrap);
    if (round) {
        d = rest_of_laps(d, line);
        if (d == 0.0) return *this;
    }
    auto len = [&](int k) { return velPolylineUtils::span_length(k, line); };
    const double p = m_parameter;
    const int k = std::min(static_cast<int>(std::floor(p)), n - 2);
    double ell = len(k);
    double r = d - ell * (1.0 - (p - k));
    int j = k + 1;
    while (r > 0.0) {
        if (j < n - 1) {
            ell = len(j);
            r -= ell;
            ++j;
        } else if (round) {
            ell = len(0);
            r -= ell;
            j = 1;
        } else {
            r = 0.0;
        }
    }
    // A movement ending on a span of length 0 lands on its start.
    return moved_to(ell > 0.0 ? j + r / ell : j - 1.0);
}

velPolylinePosition velPolylinePosition::moved_backward_by_length(double d, int wrap) const {
    if (d == 0.0 || m_iterator == nullptr || m_index < 0) return *this;
    const velPolylineListIter& line = my_polyline();
    const int n = line.num_pos();
    if (n < 2) return *this;
    const bool round = wraps(wrap);
    if (round) {
        d = rest_of_laps(d, line);
        if (d == 0.0) return *this;
    }
    auto len = [&](int k) { return velPolylineUtils::span_length(k, line); };
    const double p = m_parameter;
    const int c = p == 0.0 ? 1 : std::min(static_cast<int>(std::ceil(p)), n - 1);
    int k = c - 1;
    double ell = len(k);
    double r = d - ell * (p - k);
    while (r > 0.0) {
        if (k == 0 && !round) {
            r = 0.0;
            break;
        }
        k = k == 0 ? n - 2 : k - 1;
        ell = len(k);
        r -= ell;
    }
    // A movement ending on a span of length 0 lands on its start.
    return moved_to(ell > 0.0 ? k - r / ell : static_cast<double>(k));
}
