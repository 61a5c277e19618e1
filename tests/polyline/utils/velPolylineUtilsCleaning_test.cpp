// Copying and cleaning of one polyline: exact cases and brute-force searches for what it removes.

#include "utilsTestKit.h"

#include "../../support/caseData.h"

#include "arcline/lists/torCurvePtr3PolylineListCursor.h"
#include "arcline/lists/torPolyline3ListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/platform/Interpolate.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <array>
#include <fstream>
#include <initializer_list>
#include <random>
#include <sstream>
#include <string>
#include <utility>

namespace velPolylineUtilsCleaning_test {

using namespace utiltest;
using U = velPolylineUtils;

namespace {

using XY = std::initializer_list<std::array<double, 2>>;

// Largest distance from the samples of a (24 per span) to the polygon of the samples of b.
double one_sided(const velPolylineListIter& a, const velPolylineListIter& b) {
    const std::vector<giPoint3> pa = polygonize(a, 24), pb = polygonize(b, 24);
    double worst = 0;
    for (const giPoint3& p : pa) {
        double best = p.distance(pb[0]);
        for (std::size_t i = 0; i + 1 < pb.size(); ++i)
            best = std::min(best, segment_distance(p, pb[i], pb[i + 1]));
        worst = std::max(worst, best);
    }
    return worst;
}
double hausdorff(const velPolylineListIter& a, const velPolylineListIter& b) {
    return std::max(one_sided(a, b), one_sided(b, a));
}
// What 24 samples per span miss of the test arcs: R (pi / 24)^2 / 8 for the tightest, half a turn of R = 2.
constexpr double sampling_slack = 5e-3;

std::vector<giPoint3> pts(XY ps) {
    std::vector<giPoint3> out;
    for (const auto& p : ps)
        out.push_back({p[0], p[1], 0});
    return out;
}
// A straight polyline through the points.
std::vector<V> line_through(const std::vector<giPoint3>& ps) {
    std::vector<V> vs;
    for (const giPoint3& p : ps)
        vs.push_back({p, {}});
    return vs;
}

// A cursor holding a copy of one polyline (or an empty one), standing on it.
struct Cursor {
    velAbsPolyArcLineListCursor c;
    explicit Cursor(const std::vector<V>& vs = {}) {
        c.create_polyline();
        ++c;
        One src(vs);
        U::append(src.it, c);
    }
    const velPolylineListIter& it() const { return c.iterator(); }
};

std::vector<giPoint3> points(const velPolylineListIter& it) {
    std::vector<giPoint3> out;
    for (int i = 0; i < it.num_pos(); ++i)
        out.push_back(it.get_pos(i));
    return out;
}

void expect_points(const velPolylineListIter& it, const std::vector<giPoint3>& want, double tol = 1e-12) {
    ASSERT_EQ(it.num_pos(), static_cast<int>(want.size())) << it;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(it.get_pos(static_cast<int>(i)).coincident(want[i], tol)) << i << ": " << it;
}

// A noisy random walk of steps about 1; with `arcs` about every fifth span an arc of sagitta 0.5 to 2.
std::vector<V> noisy(Rng& rng, int n, double noise, bool arcs, bool closed) {
    std::vector<V> vs;
    giPoint3 p(0, 0, 0);
    double heading = 0;
    for (int i = 0; i < n; ++i) {
        const giVector3 d(std::cos(heading), std::sin(heading), 0);
        if (arcs && i > 0 && rng.pick(0, 4) == 0) {
            const double L = rng.uniform(4, 8), size = rng.uniform(0.5, 2),
                         sag = rng.pick(0, 1) ? size : -size;
            const giPoint3 e = p + d * L;
            vs.push_back({e, p.interpolate(e, 0.5) + giVector3(-d.y(), d.x(), 0) * sag});
            p = e;
        } else {
            heading += rng.uniform(-0.3, 0.3);
            p = p + giVector3(std::cos(heading), std::sin(heading), 0);
            vs.push_back({p + giVector3{rng.uniform(-noise, noise), rng.uniform(-noise, noise), 0}, {}});
        }
    }
    if (closed) vs.push_back({vs.front().p, {}});
    return vs;
}

} // namespace

TEST(velPolylineUtilsCleaning, CopiedPiecesHaveTheMeasuredLengthAndEndsOnTheSource) {
    Rng rng(11);
    for (int trial = 0; trial < 60; ++trial) {
        const bool closed = trial % 2 == 1;
        One src(listtest::random_polyline(rng, rng.pick(2, 8), trial % 3 == 0 ? 0.7 : 0.0, closed));
        const velPolylineListIter& it = src.it;
        double t1 = rng.uniform(0, it.num_pos() - 1.0), t2 = rng.uniform(0, it.num_pos() - 1.0);
        if (t2 < t1) std::swap(t1, t2);
        auto check = [&](auto write, double start, double stop, double length) {
            Cursor out;
            write(out.c);
            EXPECT_NEAR(U::length(out.it()), length, 1e-9 * std::max(1.0, length)) << "trial " << trial;
            EXPECT_TRUE(out.it().get_pos(0).coincident(it.get_interpolated_pos(start), 1e-9));
            EXPECT_TRUE(
                out.c.get_pos(out.it().num_pos() - 1).coincident(it.get_interpolated_pos(stop), 1e-9));
        };
        check([&](auto& c) { U::append(it, t1, t2, c); }, t1, t2, U::length(it, t1, t2));
        check([&](auto& c) { U::append_backwards(it, t2, t1, c); }, t2, t1, U::length(it, t1, t2));
        if (!closed) continue;
        check([&](auto& c) { U::append_closed(it, t2, t1, c); }, t2, t1, U::length_closed(it, t2, t1));
        check([&](auto& c) { U::append_backwards_closed(it, t1, t2, c); }, t1, t2,
              U::length_closed(it, t2, t1));
        velAbsPolyArcLineListCursor moved;
        U::copy_with_start_move(it, t1, moved);
        ASSERT_EQ(moved.size(), 1);
        EXPECT_NEAR(U::length(moved.iterator()), U::length(it), 1e-9 * U::length(it));
        EXPECT_TRUE(moved.get_pos(0).coincident(it.get_interpolated_pos(t1), 1e-12));
        EXPECT_EQ(U::closed(moved.iterator(), 0.0), 1);
    }
}

TEST(velPolylineUtilsCleaning, PolygonizesConvertsProfilesAndMakesSingleCursors) {
    // A half circle of radius 10 from (10, 0) anticlockwise to (-10, 0), then a line.
    One half(std::vector<V>{{{10, 0, 0}, {}}, {{-10, 0, 0}, giPoint3{0, 10, 0}}, {{-10, -5, 0}, {}}});
    for (double tol : {0.5, 1e-4}) {
        Cursor out(line_through(pts({{10, 0}})));
        Interpolate interp(tol, 0);
        U::add_polygonized_span(half.it, 0, interp, out.c);
        U::add_polygonized_span(half.it, 1, tol, out.c);
        const std::vector<giPoint3> pts = points(out.it());
        const int chords = Interpolate(tol, 0).arc({10, 0, 0}, {0, 10, 0}, {-10, 0, 0});
        ASSERT_EQ(static_cast<int>(pts.size()), chords + 2);
        EXPECT_EQ(pts.back(), giPoint3(-10, -5, 0));
        // Chord ends on the circle at equal angles: every chord's sagitta is the same, within tol.
        for (int j = 0; j <= chords; ++j)
            EXPECT_TRUE(pts[std::size_t(j)].coincident(
                {10 * std::cos(pi * j / chords), 10 * std::sin(pi * j / chords), 0}, 1e-9));
        EXPECT_LE(10.0 * (1 - std::cos(pi / chords / 2)), tol);
    }
    // (x, y, z) -> (z, x, 0) of a half circle in XZ, its mid point slightly off the bisector, and a line.
    One zx(std::vector<V>{{{1, 0, 0}, {}}, {{-1, 0, 0}, giPoint3{0.01, 0, 1}}, {{-1, 3, 4}, {}}});
    Cursor flat;
    U::convert_zx_to_xy(zx.it, flat.c);
    expect_points(flat.it(), pts({{0, 1}, {0, -1}, {4, -1}}));
    EXPECT_TRUE(flat.it().get_mid_pos(0).coincident({1, 0, 0}, 1e-12));
    EXPECT_NEAR(U::length(flat.it()), pi + 4.0, 1e-9);

    One rr(rounded_rectangle(4, 3, 1));
    const std::unique_ptr<velPolylineListCursor> arcs(U::new_single_polyline_cursor(rr.it)),
        curve(U::new_single_curve_cursor(rr.it)), tor(U::new_single_tor_polyline_cursor(rr.it));
    EXPECT_NE(dynamic_cast<torCurvePtr3PolylineListCursor*>(curve.get()), nullptr);
    EXPECT_NE(dynamic_cast<torPolyline3ListCursor*>(tor.get()), nullptr);
    for (const auto* c : {arcs.get(), curve.get(), tor.get()}) {
        ASSERT_EQ(c->size(), 1);
        EXPECT_EQ(c->index(), 0);
        expect_points(c->iterator(), points(rr.it));
    }
    EXPECT_NEAR(U::length(arcs->iterator()), 2 * 2 + 2 * 1 + 2 * pi, 1e-9);
    velSingleAbsArcLineListIter undefined(*rr.line);
    EXPECT_EQ(std::unique_ptr<velPolylineListCursor>(U::new_single_polyline_cursor(undefined))->size(), 0);
}

TEST(velPolylineUtilsCleaning, StripKeepsSignificantArcsAndSmashCutsThemEvenly) {
    // Collinear points, an arc of sagitta 1, a flat arc of sagitta 0.01; then ending on an arc.
    One src(std::vector<V>{{{0, 0, 0}, {}},
                           {{1, 0, 0}, {}},
                           {{2, 0, 0}, {}},
                           {{4, 0, 0}, giPoint3{3, -1, 0}},
                           {{5, 0, 0}, {}},
                           {{7, 0, 0}, giPoint3{6, 0.01, 0}},
                           {{8, 0, 0}, {}},
                           {{10, 0, 0}, giPoint3{9, 1, 0}}});
    Cursor out;
    U::strip(src.it, 0.1, out.c);
    expect_points(out.it(), pts({{0, 0}, {2, 0}, {4, 0}, {8, 0}, {10, 0}}));
    EXPECT_TRUE(out.it().get_mid_pos(1).coincident({3, -1, 0}, 1e-12));
    EXPECT_EQ(U::num_arc_spans(out.it()), 2);
    One rr(rounded_rectangle(6, 4, 1.5));
    Cursor arcs;
    U::smash_spans_by_length(rr.it, 0.5, arcs.c);
    EXPECT_NEAR(U::length(arcs.it()), U::length(rr.it), 1e-9);
    for (int k = 0; k + 1 < arcs.it().num_pos(); ++k)
        EXPECT_LE(U::span_length(k, arcs.it()), 0.5 * 1.1); // equal bulge steps are nearly equal lengths
}

// On flat straight polylines the x-and-y and 3D removals agree exactly (arcs differ near tol by design).
TEST(velPolylineUtilsCleaning, SpikesInXYAndIn3DAgreeOnFlatPolylines) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double tol = 0.01;
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<V> vs;
        giPoint3 p(0, 0, 0);
        vs.push_back({p, {}});
        const int n = 5 + static_cast<int>(u(rng) * 30);
        for (int k = 0; k < n; ++k) {
            const double a = u(rng) * 6.283, len = u(rng) < 0.3 ? tol * u(rng) * 4 : 0.2 + u(rng) * 3;
            giPoint3 q(p.x + len * std::cos(a), p.y + len * std::sin(a), 0);
            if (u(rng) < 0.25) { // out and back: a spike
                vs.push_back({q, {}});
                const double side = (u(rng) - 0.5) * tol;
                q = giPoint3(p.x - side * std::sin(a), p.y + side * std::cos(a), 0);
            }
            vs.push_back({q, {}});
            p = q;
        }
        if (trial % 2 == 0) vs.push_back({vs.front().p, {}});
        Cursor flat(vs), lifted(vs);
        const int in_xy = U::remove_xy_spikes(tol, flat.c), in_3d = U::remove_spikes(tol, lifted.c);
        EXPECT_EQ(in_xy, in_3d) << "trial " << trial;
        if (flat.c.size() == 1 && lifted.c.size() == 1) expect_points(flat.it(), points(lifted.it()));
    }
}

