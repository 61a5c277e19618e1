#include "arcline/polyutils/velBoundarySorterFragments.h"

#include "arcline/polyutils/velSegmentMap.h"

#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velBoundaryNesting.h"
#include "arcline/polyutils/velVisibilityCalculator.h"
#include "arcline/polyutils/velVisibilityResult.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Confidence = confidence_scale * (distance to the nearer neighbour) + confidence_floor.
constexpr double confidence_scale = 1000.0;
constexpr double confidence_floor = velTol::coincident; // a decision of coincident ends counts for nothing
// The perimeter has four sides of one unit each in edge positions.
constexpr double perimeter_units = 4.0;

giPoint2 xy(const giPoint3& p) {
    return {p.x, p.y};
}

} // namespace

velBoundarySorterFragments::velBoundarySorterFragments(const giBox2& box, int n) : m_box(box) {
    const std::size_t room = 2 * static_cast<std::size_t>(n < 0 ? 0 : n);
    m_points.reserve(room);
    m_sides.reserve(room);
    m_polyline.reserve(room);
    m_params.reserve(room);
}

void velBoundarySorterFragments::add_fragment(int index, const giPoint3& start, double t0,
                                              const giPoint3& end, double t1) {
    add_fragment(index, start, velPolylineBSPUtils::node_side(start, m_box), t0, end,
                 velPolylineBSPUtils::node_side(end, m_box), t1);
}

void velBoundarySorterFragments::add_fragment(int index, const giPoint3& start, velDirection start_side,
                                              double t0, const giPoint3& end, velDirection end_side,
                                              double t1) {
    m_points.push_back(start);
    m_points.push_back(end);
    m_sides.push_back(start_side);
    m_sides.push_back(end_side);
    m_polyline.push_back(index);
    m_polyline.push_back(index);
    m_params.push_back(t0);
    m_params.push_back(t1);
}

// Strictly before in the perimeter order from the top right corner.
bool velBoundarySorterFragments::before(const Place& a, const Place& b) const {
    return velPolylineBSPUtils::less_than(xy(a.p), a.side, xy(b.p), b.side);
}

// The order after P: the points after P in the perimeter order come first, then those before it (or at it),
// each group in perimeter order.
int velBoundarySorterFragments::compare_places(const Place& a, const Place& b) const {
    const bool ab = before(a, b), ba = before(b, a);
    if (!ab && !ba) return 0;
    const bool a_after = before(m_p, a), b_after = before(m_p, b);
    if (a_after != b_after) return a_after ? -1 : 1;
    return ab ? -1 : 1;
}

// The key that orders places as compare_places does: the perimeter order is by side, then by the coordinate
// along the side (velPolylineBSPUtils::less_than), and the points after P come before the others.
velBoundarySorterFragments::Key velBoundarySorterFragments::key_of(const Place& a) const {
    const int group = before(m_p, a) ? 0 : 1;
    double along = 0.0;
    switch (a.side) {
    case velDirectionTop:
        along = -a.p.x;
        break;
    case velDirectionLeft:
        along = -a.p.y;
        break;
    case velDirectionBottom:
        along = a.p.x;
        break;
    case velDirectionRight:
        along = a.p.y;
        break;
    }
    return {4 * group + static_cast<int>(a.side), along};
}

int velBoundarySorterFragments::sign(int a, int b) const {
    if (m_keys.size() == m_points.size()) return compare_keys(m_keys[at(a)], m_keys[at(b)]);
    return compare_places(place_of(a), place_of(b));
}

// Two different points at one place: an end before a start, two ends by lower segment, two starts by
// higher segment, then by point index.
bool velBoundarySorterFragments::tie_before(int a, int b) const {
    const bool a_end = a % 2 == 1, b_end = b % 2 == 1;
    if (a_end != b_end) return a_end;
    const int sa = m_polyline[at(a)], sb = m_polyline[at(b)];
    if (sa != sb) return a_end ? sa < sb : sa > sb;
    return a < b;
}

int velBoundarySorterFragments::obj_compare(const void* pa, const void* pb) const {
    const int a = *static_cast<const int*>(pa), b = *static_cast<const int*>(pb);
    if (a == b) return 0;
    if (const int s = sign(a, b)) return s;
    return tie_before(a, b) ? -1 : 1;
}

void velBoundarySorterFragments::arr_swap(int i, int j) {
    std::swap(m_order[at(i)], m_order[at(j)]);
}

int velBoundarySorterFragments::change(int point) const {
    if (m_no_change[at(point)]) return 0;
    return point % 2 == 0 ? -1 : 1;
}

