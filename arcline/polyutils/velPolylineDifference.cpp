#include "arcline/polyutils/velPolylineDifference.h"

#include "arcline/polyline/spans/velLinexLine.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr double snap = velTol::parameter_snap;

// The next position from t in direction w (its sign): a parameter within the snap of a position counts as on
// it, so that the step goes to the position after it.
double next_event(double t, double w) {
    return w > 0.0 ? std::floor(t + snap) + 1.0 : std::ceil(t - snap) - 1.0;
}

} // namespace

double velPolylineDifference::Track::normalised(double p) const {
    const int n = last();
    if (n <= 0 || std::isnan(p)) return 0.0;
    if (!closed) return std::clamp(p, 0.0, static_cast<double>(n));
    if (!std::isfinite(p)) return 0.0;
    double w = std::fmod(p, static_cast<double>(n));
    if (w < 0.0) w += n;
    // Just below the period is the start of the next one.
    return w > n - snap ? 0.0 : w;
}

velPolylineDifference::velPolylineDifference(const velPolylineListIter& a, double ta, int closed_a,
                                             const velPolylineListIter& b, double tb, int closed_b)
    : m_a{&a, closed_a, 0.0, 0.0, 1.0}, m_b{&b, closed_b, 0.0, 0.0, -1.0} {
    reset(ta, tb);
}

giVector3 velPolylineDifference::difference(double ta, double tb) const {
    return m_a.it->get_interpolated_pos(ta) - m_b.it->get_interpolated_pos(tb);
}

giVector3 velPolylineDifference::operator()() const {
    return difference(m_a.t, m_b.t);
}

int velPolylineDifference::operator++() {
    double da, db;
    return step(1, da, db);
}

int velPolylineDifference::operator--() {
    double da, db;
    return step(-1, da, db);
}

void velPolylineDifference::set_velocity(double va, double vb) {
    m_a.v = va;
    m_b.v = vb;
}

void velPolylineDifference::enable_free_movement_at_end(int enable) {
    m_free_at_end = enable;
}

void velPolylineDifference::indices(double& ta, double& tb) const {
    ta = m_a.t;
    tb = m_b.t;
}

void velPolylineDifference::reset() {
    m_a.t = m_a.t0;
    m_b.t = m_b.t0;
}

void velPolylineDifference::reset(double ta, double tb) {
    m_a.t0 = m_a.normalised(ta);
    m_b.t0 = m_b.normalised(tb);
    reset();
}

int velPolylineDifference::step(int dir, double& da, double& db) {
    Track* const tracks[2] = {&m_a, &m_b};
    double w[2] = {0.0, 0.0};     // signed parameter change per unit of common motion in this step; 0: still
    double event[2] = {0.0, 0.0}; // where a moving parameter's next position lies
    double s = DBL_MAX;
    for (int k = 0; k < 2; ++k) {
        const Track& tr = *tracks[k];
        const int n = tr.last();
        w[k] = dir * tr.v;
        // A closed polyline of one position has no period to wrap over.
        if (w[k] == 0.0 || (tr.closed && n <= 0)) {
            w[k] = 0.0;
            continue;
        }
        if (!tr.closed && (w[k] > 0.0 ? tr.t >= n - snap : tr.t <= snap)) {
            if (!m_free_at_end) return 0;
            w[k] = 0.0;
            continue;
        }
        event[k] = next_event(tr.t, w[k]);
        s = std::min(s, std::abs(event[k] - tr.t) / std::abs(w[k]));
    }
    if (w[0] == 0.0 && w[1] == 0.0) return 0;

    double delta[2] = {0.0, 0.0};
    for (int k = 0; k < 2; ++k) {
        if (w[k] == 0.0) continue;
        Track& tr = *tracks[k];
        double t = tr.t + w[k] * s;
        // The parameter that made the event lands on its position; the other one does when it comes as close.
        if (std::abs(t - event[k]) <= snap) t = event[k];
        delta[k] = t - tr.t;
        tr.t = tr.normalised(t);
    }
    da = delta[0];
    db = delta[1];
    return 1;
}

void velPolylineDifference::walk(int dir, int max_steps, Best& best) {
    // Past max_steps the walk goes on while the difference still shrinks at the far end of each step; one
    // more event per span of either polyline is plenty on polylines that are periodic or end, and keeps the
    // walk finite where the velocities make the motion of two closed polylines never repeat.
    const int extra = std::max(m_a.last(), 0) + std::max(m_b.last(), 0);
    const giPoint3 origin(0.0, 0.0, 0.0);
    giVector3 d0 = (*this)();
    bool clamped_far = false;
    for (int k = 0; k < max_steps || (clamped_far && k < max_steps + extra); ++k) {
        const double ta = m_a.t, tb = m_b.t;
        double da, db;
        if (!step(dir, da, db)) break;
        const giVector3 d1 = (*this)();
        double u;
        velLinexLine::closest_point(origin, giPoint3(d0), giPoint3(d1), u);
        clamped_far = u >= 1.0;
        if (!clamped_far) {
            // The foot on the chord of the difference curve, judged by the points at its parameters (the
            // same on straight spans; over arcs the chord is only the curve's approximation).
            const double ca = m_a.normalised(ta + u * da), cb = m_b.normalised(tb + u * db);
            const double c2 = difference(ca, cb).length_squared();
            if (c2 < best.d2) best = {ca, cb, c2};
        }
        const double e2 = d1.length_squared();
        if (e2 < best.d2) best = {m_a.t, m_b.t, e2};
        d0 = d1;
    }
}

double velPolylineDifference::minimise(int max_steps) {
    reset();
    Best best{m_a.t, m_b.t, (*this)().length_squared()};
    walk(1, max_steps, best);
    reset();
    walk(-1, max_steps, best);
    m_a.t = best.ta;
    m_b.t = best.tb;
    return std::sqrt(best.d2);
}
