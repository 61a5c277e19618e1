#include "bench/compare/Chords.h"

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/spans/velCirbul.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace compare {

namespace {

// Slack on the ratio of sweep to the largest chord angle, so that an arc that needs exactly n chords by
// the formula does not get n + 1 from rounding.
constexpr double count_slack = 1e-9;

// The largest angle of a chord of a circle of this radius that stays within the deviation: the sagitta
// r (1 - cos(a / 2)) equals the deviation. A deviation of a whole diameter or more allows any angle.
double largest_chord_angle(double radius, double deviation) {
    const double c = 1.0 - deviation / std::abs(radius);
    return c <= -1.0 ? 2.0 * std::numbers::pi : 2.0 * std::acos(std::min(c, 1.0));
}

} // namespace

int chords_for_arc(double radius, double sweep, double deviation) {
    if (radius == 0.0 || sweep == 0.0) return 1;
    const double a = largest_chord_angle(radius, deviation);
    if (a <= 0.0) return 1; // a deviation too small to be told from the radius: one chord is all we can do
    return std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / a - count_slack)));
}

int quadrant_segments(double radius, double deviation) {
    return chords_for_arc(radius, std::numbers::pi / 2.0, deviation);
}

Chain chords_of(const velPolylineListIter& list, double deviation) {
    Chain chain;
    const int n = list.num_pos();
    if (n == 0) return chain;
    const giPoint3 first = list.get_pos(0), last = list.get_pos(n - 1);
    chain.closed = n > 2 && first.x == last.x && first.y == last.y;
    chain.points.push_back({first.x, first.y});
    for (int i = 0; i + 1 < n; ++i) {
        const giPoint3 s = list.get_pos(i), e = list.get_pos(i + 1);
        if (!list.span_linear(i)) {
            const double p0[2] = {s.x, s.y}, p1[2] = {e.x, e.y};
            const double b = list.get_bulge(i);
            double centre[2], radius = 0.0;
            velCirbul::cbbucr(p0, p1, b, centre, radius);
            // A zero chord or a zero bulge has no circle (radius 0): the span is its chord.
            if (radius != 0.0) {
                const double sweep = 4.0 * std::atan(b);
                const int k = chords_for_arc(radius, sweep, deviation);
                const double a0 = std::atan2(s.y - centre[1], s.x - centre[0]);
                const double r = std::abs(radius);
                for (int j = 1; j < k; ++j) {
                    const double a = a0 + sweep * j / k;
                    chain.points.push_back({centre[0] + r * std::cos(a), centre[1] + r * std::sin(a)});
                }
            }
        }
        chain.points.push_back({e.x, e.y});
    }
    if (chain.closed) chain.points.pop_back();
    return chain;
}

double signed_area(const Chain& chain) {
    const std::vector<Point>& p = chain.points;
    if (p.empty()) return 0.0;
    // Trapezoids below each edge, measured from the first point to keep the products small.
    const Point o = p.front();
    double twice = 0.0;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        twice += (p[j].x - p[i].x) * (p[j].y + p[i].y - 2.0 * o.y);
    return 0.5 * twice;
}

double length(const Chain& chain) {
    const std::vector<Point>& p = chain.points;
    double sum = 0.0;
    for (std::size_t i = 1; i < p.size(); ++i)
        sum += std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
    if (chain.closed && p.size() > 1) sum += std::hypot(p.front().x - p.back().x, p.front().y - p.back().y);
    return sum;
}

bool inside(const Chain& ring, Point q) {
    const std::vector<Point>& p = ring.points;
    bool in = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > q.y) != (p[j].y > q.y) &&
            q.x < p[j].x + (q.y - p[j].y) * (p[i].x - p[j].x) / (p[i].y - p[j].y))
            in = !in;
    }
    return in;
}

} // namespace compare