namespace {

// cross(tangent, d) at t, the tangent by central differences of positions.
double tangent_cross(const velPolylineListIter& it, double t, const giUnitVec2& d) {
    const giPoint3 a = it.get_interpolated_pos(t - 1e-6), b = it.get_interpolated_pos(t + 1e-6);
    return (b.x - a.x) * d.y() - (b.y - a.y) * d.x();
}

// Whether the tangent of an arc is parallel to d within 0.02 of one of its ends, where no cut is made.
bool parallel_near_an_end(const velPolylineListIter& it, const giUnitVec2& d) {
    for (int k = 0; k + 1 < it.num_pos(); ++k)
        for (double t0 : {k + 2e-5, k + 0.98})
            for (int j = 1; !it.span_linear(k) && j <= 40; ++j)
                if ((tangent_cross(it, t0, d) > 0) != (tangent_cross(it, t0 + j * 0.0199 / 40, d) > 0))
                    return true;
    return false;
}

} // namespace

TEST(velPolylineUtilsCleaning, SplitToMonotoneWritesPiecesRunningTowardsGreaterX) {
    Rng rng(9);
    int checked = 0;
    for (int trial = 0; trial < 60; ++trial) {
        One src(listtest::random_polyline(rng, rng.pick(1, 8), 0.0, trial % 4 == 0));
        if (parallel_near_an_end(src.it, giUnitVec2(giAxisY))) continue;
        ++checked;
        velAbsPolyArcLineListCursor pieces;
        U::split_to_monotone(src.it, pieces);
        double total = 0;
        for (pieces.reset(); ++pieces;) {
            const std::vector<giPoint3> pts = polygonize(pieces.iterator(), 40);
            for (std::size_t i = 1; i < pts.size(); ++i)
                ASSERT_GE(pts[i].x, pts[i - 1].x - 1e-9) << "trial " << trial << pieces;
            total += U::length(pieces.iterator());
        }
        EXPECT_NEAR(total, U::length(src.it), 1e-9 * std::max(1.0, total)) << "trial " << trial;
    }
    EXPECT_GT(checked, 30);
    // A zigzag: three pieces, the middle one reversed; the cursor ends on the last.
    One zig(line_through(pts({{0, 0}, {2, 1}, {2, 3}, {1, 4}, {3, 5}})));
    velAbsPolyArcLineListCursor out;
    U::split_to_monotone(zig.it, out);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out.index(), 2);
    out.set_index(1);
    expect_points(out.iterator(), pts({{1, 4}, {2, 3}}));
}

