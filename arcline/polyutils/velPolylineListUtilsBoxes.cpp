// Boxes and planes of velPolylineListUtils: trimming a trimmed view outside a box, the best-fit plane of a
// list, and the box of least area around a list seen along a normal.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/platform/giPoint2.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------------------------------------
// Trimming outside a box

namespace {

// Trims, on the current piece of `trimmed` of n positions, every maximal run of spans k for which
// outside(k) holds, from the last span to the first; returns the number of runs.
template <class Outside>
int trim_runs(velTrimmedPolylineListIter& trimmed, Outside outside) {
    int runs = 0;
    for (int k = trimmed.num_pos() - 2; k >= 0;) {
        if (!outside(k)) {
            --k;
            continue;
        }
        const int last = k;
        while (k >= 0 && outside(k))
            --k;
        // Spans k + 1 .. last go; cuts at later parameters leave the earlier ones as they were.
        trimmed.trim(k + 1.0, last + 1.0);
        ++runs;
    }
    return runs;
}

} // namespace

int velPolylineListUtils::trim_outside_box(const giBox3& box, velTrimmedPolylineListIter& trimmed) {
    int runs = 0;
    trimmed.reset();
    while (++trimmed) {
        if (!trimmed.box(vel_3d_box).crosses(box)) {
            trimmed.trim_whole_segment();
            ++runs;
            continue;
        }
        runs += trim_runs(trimmed, [&](int k) { return !trimmed.span_box(k, vel_3d_box).crosses(box); });
    }
    trimmed.reset();
    return runs;
}

int velPolylineListUtils::trim_outside_box(const giBox2& box, velTrimmedPolylineListIter& trimmed,
                                           const velPolyarcline2dBoxCache* cache) {
    int runs = 0;
    trimmed.reset();
    while (++trimmed) {
        const int polyline = trimmed.underlying_index();
        const int n = trimmed.num_pos();
        if (cache ? !cache->get_seg_box(polyline).crosses(box)
                  : (n < 2 && !trimmed.box(vel_2d_box).crosses(box))) {
            trimmed.trim_whole_segment();
            ++runs;
            continue;
        }
        runs += trim_runs(trimmed, [&](int k) {
            // The first and last spans of a piece may be parts of underlying spans: their own boxes. Inner
            // spans are whole underlying spans, whose boxes the cache holds.
            const bool whole = cache && k > 0 && k < n - 2;
            const giBox2 b = whole ? cache->get_span_box(polyline, trimmed.underlying_span(k))
                                   : trimmed.span_box(k, vel_2d_box);
            return !b.crosses(box);
        });
    }
    trimmed.reset();
    return runs;
}

// ---------------------------------------------------------------------------------------------------------
// Best-fit plane

namespace {

// Arcs are represented among the points of a fit by their points at these fractions.
constexpr double arc_sample_fractions[] = {0.25, 0.5, 0.75};
// Sweeps of the Jacobi eigenvalue iteration (it converges in a handful).
constexpr int jacobi_sweeps = 64;
// The turning of the list about the fitted normal decides its sense when it is at least this share of the
// turning's size; less is taken as none.
constexpr double orientation_share = 1e-9;
// Components of a unit normal below this are zero when the normal's sense is settled by the axes.
constexpr double axis_zero = velTol::collinear;

// The points of every polyline in order (positions, and the inner points of arcs), one vector per polyline.
std::vector<std::vector<giPoint3>> fit_points(const velPolylineListIter& in) {
    std::vector<std::vector<giPoint3>> out;
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    w->reset();
    while (++*w) {
        std::vector<giPoint3> pts;
        for (int i = 0; i < w->num_pos(); ++i) {
            if (i > 0 && !w->span_linear(i - 1))
                for (double f : arc_sample_fractions)
                    pts.push_back(w->get_interpolated_pos(i - 1 + f));
            pts.push_back(w->get_pos(i));
        }
        if (!pts.empty()) out.push_back(std::move(pts));
    }
    return out;
}

using Mat3 = std::array<std::array<double, 3>, 3>;

// Eigenvalues (ascending) and unit eigenvectors of a symmetric matrix, by cyclic Jacobi rotations.
void symmetric_eigen(Mat3 a, std::array<double, 3>& values, std::array<giVector3, 3>& vectors) {
    Mat3 v{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < jacobi_sweeps; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off == 0.0) break;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < 3; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
        }
    }
    std::array<int, 3> order{0, 1, 2};
    std::sort(order.begin(), order.end(), [&](int i, int j) { return a[i][i] < a[j][j]; });
    for (int i = 0; i < 3; ++i) {
        const int k = order[static_cast<std::size_t>(i)];
        values[static_cast<std::size_t>(i)] = a[k][k];
        vectors[static_cast<std::size_t>(i)] = giVector3(v[0][k], v[1][k], v[2][k]);
    }
}

