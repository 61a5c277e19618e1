#include "arcline/intersect/velBSPLeafCrossings.h"

#include "arcline/intersect/velBSPPieceSplitter.h"
#include "arcline/intersect/velBSPSpanPair.h"
#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velPolylineBSPUtils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velTolerances.h"

#include <algorithm>
#include <cmath>

namespace {

// Directions closer to parallel than this sine make the start curve unknown.
constexpr double tangential_sine = 1e-12;

struct End {
    giPoint2 p;
    velDirection side;
};

bool lt(const End& x, const End& y) {
    return velPolylineBSPUtils::less_than(x.p, x.side, y.p, y.side);
}
bool same_place(const End& x, const End& y) {
    return !lt(x, y) && !lt(y, x);
}
// q lies strictly between s and e, going round the perimeter from s.
bool between(const End& q, const End& s, const End& e) {
    if (lt(s, e)) return lt(s, q) && lt(q, e);
    return lt(s, q) || lt(q, e);
}

struct Contact {
    double ta, tb; // underlying parameters on a and b
    giPoint2 p;    // on a
    double distance;
};

// The contacts of two span portions: their intersections within the touching distance, or else (when the
// caller looks further than that) the closest approach of an end of one to the other.
void span_contacts(const velBSPRun& run, int pa, int ka, double ua0, double ua1, int pb, int kb, double ub0,
                   double ub1, double reach, std::vector<Contact>& out) {
    velBSPSpanHits hits;
    velBSPSpanPair::intersect(run, pa, ka, ua0, ua1, pb, kb, ub0, ub1, velTol::coincident, hits);
    for (int i = 0; i < hits.count; ++i)
        out.push_back({ka + hits.ta[i], kb + hits.tb[i], {hits.pts[i][0], hits.pts[i][1]}, 0.0});
    if (hits.count > 0 || reach <= velTol::coincident) return;
    Contact best{0, 0, {}, INFINITY};
    // An end q of one span (at parameter tq on its polyline) against the other span.
    auto try_end = [&](int poly, int k, double u0, double u1, const giPoint2& q, bool q_on_a, double tq) {
        double d, t, nearest[2];
        if (!velBSPSpanPair::distance(run, poly, k, u0, u1, q.x, q.y, std::min(reach, best.distance), d, t,
                                      nearest))
            return;
        if (d >= best.distance) return;
        best = q_on_a ? Contact{tq, kb + t, q, d} : Contact{ka + t, tq, {nearest[0], nearest[1]}, d};
    };
    try_end(pb, kb, ub0, ub1, run.span_point(pa, ka, ua0), true, ka + ua0);
    try_end(pb, kb, ub0, ub1, run.span_point(pa, ka, ua1), true, ka + ua1);
    try_end(pa, ka, ua0, ua1, run.span_point(pb, kb, ub0), false, kb + ub0);
    try_end(pa, ka, ua0, ua1, run.span_point(pb, kb, ub1), false, kb + ub1);
    if (best.distance <= reach) out.push_back(best);
}

// Every contact of pieces a and b that comes within `reach` (boxes rejecting the rest).
std::vector<Contact> contacts(const velBSPNodeData& node, const velBSPPiece& a, const velBSPPiece& b,
                              double reach) {
    std::vector<Contact> out;
    const velBSPRun& run = node.run;
    velBSPPieceSplitter::for_each_span(run, a, [&](int ka, double ua0, double ua1) {
        giBox2 box = run.span_box(a.poly, ka);
        box.offset(reach);
        velBSPPieceSplitter::for_each_span(run, b, [&](int kb, double ub0, double ub1) {
            if (box.crosses(run.span_box(b.poly, kb)))
                span_contacts(run, a.poly, ka, ua0, ua1, b.poly, kb, ub0, ub1, reach, out);
            return true;
        });
        return true;
    });
    return out;
}

// The number of separate places (more than span_fraction apart) among the contacts within `distance`.
int separate_places(const std::vector<Contact>& cs, double distance) {
    std::vector<giPoint2> places;
    for (const Contact& c : cs) {
        if (c.distance > distance) continue;
        bool known = false;
        for (const giPoint2& q : places)
            known = known || c.p.distance(q) <= velTol::span_fraction;
        if (!known) places.push_back(c.p);
    }
    return static_cast<int>(places.size());
}

} // namespace

namespace {
// The direction of a polyline at a parameter, not normalised.
giPoint2 direction(const velBSPRun& run, int poly, double t) {
    const int last = run.num_spans(poly);
    if (last == 0) return {0.0, 0.0};
    const int k = std::clamp(static_cast<int>(t), 0, last - 1);
    return run.span_direction(poly, k, t - k);
}
} // namespace

velCrossingCurve velBSPLeafCrossings::start_curve(const giPoint2& t1, const giPoint2& t2) {
    const double s = t1.x * t2.y - t1.y * t2.x;
    const double norms = (t1.x * t1.x + t1.y * t1.y) * (t2.x * t2.x + t2.y * t2.y);
    if (s * s <= tangential_sine * tangential_sine * norms) return velCrossingCurveUnknown;
    return s < 0.0 ? velCrossingCurve2 : velCrossingCurve1;
}

velCrossingCurve velBSPLeafCrossings::start_curve(const velBSPRun& run, const velCrossing& c) {
    return start_curve(direction(run, c.index1(), c.param1()), direction(run, c.index2(), c.param2()));
}

int velBSPLeafCrossings::record(const velBSPRun& run, velCrossing c, velCrossingcoPageArr& out) {
    const velCrossingCurve start = start_curve(run, c);
    return record(run, c, start, out);
}