TEST(velPolylineUtilsCleaning, ClosedPolylinesStayClosedThroughEveryCleaning) {
    Rng rng(17);
    for (int trial = 0; trial < 12; ++trial) {
        const std::vector<V> vs = noisy(rng, 40, 0.2, trial % 2 == 1, true);
        One src(vs);
        std::vector<std::unique_ptr<Cursor>> outs;
        auto fresh = [&](bool filled) -> velPolylineListCursor& {
            outs.push_back(std::make_unique<Cursor>(filled ? vs : std::vector<V>{}));
            return outs.back()->c;
        };
        U::simple_strip(src.it, 0.2, fresh(false));
        U::strip(src.it, 0.2, fresh(false));
        U::smash_spans_by_length(src.it, 0.3, fresh(false));
        U::split_arcs(src.it, giUnitVec2(0.6, 0.8), fresh(false));
        U::shave_off_tips_of_dog_ears(src.it, fresh(false), 0.3);
        U::remove_spans_shorter_than(0.3, fresh(true));
        U::remove_kinks(30, 0.5, fresh(true));
        U::remove_spikes(0.1, fresh(true));
        U::remove_xy_spikes(0.1, fresh(true));
        for (std::size_t i = 0; i < outs.size(); ++i) {
            EXPECT_GE(outs[i]->it().num_pos(), 3) << "function " << i;
            EXPECT_EQ(U::closed(outs[i]->it(), 0.0), 1) << "function " << i << " trial " << trial;
        }
    }
}

