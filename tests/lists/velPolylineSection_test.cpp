// Sections against a model: the parameters covered, sampled at every end point and between (which decides
// every set exactly), a closed polyline's closure point one point.

#include "listTestKit.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineSection.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace velPolylineSection_test {

namespace {

using listtest::Rng;

// One polyline and a single-polyline iterator standing on it.
struct Line {
    explicit Line(std::unique_ptr<velAbsPolyArcLine> p) : poly(std::move(p)), it(*poly) { ++it; }
    std::unique_ptr<velAbsPolyArcLine> poly;
    velSingleAbsArcLineListIter it;
    double P() const { return it.num_pos() - 1.0; }
    bool closed() const { return velPolylineUtils::closed(it, 0.0) != 0; }
};

// The closed polyline (0,0) (1,0) (2,0) (2,1) (0,1) (0,0): 6 positions, spans of length 1, 1, 1, 2, 1.
Line rect6() {
    auto p = std::make_unique<velPolyArcLineDouble>();
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}, {0, 0}})
        p->add_pos(giPoint3(x, y, 0.0));
    return Line(std::move(p));
}

// The model: parameters covered (literally), and points of the curve covered (0 and P one point when closed).
bool in_params(const velPolylineSection& s, double t) {
    const double a = s.start().parameter(), b = s.end().parameter();
    return b < a ? (t >= a || t <= b) : (a <= t && t <= b);
}
bool on_curve(const velPolylineSection& s, double t, const Line& l) {
    if (l.closed() && (t == 0.0 || t == l.P())) return in_params(s, 0.0) || in_params(s, l.P());
    return in_params(s, t);
}

// Every end point of the sections, 0 and P, and the midpoints between them.
struct Samples {
    std::vector<double> t;
    std::vector<bool> critical;
};
Samples samples(const std::vector<velPolylineSection>& sections, const Line& l) {
    std::vector<double> c{0.0, l.P()};
    for (const auto& s : sections) {
        if (!s.valid()) continue;
        c.push_back(s.start().parameter());
        c.push_back(s.end().parameter());
    }
    std::sort(c.begin(), c.end());
    c.erase(std::unique(c.begin(), c.end()), c.end());
    Samples out;
    for (std::size_t i = 0; i < c.size(); ++i) {
        out.t.push_back(c[i]);
        out.critical.push_back(true);
        if (i + 1 < c.size()) {
            out.t.push_back(0.5 * (c[i] + c[i + 1]));
            out.critical.push_back(false);
        }
    }
    return out;
}

// The runs of consecutive samples in a set, circular through the closure point when closed: for each
// sample the number of its run, -1 outside the set.
std::vector<int> runs(const std::vector<bool>& in, bool closed, int& count) {
    std::vector<int> run(in.size(), -1);
    count = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (!in[i]) continue;
        if (i == 0 || !in[i - 1]) ++count;
        run[i] = count - 1;
    }
    // The first and last samples are the closure point: their runs are one.
    if (closed && count > 1 && in.front() && in.back()) {
        const int last = run.back();
        for (int& r : run)
            if (r == last) r = 0;
        --count;
    }
    return run;
}

// A random section of l: ends anywhere, or on half parameters (so that ends meet, touch and hit 0 and P).
velPolylineSection random_section(Rng& rng, const Line& l) {
    auto end = [&] {
        return rng.pick(0, 2) == 0 ? std::round(rng.uniform(0, l.P()) * 2) / 2 : rng.uniform(0, l.P());
    };
    return {l.it, end(), end()};
}

std::vector<Line> random_lines(Rng& rng, int count) {
    std::vector<Line> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(listtest::random_polyline(rng, rng.pick(3, 8), 0.0, i % 2 == 0));
    return out;
}

// Length from the section's start forward to parameter t, by velPolylineUtils.
double length_to(const velPolylineSection& s, double t, const Line& l) {
    const double a = s.start().parameter();
    if (t >= a) return velPolylineUtils::length(l.it, a, t);
    return velPolylineUtils::length(l.it, a, l.P()) + velPolylineUtils::length(l.it, 0.0, t);
}