// n turned so that its first component that is not zero, of z, x and y, is positive.
giUnitVec3 towards_axes(const giVector3& n) {
    for (double c : {n.z(), n.x(), n.y()})
        if (std::fabs(c) > axis_zero) return giUnitVec3(c < 0.0 ? -n : n);
    return giUnitVec3(n);
}

} // namespace

giUnitVec3 velPolylineListUtils::best_fit_plane_normal(const velPolylineListIter& in) {
    const auto polylines = fit_points(in);
    giVector3 sum;
    int count = 0;
    for (const auto& pts : polylines)
        for (const giPoint3& p : pts) {
            sum = sum + p.as_vector();
            ++count;
        }
    const giUnitVec3 up(giAxisZ);
    if (count < 3) return up;
    const giPoint3 c(sum / count);
    Mat3 m{};
    for (const auto& pts : polylines)
        for (const giPoint3& p : pts) {
            const giVector3 d = p - c;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] += d[i] * d[j];
        }
    std::array<double, 3> values;
    std::array<giVector3, 3> vectors;
    symmetric_eigen(m, values, vectors);
    if (!(values[2] > 0.0)) return up; // a single point
    giVector3 n = vectors[0];
    if (values[1] <= velTol::collinear * values[2]) {
        // On one line: of the planes through it, the one nearest to horizontal.
        const giVector3 d = vectors[2] / vectors[2].length();
        n = giVector3(0, 0, 1) - d * d.z();
        if (n.length_squared() <= velTol::collinear) n = giVector3(1, 0, 0) - d * d.x();
        return towards_axes(n / n.length());
    }
    // The sense: the turning of the list about n (the vector area of each polyline taken as closed).
    double turning = 0.0, size = 0.0;
    for (const auto& pts : polylines)
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const giVector3 cr = (pts[i] - c).cross(pts[(i + 1) % pts.size()] - c);
            turning += cr.dot(n);
            size += cr.length();
        }
    if (std::fabs(turning) > orientation_share * size) return giUnitVec3(turning < 0.0 ? -n : n);
    return towards_axes(n);
}

// ---------------------------------------------------------------------------------------------------------
// Optimised box