namespace {

// One line of tests/data/cleaning/cases.txt: operation, parameters, input, count, expected positions.
struct Row {
    std::string op, count;
    std::vector<double> par;
    std::vector<giPoint3> in, want;
    int line = 0;
};

// Points "x y [z], ...": a missing z reads as 0.
std::vector<giPoint3> parse_points(const std::string& text) {
    std::vector<giPoint3> out;
    std::istringstream all(text);
    for (std::string one; std::getline(all, one, ',');) {
        std::istringstream ss(one);
        giPoint3 p(0, 0, 0);
        if (ss >> p.x >> p.y) out.push_back(p), ss >> out.back().z;
    }
    return out;
}

std::vector<Row> read_rows() {
    std::ifstream in(support::data_dir("cleaning") + "/cases.txt");
    std::vector<Row> rows;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        if (++number, line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::istringstream fields(line + " "); // so that an empty last field is read too
        for (std::string field; std::getline(fields, field, '|');)
            f.push_back(field);
        EXPECT_EQ(f.size(), 4u) << line;
        if (f.size() != 4) continue;
        Row r;
        r.line = number;
        r.in = parse_points(f[1]);
        r.want = parse_points(f[3]);
        std::istringstream head(f[0]);
        head >> r.op;
        for (double x; head >> x;)
            r.par.push_back(x);
        std::istringstream(f[2]) >> r.count;
        rows.push_back(r);
    }
    return rows;
}

bool in_place(const std::string& op) {
    return op == "close" || op == "short" || op == "kinks" || op == "spikes" || op == "xy_spikes";
}

// Runs the row's operation, into `out` or on it; returns the count ("-" for none).
std::string run(const Row& r, const velPolylineListIter& src, velPolylineListCursor& out) {
    const double a = r.par.empty() ? 0.0 : r.par[0];
    const auto n = [](int k) { return std::to_string(k); };
    if (r.op == "piece") U::append(src, a, r.par.at(1), out);
    if (r.op == "start_move") U::copy_with_start_move(src, a, out);
    if (r.op == "smash") U::smash_spans_by_length(src, a, out);
    if (r.op == "strip") U::simple_strip(src, a, out);
    if (r.op == "ears") return n(U::shave_off_tips_of_dog_ears(src, out, a));
    if (r.op == "close") U::forcably_close(out), U::forcably_close(out);
    if (r.op == "short") U::remove_spans_shorter_than(a, out);
    if (r.op == "kinks") return n(U::remove_kinks(30, a, out));
    if (r.op == "spikes") return n(U::remove_spikes(a, out));
    if (r.op == "xy_spikes") return n(U::remove_xy_spikes(a, out));
    const bool known =
        in_place(r.op) || r.op == "piece" || r.op == "start_move" || r.op == "smash" || r.op == "strip";
    EXPECT_TRUE(known) << "unknown operation " << r.op;
    return "-";
}

} // namespace