// The closed-loop algebra of crops, merges and overlaps is checked by sampling below; here what it cannot
// reach: sections of another iterator, whole polylines, invalid ones and growth stopped at the closing point.
TEST(velPolylineSection, EdgesOfTheClosedLoop) {
    const Line l = rect6();
    auto sec = [&](double a, double b) { return velPolylineSection(l.it, a, b); };
    const velPolylineSection s = sec(4, 1);
    EXPECT_TRUE(s.wraps());
    EXPECT_EQ(s.inverse(), sec(1, 4));
    EXPECT_TRUE(sec(2.5, 2.5).is_degenerate());
    EXPECT_FALSE(s.position_at_length(-1e-9).valid());
    EXPECT_FALSE(s.position_at_length(s.length() * (1 + 1e-12)).valid());
    EXPECT_EQ(s.position_at_length(s.length()), s.end());
    // The same polyline through another iterator object is another list.
    velSingleAbsArcLineListIter other(l.it);
    const velPolylineSection there(other, 4.0, 1.0);
    EXPECT_FALSE(s.contains(there) || s.overlaps(there) || s.merged_with(there).valid());
    EXPECT_EQ(s.transferred_to(other), there);
    EXPECT_EQ(s.transferred_to(other).iterator(), &other);
    const velPolylineSection whole = velPolylineSection::whole_polyline(l.it, 0);
    EXPECT_TRUE(whole.is_whole_polyline());
    EXPECT_EQ(whole.end().parameter(), 5.0);
    EXPECT_EQ(velPolylineSection::whole_polyline(s.start()), whole);
    EXPECT_FALSE(velPolylineSection::whole_polyline(l.it, 1).valid());
    EXPECT_FALSE(sec(1.0, 5.5).valid());
    EXPECT_FALSE(velPolylineSection().valid());
    // Growing stops at the closure point without wrap, passes it with wrap, and meets round the loop.
    EXPECT_EQ(sec(1, 2).expanded_by_length(1, 0), sec(0, 3));
    EXPECT_EQ(sec(1, 2).expanded_by_length(2, 0), sec(0, 3.5));
    EXPECT_EQ(sec(1, 2).expanded_by_length(1.5, 1), sec(4.5, 3.25));
    EXPECT_TRUE(sec(1, 2).expanded_by_length(2.5, 1).is_whole_polyline());
    EXPECT_EQ(sec(4, 1).expanded_by_length(1, 0), sec(3.5, 2));
    EXPECT_TRUE(sec(4, 1).expanded_by_length(2, 0).is_whole_polyline());
    EXPECT_TRUE(sec(1, 4).expanded_by_length(-2, 0).is_degenerate());
    EXPECT_EQ(sec(1, 4).expanded_by_length(-2, 0).start().parameter(), 3.0);
}