void velBoundarySorterFragments::sort_frags(int count, const giPoint3& P,
                                            const velVisibilityCalculator& calculator, int flags,
                                            velVisibilityResult& result, int& complete) {
    m_p = {P, velPolylineBSPUtils::node_side(P, m_box)};
    m_count_at_p = count;
    complete = 1;
    const int n = static_cast<int>(m_points.size());
    m_order.resize(at(n));
    for (int i = 0; i < n; ++i)
        m_order[at(i)] = i;
    m_count_after.assign(at(n), count_unset);
    m_no_change.assign(at(n), 0);
    m_keys.resize(at(n));
    for (int i = 0; i < n; ++i)
        m_keys[at(i)] = key_of(place_of(i));
    if (n == 0) return;
    // The order obj_compare defines (a total order: no two points compare equal), with the keys read
    // directly rather than through the quick-sort interface's virtual calls.
    std::sort(m_order.begin(), m_order.end(), [this](int a, int b) {
        const Key &ka = m_keys[at(a)], &kb = m_keys[at(b)];
        if (ka < kb) return true;
        if (kb < ka) return false;
        return tie_before(a, b);
    });

    // A segment that leaves the node and comes back at one place changes nothing there.
    for (int k = 0; k + 1 < n; ++k) {
        const int a = m_order[at(k)], b = m_order[at(k + 1)];
        if (m_polyline[at(a)] == m_polyline[at(b)] && a % 2 != b % 2 && sign(a, b) == 0 &&
            !m_no_change[at(a)]) {
            m_no_change[at(a)] = m_no_change[at(b)] = 1;
            ++k;
        }
    }

    auto gap = [&](int a, int b) {
        const giPoint3 &p = m_points[at(a)], &q = m_points[at(b)];
        return std::max(std::fabs(p.x - q.x), std::fabs(p.y - q.y));
    };
    std::vector<int> unsure;
    int c = count;
    for (int k = 0; k < n; ++k) {
        const int pt = m_order[at(k)];
        const int prev = m_order[at((k + n - 1) % n)], next = m_order[at((k + 1) % n)];
        const double nearest = n > 1 ? std::min(gap(pt, prev), gap(pt, next)) : 0.0;
        const int s = m_polyline[at(pt)];
        double confidence = confidence_scale * nearest + confidence_floor;
        if (m_segments)
            confidence =
                std::min(confidence, m_segments->distance_to_trimming_parameter(s, m_params[at(pt)]));
        if (m_no_change[at(pt)]) continue;
        const bool coincident = n > 1 && (sign(pt, prev) == 0 || sign(pt, next) == 0);
        const bool skip = (flags & skip_coincident_points) && coincident;
        const bool start = pt % 2 == 0;
        const int use = calculator.visibility_to_use(c);
        if (!skip) result.set_visibility(s, start ? (use == 1) : (use == 0), m_params[at(pt)], confidence);
        c += start ? -1 : 1;
        if (!skip) m_count_after[at(pt)] = c;
        if (!result.blocked(s) && !result.visibility_certain(s)) unsure.push_back(s);
    }
    for (const int s : unsure)
        if (!result.blocked(s) && !result.visibility_certain(s)) complete = 0;
    for (int i = 0; i < n; ++i)
        if (m_count_after[at(i)] == count_unset) m_count_after[at(i)] = count_no_change;
}

// The running count rather than the stored one, so that a point skipped as coincident still counts.
int velBoundarySorterFragments::visible(const giPoint3& Q) const {
    const Key q = key_of({Q, velPolylineBSPUtils::node_side(Q, m_box)});
    int c = m_count_at_p;
    for (const int pt : m_order) {
        if (!(m_keys[at(pt)] < q)) break;
        c += change(pt);
    }
    return c;
}

double velBoundarySorterFragments::average_visibility() const {
    const int n = static_cast<int>(m_order.size());
    if (n == 0) return 0.0;
    // Edge positions run clockwise: the anticlockwise distance from a to the next point b is a - b.
    auto pos = [&](int pt) { return velPolylineBSPUtils::edge_position(m_points[at(pt)], m_box); };
    double sum = 0.0, covered = 0.0;
    bool any = false;
    int c = m_count_at_p;
    for (int k = 0; k < n; ++k) {
        const int pt = m_order[at(k)];
        c += change(pt);
        any = any || change(pt) != 0;
        if (k + 1 == n) break; // the stretch through P is added below
        const double d = std::fmod(pos(pt) - pos(m_order[at(k + 1)]) + perimeter_units, perimeter_units);
        sum += d * c;
        covered += d;
    }
    if (!any) return m_count_at_p;
    // From the last point round through P to the first: the count at P, for the rest of the perimeter.
    sum += (perimeter_units - covered) * c;
    return sum / perimeter_units;
}

bool velBoundarySorterFragments::close_to_point(const giPoint3& Q, double tol) const {
    return std::any_of(m_points.begin(), m_points.end(), [&](const giPoint3& p) {
        return std::fabs(p.x - Q.x) <= tol && std::fabs(p.y - Q.y) <= tol;
    });
}

// Each point's crossing is taken before the next, so that the boundaries met are entered one inside the
// other in the order the walk meets them; points at one place are taken together.
void velBoundarySorterFragments::find_nesting(const giPoint3& Q, velBoundaryNesting& nesting) const {
    const Place q{Q, velPolylineBSPUtils::node_side(Q, m_box)};
    walk_nesting(&q, nesting);
}

void velBoundarySorterFragments::find_nesting(velBoundaryNesting& nesting) const {
    walk_nesting(nullptr, nesting);
}

void velBoundarySorterFragments::walk_nesting(const Place* q, velBoundaryNesting& nesting) const {
    const int n = static_cast<int>(m_order.size());
    for (int k = 0; k < n; ++k) {
        const int pt = m_order[at(k)];
        if (q && compare_places(place_of(pt), *q) >= 0) break;
        if (change(pt) != 0) nesting.move(m_polyline[at(pt)], 1);
        if (k + 1 == n || sign(pt, m_order[at(k + 1)]) != 0) nesting.do_moves();
    }
    nesting.do_moves();
}