TEST(velPolylineUtilsCleaning, WorkedCasesFromTheTable) {
    const std::vector<Row> rows = read_rows();
    EXPECT_GE(rows.size(), 30u);
    for (const Row& r : rows) {
        SCOPED_TRACE("cases.txt:" + std::to_string(r.line) + " " + r.op);
        const std::vector<V> vs = line_through(r.in);
        Cursor out(in_place(r.op) ? vs : std::vector<V>{});
        if (in_place(r.op)) out.c.set_add_coincident_point_type(vel_add_start_point_if_apart); // kept
        const auto type = out.c.add_coincident_point_type();
        EXPECT_EQ(run(r, One(vs).it, out.c), r.count);
        expect_points(out.it(), r.want);
        EXPECT_EQ(out.c.add_coincident_point_type(), type);
    }
}

// Whether a vertex folds back narrower than tol (arms under 90 degrees, the shorter within tol of the other).
bool has_fold(const velPolylineListIter& it, double tol) {
    const int n = it.num_pos();
    const bool closed = U::closed(it, 0.0);
    for (int i = closed ? 0 : 1; i < n - 1; ++i) {
        const giPoint3 V = it.get_pos(i), A = it.get_pos(i == 0 ? n - 2 : i - 1), B = it.get_pos(i + 1);
        const bool a_shorter = A.distance(V) < B.distance(V);
        if ((A - V).dot(B - V) > 0 && segment_distance(a_shorter ? A : B, V, a_shorter ? B : A) < tol)
            return true;
    }
    return false;
}