TEST(velPolylineSection, MeasuresAddUp) {
    Rng rng(61);
    for (Line& l : random_lines(rng, 60)) {
        const double total = velPolylineUtils::length(l.it);
        for (int k = 0; k < 10; ++k) {
            const double t0 = rng.uniform(0, l.P()), t1 = rng.uniform(0, l.P());
            const velPolylineSection s(l.it, t0, t1);
            const double L = s.length();
            if (L == 0.0) continue;
            if (l.closed()) {
                EXPECT_NEAR(L + s.inverse().length(), total, 1e-9 * (1 + total));
                EXPECT_NEAR(s.parameter_length() + s.inverse().parameter_length(), l.P(), 1e-12);
            }
            // Offsets cut the section into pieces whose lengths add up.
            std::vector<double> cuts{0.0, rng.uniform(0, L), rng.uniform(0, L), L};
            std::sort(cuts.begin(), cuts.end());
            double sum = 0.0, psum = 0.0;
            for (int i = 0; i < 3; ++i) {
                const velPolylineSection piece = s.subsection_by_length(cuts[i], cuts[i + 1]);
                ASSERT_TRUE(piece.valid());
                EXPECT_TRUE(s.contains(piece));
                EXPECT_NEAR(piece.length(), cuts[i + 1] - cuts[i], 1e-9 * (1 + L));
                sum += piece.length();
                psum +=
                    s.subsection(cuts[i] / L * s.parameter_length(), cuts[i + 1] / L * s.parameter_length())
                        .parameter_length();
            }
            EXPECT_NEAR(sum, L, 1e-9 * (1 + L));
            EXPECT_NEAR(psum, s.parameter_length(), 1e-12);
            EXPECT_EQ(s.subsection(0, s.parameter_length()), s);
            EXPECT_EQ(s.normalized_subsection_by_length(0, 1), s);
            // Positions along the section land where the lengths along the polyline say.
            for (double d : {rng.uniform(0, L), rng.uniform(0, L)}) {
                const velPolylinePosition p = s.position_at_length(d);
                ASSERT_TRUE(p.valid());
                EXPECT_TRUE(s.contains(p));
                EXPECT_NEAR(length_to(s, p.parameter(), l), d, 1e-9 * (1 + L));
            }
            EXPECT_NEAR(length_to(s, s.midpoint_by_length().parameter(), l), L / 2, 1e-9 * (1 + L));
            const velPolylineSection half = s.normalized_subsection_by_length(0.25, 0.75);
            EXPECT_NEAR(half.length(), L / 2, 1e-9 * (1 + L));
            // Lengthening: by 2d, stopped at the ends of an open polyline, whole when it meets round a loop.
            const double d = rng.uniform(0, total / 2);
            const velPolylineSection grown = s.expanded_by_length(d, 1);
            if (!l.closed() && !s.wraps()) {
                const double before = velPolylineUtils::length(l.it, 0, s.start().parameter());
                const double after = velPolylineUtils::length(l.it, s.end().parameter(), l.P());
                EXPECT_NEAR(grown.length(), L + std::min(d, before) + std::min(d, after), 1e-9 * (1 + total));
            } else if (l.closed() && L + 2 * d < total * (1 - 1e-9)) {
                EXPECT_NEAR(grown.length(), L + 2 * d, 1e-9 * (1 + total));
                EXPECT_TRUE(grown.contains(s));
            } else if (l.closed() && L + 2 * d > total * (1 + 1e-9)) {
                EXPECT_TRUE(grown.is_whole_polyline());
            }
            if (2 * d < L) {
                EXPECT_NEAR(s.expanded_by_length(-d, 0).length(), L - 2 * d, 1e-9 * (1 + L));
            }
        }
    }
}