int velBSPLeafCrossings::record(const velBSPRun& run, velCrossing c, velCrossingCurve start,
                                velCrossingcoPageArr& out) {
    const velCrossData& data = run.cross_data();
    if (c.alternate() != 0 && !data.store_alternate_crossings()) return 0;
    c.set_start(start);
    out.append(c);
    if (data.store_crossing_pairs()) out.append(c.mirrored());
    return 1;
}

bool velBSPLeafCrossings::multiple_crossings(const velBSPNodeData& node, int a, int b) {
    const velBSPPiece& pa = node.pieces[static_cast<std::size_t>(a)];
    const velBSPPiece& pb = node.pieces[static_cast<std::size_t>(b)];
    for (const Contact& c : contacts(node, pa, pb, velTol::coincident)) {
        if (c.distance > velTol::coincident) continue;
        // A meeting at an end that both pieces share is where they cross the node's side, not inside.
        const bool end_a = c.ta == pa.t0 || c.ta == pa.t1;
        const bool end_b = c.tb == pb.t0 || c.tb == pb.t1;
        if (!(end_a && end_b)) return true;
    }
    return false;
}

int velBSPLeafCrossings::calculate_iter_crossing(const velBSPNodeData& node, int a, int b, velCrossing& out) {
    const velBSPPiece& pa = node.pieces[static_cast<std::size_t>(a)];
    const velBSPPiece& pb = node.pieces[static_cast<std::size_t>(b)];
    std::vector<Contact> cs = contacts(node, pa, pb, velTol::span_fraction);
    if (cs.empty()) cs = contacts(node, pa, pb, INFINITY);
    const Contact* best = nullptr;
    for (const Contact& c : cs)
        if (!best || c.distance < best->distance) best = &c;
    if (!best) return no_crossing;
    out = velCrossing({best->p.x, best->p.y, 0.0}, pa.poly, best->ta, pb.poly, best->tb, 0);
    const bool several = separate_places(cs, velTol::span_fraction) > 1;
    return several && separate_places(cs, velTol::coincident) > 1 ? ambiguous : one_crossing;
}

int velBSPLeafCrossings::find_crossing(const velBSPNodeData& node, int a, int b, velCrossing& out) {
    const velBSPPiece& pa = node.pieces[static_cast<std::size_t>(a)];
    const velBSPPiece& pb = node.pieces[static_cast<std::size_t>(b)];
    const End as{pa.p0, node.side(pa.p0, pa.start_flag)}, ae{pa.p1, node.side(pa.p1, pa.end_flag)};
    const End bs{pb.p0, node.side(pb.p0, pb.start_flag)}, be{pb.p1, node.side(pb.p1, pb.end_flag)};
    int alternate;
    if (between(bs, as, ae) != between(be, as, ae)) {
        alternate = 0;
    } else if (between(bs, ae, as) != between(be, ae, as)) {
        // Only a tie at coincident ends shows the interleaving.
        alternate = same_place(as, bs) || same_place(as, be) ? 1 : 2;
    } else {
        return multiple_crossings(node, a, b) ? divide : no_crossing;
    }
    velCrossing c;
    const int answer = calculate_iter_crossing(node, a, b, c);
    out = velCrossing(c.point(), c.index1(), c.param1(), c.index2(), c.param2(), alternate);
    return answer == no_crossing ? one_crossing : answer;
}

int velBSPLeafCrossings::calculate_crossings(const velBSPNodeData& node, int forced, int& count) {
    velCrossData& data = node.run.cross_data();
    velCrossingcoPageArr& scratch = data.get_temp_crossings2();
    scratch.clear();
    count = 0;
    int value = no_crossing;
    const int n = static_cast<int>(node.pieces.size());
    const bool two = node.run.two_boundaries();
    for (int a = 0; a < n && (forced || value < divide); ++a) {
        const velBSPPiece& pa = node.pieces[static_cast<std::size_t>(a)];
        for (int b = a + 1; b < n && (forced || value < divide); ++b) {
            const velBSPPiece& pb = node.pieces[static_cast<std::size_t>(b)];
            if (two && node.run.boundary(pa.poly) == node.run.boundary(pb.poly)) continue;
            if (pa.whole || pb.whole) {
                // A closed polyline lying whole in a (forced) node has no ends on the perimeter: every place
                // where it meets the other piece is a crossing.
                for (const Contact& c : contacts(node, pa, pb, velTol::coincident)) {
                    if (c.distance > velTol::coincident) continue;
                    const velCrossing x =
                        pa.poly <= pb.poly
                            ? velCrossing({c.p.x, c.p.y, 0.0}, pa.poly, c.ta, pb.poly, c.tb, 0)
                            : velCrossing({c.p.x, c.p.y, 0.0}, pb.poly, c.tb, pa.poly, c.ta, 0);
                    count += record(node.run, x, scratch);
                    value = std::max(value, one_crossing);
                }
                continue;
            }
            velCrossing c;
            // Curve 1 is the polyline of lower index (with two boundaries, the one of boundary A).
            const int answer =
                pa.poly <= pb.poly ? find_crossing(node, a, b, c) : find_crossing(node, b, a, c);
            value = std::max(value, answer);
            if (answer == one_crossing || (answer == ambiguous && forced))
                count += record(node.run, c, scratch);
        }
    }
    if (value == one_crossing || forced) {
        for (int i = 0; i < scratch.size(); ++i)
            data.crossings().append(scratch.read(i));
    } else {
        count = 0;
    }
    scratch.clear();
    return value;
}