TEST(velPolylineUtilsCleaning, RemoveSpikesCutsOutAndBackRunsNarrowerThanTol) {
    Rng rng(41);
    const double tol = 0.05;
    for (int trial = 0; trial < 40; ++trial) {
        const bool closed = trial % 2 == 1;
        // A clean polyline with spikes out by 1 to 3 and back within tol of the way out.
        std::vector<V> base, spiky;
        giPoint3 p(0, 0, 0);
        double heading = 0;
        for (int i = 0; i < 8;
             ++i, p = p + giVector3(std::cos(heading), std::sin(heading), 0) * rng.uniform(3, 6)) {
            base.push_back({p, {}});
            heading += rng.uniform(0.3, 0.8);
        }
        if (closed) base.push_back(base.front());
        int spikes = 0;
        for (std::size_t i = 0; i < base.size(); ++i) {
            spiky.push_back(base[i]);
            if (i + 1 == base.size() || rng.pick(0, 2) != 0) continue;
            const giPoint3 root = base[i].p.interpolate(base[i + 1].p, rng.uniform(0.3, 0.7));
            const double a = rng.uniform(0, 2 * pi), len = rng.uniform(1, 3);
            const giVector3 d(std::cos(a), std::sin(a), 0), side(-d.y(), d.x(), 0);
            const int steps = rng.pick(1, 3);
            spiky.push_back({root, {}});
            for (int s = 1; s <= steps; ++s)
                spiky.push_back({root + d * (len * s / steps) + side * rng.uniform(-0.2, 0.2) * tol, {}});
            spiky.push_back({root + side * rng.uniform(0.2, 0.8) * tol, {}});
            ++spikes;
        }
        One clean(base);
        Cursor c(spiky);
        EXPECT_GE(U::remove_spikes(tol, c.c), spikes > 0 ? 1 : 0) << "trial " << trial;
        EXPECT_FALSE(has_fold(c.it(), tol)) << "trial " << trial << c.it();
        EXPECT_LE(hausdorff(clean.it, c.it()), tol) << "trial " << trial << c.it();
        EXPECT_EQ(U::closed(c.it(), 0.0), closed ? 1 : 0);
        if (!closed) {
            EXPECT_EQ(c.c.get_pos(c.it().num_pos() - 1), base.back().p); // open ends stay
        }
    }
}

TEST(velPolylineUtilsCleaning, RemoveSpansShorterThanStaysWithinTolAndLeavesNoShortSpan) {
    Rng rng(31);
    for (int trial = 0; trial < 20; ++trial) {
        const double tol = 0.3;
        // Steps of about 1 with noise 0.45 make many spans shorter than tol.
        const std::vector<V> vs = noisy(rng, 50, 0.45, trial % 3 != 0, trial % 2 == 0);
        One src(vs);
        Cursor c(vs);
        U::remove_spans_shorter_than(tol, c.c);
        for (int k = 0; k + 1 < c.it().num_pos(); ++k)
            EXPECT_GT(U::span_length(k, c.it()), tol) << "trial " << trial << " span " << k;
        EXPECT_LE(hausdorff(src.it, c.it()), tol + sampling_slack) << "trial " << trial;
        EXPECT_EQ(U::closed(c.it(), 0.0), trial % 2 == 0 ? 1 : 0);
        EXPECT_EQ(U::num_arc_spans(c.it()), U::num_arc_spans(src.it));
    }
}

TEST(velPolylineUtilsCleaning, ThinningStaysWithinTolOfNoisyPolylines) {
    Rng rng(23);
    for (int trial = 0; trial < 12; ++trial) {
        const double tol = trial % 2 ? 0.05 : 0.3;
        const bool closed = trial % 3 == 0;
        One straight(noisy(rng, 60, 0.1, false, closed)), with_arcs(noisy(rng, 60, 0.1, true, closed));
        Cursor simple, streamed, arcs;
        U::simple_strip(straight.it, tol, simple.c);
        U::strip(straight.it, tol, streamed.c);
        U::strip(with_arcs.it, tol, arcs.c);
        EXPECT_LE(hausdorff(straight.it, simple.it()), tol + sampling_slack) << "trial " << trial;
        EXPECT_LE(hausdorff(straight.it, streamed.it()), tol + sampling_slack) << "trial " << trial;
        EXPECT_LE(hausdorff(with_arcs.it, arcs.it()), tol + sampling_slack) << "trial " << trial;
        EXPECT_EQ(U::num_arc_spans(arcs.it()), U::num_arc_spans(with_arcs.it));
        if (tol > 0.1) {
            EXPECT_LT(streamed.it().num_pos() + simple.it().num_pos(), 2 * straight.it.num_pos());
        }
    }
}

} // namespace velPolylineUtilsCleaning_test