namespace {

// The shadow's convex hull is taken from chords within this share of the list's size.
constexpr double hull_chord_share = 1e-4;

double cross(const giPoint2& o, const giPoint2& a, const giPoint2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The convex hull, anticlockwise, without collinear points (Andrew's monotone chain).
std::vector<giPoint2> convex_hull(std::vector<giPoint2> pts) {
    std::sort(pts.begin(), pts.end(),
              [](const giPoint2& a, const giPoint2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    pts.erase(std::unique(pts.begin(), pts.end(),
                          [](const giPoint2& a, const giPoint2& b) { return a.x == b.x && a.y == b.y; }),
              pts.end());
    if (pts.size() < 3) return pts;
    std::vector<giPoint2> h(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    h.resize(k - 1);
    return h;
}

// The unit direction of the hull edge along which the bounding rectangle has the least area (rotating
// calipers: the extreme points along an edge and across it move forwards as the edges do).
giPoint2 best_edge_direction(const std::vector<giPoint2>& h) {
    const std::size_t m = h.size();
    if (m < 2) return {1.0, 0.0};
    if (m == 2) {
        const double L = h[0].distance(h[1]);
        return {(h[1].x - h[0].x) / L, (h[1].y - h[0].y) / L};
    }
    auto along = [&](std::size_t i, const giPoint2& e) { return h[i % m].x * e.x + h[i % m].y * e.y; };
    auto across = [&](std::size_t i, const giPoint2& e) { return -h[i % m].x * e.y + h[i % m].y * e.x; };
    std::size_t right = 0, far = 0, left = 0;
    double best_area = -1.0;
    giPoint2 best{1.0, 0.0};
    for (std::size_t i = 0; i < m; ++i) {
        const giPoint2 &a = h[i], &b = h[(i + 1) % m];
        const double L = a.distance(b);
        const giPoint2 e{(b.x - a.x) / L, (b.y - a.y) / L};
        if (i == 0) {
            for (std::size_t j = 0; j < m; ++j) {
                if (along(j, e) > along(right, e)) right = j;
                if (across(j, e) > across(far, e)) far = j;
                if (along(j, e) < along(left, e)) left = j;
            }
        } else {
            for (std::size_t n = 0; n < m && along(right + 1, e) > along(right, e); ++n)
                right = (right + 1) % m;
            for (std::size_t n = 0; n < m && across(far + 1, e) > across(far, e); ++n)
                far = (far + 1) % m;
            for (std::size_t n = 0; n < m && along(left + 1, e) < along(left, e); ++n)
                left = (left + 1) % m;
        }
        const double area = (along(right, e) - along(left, e)) * (across(far, e) - across(i, e));
        if (best_area < 0.0 || area < best_area) {
            best_area = area;
            best = e;
        }
    }
    return best;
}

} // namespace

int velPolylineListUtils::optimised_box(const giUnitVec3& normal, const velPolylineListIter& in,
                                        giWorkplane3& workplane, giBox3& box) {
    const giBox3 world = velPolylineListUtils::box(in, vel_3d_box);
    if (world.empty()) return 0;
    const giVector3 z = normal.invalid() ? giVector3(0, 0, 1) : normal.vector();
    // Any axis square to z to start with: from the world axis least along it.
    const double ax = std::fabs(z.x()), ay = std::fabs(z.y()), az = std::fabs(z.z());
    const giVector3 pick =
        ax <= ay && ax <= az ? giVector3(1, 0, 0) : (ay <= az ? giVector3(0, 1, 0) : giVector3(0, 0, 1));
    giVector3 u = pick - z * pick.dot(z);
    u = u / u.length();
    const giVector3 v = z.cross(u);

    const velSmashedPolylineListIter chords(
        in, std::max(velTol::coincident, hull_chord_share * world.diagonal()));
    std::unique_ptr<velPolylineListIter> w(chords.create_new());
    std::vector<giPoint2> shadow;
    giPoint3 origin = giPoint3::unset();
    w->reset();
    while (++*w)
        for (int i = 0; i < w->num_pos(); ++i) {
            const giPoint3 p = w->get_pos(i);
            if (origin.is_unset()) origin = p;
            shadow.push_back({(p - origin).dot(u), (p - origin).dot(v)});
        }
    const giPoint2 e = best_edge_direction(convex_hull(std::move(shadow)));
    const giVector3 x = u * e.x + v * e.y;
    workplane = giWorkplane3(origin, x, z.cross(x));
    // The list in workplane coordinates: a view through the inverse frame, whose boxes are exact.
    const giUnitVec3 &X = workplane.xaxis(), &Y = workplane.yaxis(), &Z = workplane.zaxis();
    const giWorkplane3 inverse(workplane.to_work(giPoint3(0, 0, 0)), giVector3(X.x(), Y.x(), Z.x()),
                               giVector3(X.y(), Y.y(), Z.y()));
    box = velPolylineListUtils::box(velPolylineListIterWP(inverse, in), vel_3d_box);
    return 1;
}

int velPolylineListUtils::optimised_box(const velPolylineListIter& in, giWorkplane3& workplane, giBox3& box) {
    return optimised_box(best_fit_plane_normal(in), in, workplane, box);
}