TEST(velPolylineSection, ContainmentAndAlgebraAgreeWithSampling) {
    Rng rng(62);
    int glued = 0, two_pieces = 0;
    for (Line& l : random_lines(rng, 80)) {
        for (int k = 0; k < 40; ++k) {
            const velPolylineSection a = random_section(rng, l), b = random_section(rng, l);
            const velPolylineSection crop = a.cropped_by(b), merge = a.merged_with(b);
            const velPolylineSection head = a.get_start_overlap_with(b), tail = a.get_end_overlap_with(b);
            const Samples S = samples({a, b, crop, merge, head, tail}, l);
            const std::size_t m = S.t.size();
            std::vector<bool> both(m), either(m);
            bool subset = true, share = false, share_stretch = false;
            for (std::size_t i = 0; i < m; ++i) {
                const double t = S.t[i];
                both[i] = on_curve(a, t, l) && on_curve(b, t, l);
                either[i] = on_curve(a, t, l) || on_curve(b, t, l);
                subset = subset && (!in_params(b, t) || in_params(a, t));
                share = share || both[i];
                share_stretch = share_stretch || (both[i] && !S.critical[i]);
                const velPolylinePosition p(&l.it, t);
                EXPECT_EQ(a.contains(p), in_params(a, t));
                EXPECT_EQ(a.contains_excluding_endpoints(p),
                          in_params(a, t) && t != a.start().parameter() && t != a.end().parameter());
            }
            EXPECT_EQ(a.contains(b), subset) << a.start().parameter() << " " << a.end().parameter() << " / "
                                             << b.start().parameter() << " " << b.end().parameter();
            EXPECT_EQ(a.contains_excluding_endpoints(b),
                      subset && !in_params(b, a.start().parameter()) && !in_params(b, a.end().parameter()));
            EXPECT_EQ(a.overlaps(b), share);
            EXPECT_EQ(a.overlaps_excluding_endpoints(b), share_stretch);

            // A result section is right when it covers exactly the expected samples.
            auto expect_set = [&](const velPolylineSection& r, const std::vector<bool>& want,
                                  const char* what) {
                ASSERT_TRUE(r.valid()) << what;
                // Crops and merges write the closure point as 0 where they start there and as P where they
                // end there (the overlaps keep a's own end parameters).
                if (l.closed() && !r.is_degenerate() && what[0] != 's' && what[0] != 'e') {
                    EXPECT_NE(r.end().parameter(), 0.0) << what;
                }
                for (std::size_t i = 0; i < m; ++i)
                    ASSERT_EQ(on_curve(r, S.t[i], l), want[i]) << what << " at " << S.t[i];
            };
            int n_common = 0, n_union = 0, n_literal = 0;
            const std::vector<int> common = runs(both, l.closed(), n_common);
            runs(either, l.closed(), n_union);
            runs(either, false, n_literal);
            if (n_common == 1) {
                expect_set(crop, both, "crop");
            } else {
                EXPECT_FALSE(crop.valid());
            }
            if (n_union == 1) {
                expect_set(merge, either, "merge");
            } else {
                EXPECT_FALSE(merge.valid());
            }
            glued += n_union == 1 && n_literal == 2;
            two_pieces += n_common == 2;
            // The start and end overlaps are the runs of the common part at a's ends.
            for (int end = 0; end < 2; ++end) {
                const double at = end == 0 ? a.start().parameter() : a.end().parameter();
                const velPolylineSection& r = end == 0 ? head : tail;
                const auto it = std::find(S.t.begin(), S.t.end(), at);
                const int run = common[static_cast<std::size_t>(it - S.t.begin())];
                if (run < 0) {
                    EXPECT_FALSE(r.valid());
                    continue;
                }
                std::vector<bool> want(m);
                for (std::size_t i = 0; i < m; ++i)
                    want[i] = common[i] == run;
                expect_set(r, want, end == 0 ? "start overlap" : "end overlap");
                if (!a.is_whole_polyline()) {
                    EXPECT_EQ(end == 0 ? r.start() : r.end(), end == 0 ? a.start() : a.end());
                }
            }
        }
    }
    // The cases that make the closed-loop algebra differ from intervals did occur.
    EXPECT_GT(glued, 20);
    EXPECT_GT(two_pieces, 20);
}

TEST(velPolylineSection, CopyWritesTheStretch) {
    Rng rng(63);
    for (Line& l : random_lines(rng, 40)) {
        const velPolylineSection s = random_section(rng, l);
        velAbsPolyArcLineListCursor out;
        s.copy_to(out);
        ASSERT_EQ(out.size(), 1);
        const velPolylineListIter& w = out.iterator();
        EXPECT_TRUE(w.get_pos(0).coincident(s.start().point(), 1e-12));
        if (s.is_degenerate()) {
            EXPECT_EQ(w.num_pos(), 1);
            continue;
        }
        EXPECT_TRUE(w.get_pos(w.num_pos() - 1).coincident(s.end().point(), 1e-9));
        // An open polyline's wrapping section is joined by the straight span from the last position to the
        // first.
        const double join =
            s.wraps() && !l.closed() ? l.it.get_pos(0).distance(l.it.get_pos(l.it.num_pos() - 1)) : 0.0;
        EXPECT_NEAR(velPolylineUtils::length(w), s.length() + join, 1e-9 * (1 + s.length()));
    }
    velAbsPolyArcLineListCursor none;
    velPolylineSection().copy_to(none);
    EXPECT_EQ(none.size(), 0);
}

} // namespace

} // namespace velPolylineSection_test
