// The list protocol, checked once for every iterator and cursor kind, and what particular kinds add.

#include "listTestKit.h"

#include "arcline/lists/torCurvePtr3PolylineListCursor.h"
#include "arcline/lists/torCurvePtr3PolylineListIter.h"
#include "arcline/lists/torPolyline2ListCursor.h"
#include "arcline/lists/torPolyline2ListIter.h"
#include "arcline/lists/torPolyline3ListCursor.h"
#include "arcline/lists/torPolyline3ListIter.h"
#include "arcline/lists/velAbsPolyArcLineItListIter.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLineListRAIter.h"
#include "arcline/lists/velAbsPolyArcLineVecListCursor.h"
#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velBoxPolylineListIter.h"
#include "arcline/lists/velFlattenedPolylineListIter.h"
#include "arcline/lists/velInterpolatingZPolylineListIter.h"
#include "arcline/lists/velPolylineListCursorAppend.h"
#include "arcline/lists/velPolylineListCursorWP.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/lists/velPolylineListIterSubset.h"
#include "arcline/lists/velPolylineListIterWP.h"
#include "arcline/lists/velPolylineListIterWithClosureFlags.h"
#include "arcline/lists/velPolylineListIterWithVector.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListIter.h"
#include "arcline/lists/velReversedPolylineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/lists/velSingleTrimmedPolylineListIter.h"
#include "arcline/lists/velSmashedPolylineListIter.h"
#include "arcline/lists/velSwitchedCoordinatePolylineListIter.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"
#include "arcline/lists/velXYViewedAsZXPolylineListIter.h"
#include "arcline/lists/velZXViewedAsXYPolylineListIter.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/itRangeIterator.h"
#include "arcline/platform/itTransformIterator.h"
#include "arcline/platform/torArc3.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/torTrimmedCurve3.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyline/velPolyLine.h"
#include "arcline/polyline/velPolyLineDouble.h"

#include "viewTestKit.h"

#include <gmock/gmock.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <numbers>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <string>

namespace velPolylineListIter_test {

using namespace listtest;

namespace {

// ---------------------------------------------------------------------------------------------------------
// Iterator kinds

// An iterator under test and everything it reads, released in the reverse order of making.
struct Subject {
    std::vector<std::shared_ptr<void>> held;
    std::unique_ptr<velPolylineListIter> owned;
    velPolylineListIter* it = nullptr;
    ~Subject() {
        owned.reset();
        while (!held.empty())
            held.pop_back();
    }
    velPolylineListIter& iter() { return *it; }
    template <class T, class... A>
    T& hold(A&&... a) {
        auto p = std::make_shared<T>(std::forward<A>(a)...);
        held.push_back(p);
        return *p;
    }
    template <class T>
    T& hold_value(T v) {
        return hold<T>(std::move(v));
    }
    void view(std::unique_ptr<velPolylineListIter> v) {
        owned = std::move(v);
        it = owned.get();
    }
};

struct IterKind {
    std::string name;
    std::string types; // its class and the bases with an identity, as ut_dynamic_type names them
    bool arcs;         // presents the arcs of its polylines
    int max_size;      // the most polylines it can hold; -1 for any number
    std::function<void(Subject&, const Polylines&)> make;
    double tol = 0.0;      // how far the presented points may lie from the input (views that compute them)
    bool flat = false;     // presents every point at z = 0
    bool distinct = false; // merges consecutive positions within 1e-5
    std::function<Polylines(unsigned seed)> own_input = nullptr; // kinds that present only one shape
    friend void PrintTo(const IterKind& k, std::ostream* os) { *os << k.name; }
};

using Cursor = velAbsPolyArcLineListCursor;
using SharedList = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

Polylines copies(const Polylines& in) {
    Polylines out;
    for (const auto& p : in)
        out.emplace_back(p->create_new());
    return out;
}

SharedList shared_list(const Polylines& in) {
    SharedList list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor c(list);
    for (const auto& p : in)
        c.insert_last(velAbsPolyArcLinecoPrg(p->create_new()));
    return list;
}

std::vector<giPoint3> positions_of(const velAbsPolyArcLine& p) {
    std::vector<giPoint3> pts;
    for (int i = 1; i <= p.num_pos(); ++i)
        pts.push_back(polytest::pos(p, i));
    return pts;
}

struct Deref {
    const velAbsPolyArcLine& operator()(const std::unique_ptr<velAbsPolyArcLine>& p) const { return *p; }
};

// p with two more spans before its start and two after its end (an arc among them), so that trimming them
// off gives p back. Polylines of fewer than two positions stay as they are (a trim cannot leave one point).
std::unique_ptr<velAbsPolyArcLine> lengthened(const velAbsPolyArcLine& p) {
    if (p.num_pos() < 2) return std::unique_ptr<velAbsPolyArcLine>(p.create_new());
    auto out = std::make_unique<velPolyArcLineDouble>();
    const giPoint3 a = polytest::pos(p, 1), z = polytest::pos(p, p.num_pos());
    out->add_pos(a + giVector3(-7, 3, 1));
    out->add_arc(a + giVector3(-4, 4, 1), a + giVector3(-2, 1, 1));
    out->add_pos(a);
    for (int i = 2; i <= p.num_pos(); ++i) {
        if (p.span_linear(i - 1)) {
            out->add_pos(polytest::pos(p, i));
        } else {
            out->add_arc(polytest::mid(p, i - 1), polytest::pos(p, i));
        }
    }
    out->add_pos(z + giVector3(3, 1, 0));
    out->add_arc(z + giVector3(5, 3, 0), z + giVector3(6, 6, 0));
    return out;
}

// A view made by `make` over a list that holds `stored`.
template <class Make>
void view_over(Subject& s, const Polylines& stored, Make make) {
    Cursor& list = s.hold<Cursor>();
    fill(list, stored);
    s.view(make(list.iterator()));
}

// A view T(underlying, a...) over a list that holds `stored`.
template <class T, class... A>
void decorate(Subject& s, const Polylines& stored, A... a) {
    view_over(s, stored, [&](velPolylineListIter& u) { return std::make_unique<T>(u, a...); });
}

template <class F>
Polylines each(const Polylines& in, F f) {
    Polylines out;
    for (const auto& p : in)
        out.push_back(f(*p));
    return out;
}

// The input lifted off z = 0, each polyline to its own height, for the views that bring it back down.
Polylines at_heights(const Polylines& in) {
    Polylines out;
    for (std::size_t k = 0; k < in.size(); ++k) {
        const double dz = 7.5 * (double(k % 3) - 1.0);
        out.push_back(viewtest::mapped(*in[k], [dz](const giPoint3& p) { return p + giVector3(0, 0, dz); }));
    }
    return out;
}

// Each polyline of three or more positions stored started at its position j ~ n / 2: P_j .. P_n, a detour
// of two spans, P_1 .. P_j; `cut_at` gets where the detour starts (-1 for polylines kept as they are).
Polylines started_half_way(const Polylines& in, std::vector<int>& cut_at) {
    Polylines stored;
    for (const auto& p : in) {
        const int n = p->num_pos(), j = std::max(2, n / 2); // both pieces have a span
        cut_at.push_back(n < 3 ? -1 : n - j);
        if (n < 3) {
            stored.emplace_back(p->create_new());
            continue;
        }
        auto q = std::make_unique<velPolyArcLineDouble>();
        const auto add = [&](int i, int span) { // position i reached through span
            if (span == 0 || p->span_linear(span)) {
                q->add_pos(polytest::pos(*p, i));
            } else {
                q->add_arc(polytest::mid(*p, span), polytest::pos(*p, i));
            }
        };
        add(j, 0);
        for (int i = j + 1; i <= n; ++i)
            add(i, i - 1);
        q->add_pos(polytest::pos(*p, n) + giVector3(3, 1, 0));
        q->add_pos(polytest::pos(*p, 1));
        for (int i = 2; i <= j; ++i)
            add(i, i - 1);
        stored.push_back(std::move(q));
    }
    return stored;
}

std::vector<IterKind> iterator_kinds() {
    using V = velPolylineListIter;
    using V_ZX = velZXViewedAsXYPolylineListIter;
    std::vector<IterKind> kinds = {
        {"list", "velAbsPolyArcLineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             s.view(std::make_unique<velAbsPolyArcLineListIter>(s.hold_value(shared_list(in))));
         }},
        {"random_access", "velAbsPolyArcLineListRAIter", true, -1,
         [](Subject& s, const Polylines& in) {
             s.view(std::make_unique<velAbsPolyArcLineListRAIter>(s.hold_value(shared_list(in))));
         }},
        {"vector", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             s.view(std::make_unique<velAbsPolyArcLineVecListIter>(&s.hold_value(copies(in))));
         }},
        {"list_cursor", "velAbsPolyArcLineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             Cursor& c = s.hold<Cursor>();
             fill(c, in);
             s.it = &c.iterator();
         }},
        {"sequence_of_values", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             using T = itTransformIterator<velAbsPolyArcLine, std::unique_ptr<velAbsPolyArcLine>, Deref>;
             s.view(std::make_unique<velAbsPolyArcLineItListIter>(T(it_range(s.hold_value(copies(in))), Deref{})));
         }},
        {"sequence_of_unique", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             s.view(std::make_unique<velAbsPolyArcLineItListIter>(it_range(s.hold_value(copies(in)))));
         }},
        {"sequence_of_shared", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             auto& v = s.hold<std::vector<std::shared_ptr<velAbsPolyArcLine>>>();
             for (const auto& p : in)
                 v.emplace_back(p->create_new());
             s.view(std::make_unique<velAbsPolyArcLineItListIter>(it_range(v)));
         }},
        {"sequence_of_pointers", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             auto& v = s.hold<std::vector<const velAbsPolyArcLine*>>();
             for (const auto& p : s.hold_value(copies(in)))
                 v.push_back(p.get());
             s.view(std::make_unique<velAbsPolyArcLineItListIter>(it_range(v)));
         }},
        // A workplane view over a list stored in the workplane's local coordinates presents the input again.
        {"workplane", "velPolylineListIterWP", true, -1,
         [](Subject& s, const Polylines& in) {
             const giWorkplane3 wp(giPoint3(3, -7, 11), giVector3(1, 2, 2), giVector3(-2, 1, 0));
             view_over(s, viewtest::mapped(in, [&wp](const giPoint3& p) { return wp.to_work(p); }),
                       [&wp](V& local) { return std::make_unique<velPolylineListIterWP>(wp, local); });
         },
         1e-9},
        // The input split over two lists, the second part longer.
        {"append", "velPolylineListIterAppend", true, -1,
         [](Subject& s, const Polylines& in) {
             Cursor &first = s.hold<Cursor>(), &second = s.hold<Cursor>();
             Polylines a = copies(in), b;
             for (auto k = in.size() / 3; k < in.size(); ++k)
                 b.push_back(std::move(a[k]));
             a.resize(in.size() / 3);
             fill(first, a);
             fill(second, b);
             s.view(std::make_unique<velPolylineListIterAppend>(first.iterator(), second.iterator()));
         }},
        // Curve lists hold point polylines: arcs are presented by their end points.
        {"curve_polyline3", "torPolyline3ListIter", false, -1,
         [](Subject& s, const Polylines& in) {
             auto& list = s.hold<torCurvePtr3coDList>();
             for (const auto& p : in)
                 coDListcoCursor<torCurvePtr3>(list).insert_last(std::make_shared<torPolyline3>(positions_of(*p)));
             s.view(std::make_unique<torPolyline3ListIter>(torCurvePtr3coDListcoIterator(list)));
         }},
        {"curve_polyline2", "torPolyline2ListIter", false, -1,
         [](Subject& s, const Polylines& in) {
             auto& list = s.hold<torCurvePtr2coDList>();
             for (const auto& p : in) {
                 std::vector<giPoint2> xy;
                 for (const giPoint3& q : positions_of(*p))
                     xy.push_back(q.xy());
                 coDListcoCursor<torCurvePtr2>(list).insert_last(std::make_shared<torPolyline2>(xy));
             }
             s.view(std::make_unique<torPolyline2ListIter>(torCurvePtr2coDListcoIterator(list)));
         },
         0.0, true},
        // Positions that remember their curve; the input has no two consecutive positions within 1e-5, which
        // such a polyline would merge.
        {"curve_pointer_polyline", "torCurvePtr3PolylineListIter", false, -1,
         [](Subject& s, const Polylines& in) {
             auto& list = s.hold<torCurvePtr3PolylinecoPrfcoDList>();
             torCurvePtr3PolylineListCursor c(list);
             for (const auto& p : in) {
                 c.set_index(c.size() - 1);
                 c.create_polyline();
                 ++c;
                 velSingleAbsArcLineListIter one(*p);
                 ++one;
                 for (int i = 0; i < one.num_pos(); ++i)
                     c.add_pos(one, i);
             }
             s.view(std::make_unique<torCurvePtr3PolylineListIter>(torCurvePtr3PolylinecoPrfcoDListcoIterator(list)));
         },
         0.0, false, true},
        // A trimmed view of an untrimmed list presents the list.
        {"trimmed_untrimmed", "velTrimmedPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) { decorate<velTrimmedPolylineListIter>(s, in); }},
        // Each polyline lengthened by two spans at either end, which the view trims off again.
        {"trimmed", "velTrimmedPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             view_over(s, each(in, lengthened), [](V& u) {
                 auto t = std::make_unique<velTrimmedPolylineListIter>(u);
                 for (t->reset(); ++*t;) {
                     const int n = t->num_pos();
                     if (n < 6) continue;
                     t->trim(n - 3, n - 1);
                     t->trim(0, 2);
                 }
                 t->reset();
                 return t;
             });
         }},
        {"single_trimmed", "velSingleTrimmedPolylineListIter velTrimmedPolylineListIter", true, 1,
         [](Subject& s, const Polylines& in) {
             Polylines two = copies(in);
             Rng rng(3);
             two.push_back(random_polyline(rng, 4, 0.0));
             Cursor& list = s.hold<Cursor>();
             fill(list, two);
             auto& trimmed = s.hold<velTrimmedPolylineListIter>(list.iterator());
             s.view(std::make_unique<velSingleTrimmedPolylineListIter>(trimmed, 0));
         }},
        {"single", "velSingleAbsArcLineListIter", true, 1,
         [](Subject& s, const Polylines& in) {
             s.view(std::make_unique<velSingleAbsArcLineListIter>(*s.hold_value(copies(in)).front()));
         }},
        // Decorating views, each over a list that it turns back into the input.
        {"reversed", "velReversedPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             decorate<velReversedPolylineListIter>(s, each(in, viewtest::reversed));
         }},
        {"xy_viewed_as_zx", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             decorate<velXYViewedAsZXPolylineListIter>(s, viewtest::mapped(in, V_ZX::zx_to_xy));
         }},
        {"zx_viewed_as_xy", "velPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             decorate<V_ZX>(s, viewtest::mapped(in, velXYViewedAsZXPolylineListIter::xy_to_zx));
         }},
        {"flattened", "velFlattenedPolylineListIter", true, -1,
         [](Subject& s, const Polylines& in) {
             decorate<velFlattenedPolylineListIter>(s, at_heights(in), 0.0);
         },
         0.0, true},
        // A flat ramp (both ends at 0) presents the lifted input at z = 0 again, every span straight.
        {"interpolating_z", "velInterpolatingZPolylineListIter", false, -1,
         [](Subject& s, const Polylines& in) {
             decorate<velInterpolatingZPolylineListIter>(s, at_heights(in), 0.0, 0.0);
         },
         0.0, true},
        // With a tolerance larger than any arc every arc is one chord: the positions, all spans straight.
        {"smashed", "velSmashedPolylineListIter", false, -1,
         [](Subject& s, const Polylines& in) { decorate<velSmashedPolylineListIter>(s, in, 1e12); }},
        {"subset", "velPolylineListIterSubset", true, -1,
         [](Subject& s, const Polylines& in) {
             std::vector<int> all(in.size());
             std::iota(all.begin(), all.end(), 0);
             view_over(s, in, [&all](V& u) { return std::make_unique<velPolylineListIterSubset>(it_range(all), u); });
         }},
        // Records beside the list, some polylines without an array.
        {"offset_flags", "velPolylineWithOffsetFlagsListIter velPolylineListIterWithOffsetFlags", true, -1,
         [](Subject& s, const Polylines& in) {
             auto& flags = s.hold<velOffsetInfocoPageArrcoPrfcoDList>();
             for (std::size_t k = 0; k + 1 < in.size(); ++k) {
                 auto a = std::make_shared<velOffsetInfocoPageArr>();
                 a->append({1, int(k), velSpanSideLeft});
                 velOffsetInfocoPageArrcoPrfcoDListcoCursor(flags).insert_last(k % 2 ? a : nullptr);
             }
             view_over(s, in, [&flags](V& u) { return std::make_unique<velPolylineWithOffsetFlagsListIter>(u, flags); });
         }},
        // Stored started half way round with a detour at the closing point; the detour is trimmed off, and the
        // view joins the piece that runs into the closing point to the one that runs out of it: P_1 .. P_n.
        {"without_closure_breaks", "velTPLIWithoutClosureBreaks", true, -1,
         [](Subject& s, const Polylines& in) {
             std::vector<int> cut_at;
             Cursor& list = s.hold<Cursor>();
             fill(list, started_half_way(in, cut_at));
             auto& trimmed = s.hold<velTrimmedPolylineListIter>(list.iterator());
             for (std::size_t k = 0; k < cut_at.size(); ++k) {
                 if (cut_at[k] < 0) continue;
                 trimmed.set_underlying_curve(static_cast<int>(k));
                 trimmed.trim(cut_at[k], cut_at[k] + 2);
             }
             s.view(std::make_unique<velTPLIWithoutClosureBreaks>(trimmed));
         }},
        // The outline of a random box, anticlockwise for odd seeds.
        {"box_outline", "velBoxPolylineListIter", false, 1,
         [](Subject& s, const Polylines& in) {
             const giPoint3 a = polytest::pos(*in[0], 1), b = polytest::pos(*in[0], 2), c = polytest::pos(*in[0], 3);
             s.view(std::make_unique<velBoxPolylineListIter>(giBox2(a.xy(), c.xy()), a.z, b.y == a.y));
         },
         0.0, false, false,
         [](unsigned seed) {
             Rng rng(seed);
             const double x0 = rng.uniform(-50, 50), y0 = rng.uniform(-50, 50), z = rng.uniform(-5, 5);
             const double x1 = x0 + rng.uniform(0.5, 40), y1 = y0 + rng.uniform(0.5, 40);
             const giPoint3 turn = seed % 2 ? giPoint3{x1, y0, z} : giPoint3{x0, y1, z};
             const giPoint3 back = seed % 2 ? giPoint3{x0, y1, z} : giPoint3{x1, y0, z};
             Polylines out;
             out.push_back(std::make_unique<velPolyArcLineDouble>());
             for (const giPoint3& q : {giPoint3{x0, y0, z}, turn, giPoint3{x1, y1, z}, back, giPoint3{x0, y0, z}})
                 out.front()->add_pos(q);
             return out;
         }}};
    // The bulge is the stored one, seen before the exchange: the same magnitude (see the bulge check).
    for (const auto w : {velSwitchXY, velSwitchYZ, velSwitchZX}) {
        kinds.push_back(
            {"switched_" + std::to_string(int(w)), "velSwitchedCoordinatePolylineListIter", true, -1,
             [w](Subject& s, const Polylines& in) {
                 const auto swap = [w](const giPoint3& p) {
                     return velSwitchedCoordinatePolylineListIter::switch_coordinates(p, w);
                 };
                 decorate<velSwitchedCoordinatePolylineListIter>(s, viewtest::mapped(in, swap), w);
             },
             1e-12});
    }
    return kinds;
}

// p with every point at z = 0. A tilted arc becomes the arc through its three projected points, with that
// arc's own halfway point for its mid point (the projected mid point lies on it, but not halfway).
std::unique_ptr<velAbsPolyArcLine> flattened(const velAbsPolyArcLine& p) {
    auto out = std::make_unique<velPolyArcLineDouble>();
    giPoint3 last;
    for (int i = 1; i <= p.num_pos(); ++i) {
        giPoint3 e = polytest::pos(p, i);
        e.z = 0.0;
        if (i == 1 || p.span_linear(i - 1)) {
            out->add_pos(e);
        } else {
            giPoint3 m = polytest::mid(p, i - 1);
            m.z = 0.0;
            out->add_arc(viewtest::halfway(last, m, e), e);
        }
        last = e;
    }
    return out;
}

bool has_repeated_position(const velAbsPolyArcLine& p) {
    for (int i = 2; i <= p.num_pos(); ++i) {
        if (polytest::pos(p, i).coincident(polytest::pos(p, i - 1), 1e-5)) return true;
    }
    return false;
}

class IteratorProtocol : public ::testing::TestWithParam<IterKind> {
protected:
    static std::unique_ptr<Subject> make(const Polylines& in) {
        auto s = std::make_unique<Subject>();
        GetParam().make(*s, in);
        return s;
    }
    // A random list that the kind can hold: 7 polylines, or as many as it takes.
    Polylines input(unsigned seed, bool tilt = false) {
        if (GetParam().own_input) return GetParam().own_input(seed);
        Rng rng(seed);
        Polylines in = random_list(rng, GetParam().max_size > 0 ? GetParam().max_size : 7, tilt);
        if (GetParam().max_size == 1 && in.front()->num_pos() == 0) in.front() = random_polyline(rng, 5, 0.0);
        if (GetParam().flat) {
            for (auto& p : in)
                p = flattened(*p);
        }
        if (GetParam().distinct) {
            for (auto& p : in) {
                if (has_repeated_position(*p)) p = random_polyline(rng, p->num_pos(), 0.0);
            }
        }
        return in;
    }
};

TEST_P(IteratorProtocol, EmptyListIsUndefinedThroughout) {
    if (GetParam().max_size == 1) GTEST_SKIP() << "holds exactly one polyline";
    const auto s = make({});
    velPolylineListIter& it = s->iter();
    EXPECT_EQ(it.size(), 0);
    it.reset();
    EXPECT_EQ(++it, 0);
    EXPECT_EQ(it.index(), -1);
    EXPECT_NE(it.undefined(), 0);
}

TEST_P(IteratorProtocol, WalksEveryPolylineInOrderAndAgainAfterReset) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const Polylines in = input(seed, seed % 2 == 0);
        const auto s = make(in);
        velPolylineListIter& it = s->iter();
        ASSERT_EQ(it.size(), static_cast<int>(in.size()));
        EXPECT_EQ(it.all_spans_linear() != 0, !GetParam().arcs);
        for (int pass = 0; pass < 2; ++pass) {
            it.reset();
            EXPECT_TRUE(it.undefined());
            for (std::size_t k = 0; k < in.size(); ++k) {
                ASSERT_NE(++it, 0);
                ASSERT_EQ(it.index(), static_cast<int>(k));
                expect_same_polyline(it, *in[k], GetParam().arcs, GetParam().tol);
                for (int i = 0; i + 1 < it.num_pos(); ++i) {
                    const double b = it.span_linear(i) ? 0.0
                                                       : velArc3Utils::bulge(it.get_pos(i), it.get_pos(i + 1),
                                                                             it.get_mid_pos(i));
                    if (GetParam().tol == 0.0) {
                        EXPECT_NEAR(it.get_bulge(i), b, 4e-16 * (1 + std::fabs(b)));
                    } else {
                        // A workplane view gives the bulge seen from the workplane's own +Z: the same
                        // magnitude, the sign of the plane it was computed in.
                        EXPECT_NEAR(std::fabs(it.get_bulge(i)), std::fabs(b), 1e-12);
                    }
                    // Integer parameters are positions, exactly.
                    EXPECT_EQ(it.get_interpolated_pos(i + 1.0), it.get_pos(i + 1));
                }
            }
            EXPECT_EQ(++it, 0);
            EXPECT_EQ(it.index(), -1);
        }
    }
}

TEST_P(IteratorProtocol, SetIndexJumpsBothWays) {
    const Polylines in = input(11);
    const auto s = make(in);
    velPolylineListIter& it = s->iter();
    Rng rng(12);
    const int n = static_cast<int>(in.size());
    for (int jump = 0; jump < 200; ++jump) {
        const int k = rng.pick(-1, n - 1);
        it.set_index(k);
        ASSERT_EQ(it.index(), k);
        if (k < 0) {
            EXPECT_TRUE(it.undefined());
            continue;
        }
        ASSERT_EQ(it.num_pos(), in[static_cast<std::size_t>(k)]->num_pos());
        if (it.num_pos() > 0) {
            EXPECT_TRUE(
                it.get_pos(0).coincident(polytest::pos(*in[static_cast<std::size_t>(k)], 1), GetParam().tol));
        }
        // Stepping on from a jump continues the list.
        if (k + 1 < n) {
            ASSERT_NE(++it, 0);
            EXPECT_EQ(it.index(), k + 1);
        }
    }
    it.set_index(-1);
    ASSERT_NE(++it, 0);
    EXPECT_EQ(it.index(), 0);
}

TEST_P(IteratorProtocol, ClonesMoveIndependently) {
    const Polylines in = input(21);
    const auto s = make(in);
    velPolylineListIter& it = s->iter();
    const int n = it.size();
    it.set_index(n - 1);
    const std::unique_ptr<velPolylineListIter> clone(it.create_new());
    EXPECT_EQ(clone->index(), n - 1);
    EXPECT_EQ(clone->ut_dynamic_type(), it.ut_dynamic_type());
    clone->reset();
    ASSERT_NE(++*clone, 0);
    EXPECT_EQ(clone->index(), 0);
    EXPECT_EQ(it.index(), n - 1);
    EXPECT_EQ(++it, 0);
    EXPECT_EQ(clone->index(), 0);
    expect_same_polyline(*clone, *in.front(), GetParam().arcs, GetParam().tol);
}

// Every sampled point of a polyline lies in its boxes, and every face of a box is reached by a sample:
// exact boxes, planar and tilted arcs alike; slots outside the polyline have empty boxes.
TEST_P(IteratorProtocol, BoxesAreTheExtentsOfSampledPoints) {
    for (unsigned seed = 41; seed <= 44; ++seed) {
        const Polylines in = input(seed, seed % 2 == 0);
        const auto s = make(in);
        velPolylineListIter& it = s->iter();
        for (it.reset(); ++it;) {
            const int n = it.num_pos();
            EXPECT_EQ(it.box(vel_3d_box).empty(), n == 0);
            EXPECT_EQ(it.box(vel_2d_box).empty(), n == 0);
            EXPECT_TRUE(it.span_box(-1, vel_3d_box).empty() && it.span_box(n - 1, vel_2d_box).empty());
            viewtest::expect_tight_boxes(it);
        }
    }
}

// Where a kind gives a contour view of its current polyline, the view's spans are the iterator's spans, and
// a reader cannot write through it.
TEST_P(IteratorProtocol, ContourViewsShowTheCurrentPolyline) {
    const Polylines in = input(21);
    const auto s = make(in);
    velPolylineListIter& it = s->iter();
    // Kinds over poly-arc-lines or curve polylines in storage; views that change the geometry give none.
    const std::string& name = GetParam().name;
    const bool has_view = name.rfind("list", 0) == 0 || name.rfind("sequence", 0) == 0 || name == "vector" ||
                          name == "random_access" || name == "single" || name == "append" ||
                          name == "curve_polyline3" || name == "offset_flags";
    it.reset();
    while (++it) {
        const velAbsContourcoPrf c = it.get_current();
        ASSERT_EQ(c != nullptr, has_view);
        if (!c) continue;
        const int n = it.num_pos();
        ASSERT_EQ(c->size(), std::max(n - 1, 0));
        for (int i = 1; i <= c->size(); ++i) {
            const velAbsSpancoPrf span = c->get_span(i);
            EXPECT_EQ(span->start_point(), it.get_pos(i - 1));
            EXPECT_EQ(span->end_point(), it.get_pos(i));
            ASSERT_EQ(span->is_of_class_arc() != 0, !it.span_linear(i - 1));
            if (span->is_of_class_arc()) {
                EXPECT_EQ(span->mid_point(), it.get_mid_pos(i - 1));
            }
        }
        if (c->size() > 0) {
            EXPECT_EQ(c->append(c->first_span()->create_new()), 0);
            EXPECT_EQ(c->size(), n - 1);
        }
    }
}

// Whether `it` casts to each class C (named in `names`) exactly when `types` names it.
template <class... C>
bool casts_only_as(const velPolylineListIter& it, const std::string& types, std::string names) {
    for (const bool casts : {(C::ut_dynamic_cast(&it) != nullptr)...}) {
        const std::size_t from = names.find_first_not_of(", "), to = names.find(',', from);
        const std::string name = names.substr(from, to - from);
        names.erase(0, std::min(to, names.size()));
        if (casts != ((" " + types + " ").find(" " + name + " ") != std::string::npos)) {
            ADD_FAILURE() << name;
            return false;
        }
    }
    return true;
}
#define ARCLINE_CASTS_ONLY_AS(it, types, ...) casts_only_as<__VA_ARGS__>(it, types, #__VA_ARGS__)

// Every class with a run-time identity of its own.
bool casts_as(const velPolylineListIter& it, const std::string& types) {
    return ARCLINE_CASTS_ONLY_AS(
        it, types, velPolylineListIterWP, velPolylineListIterAppend, velPolylineListIterWithVector,
        velPolylineListIterWithClosureFlags, velPolylineListIterWithOffsetFlags, velReversedPolylineListIter,
        velSwitchedCoordinatePolylineListIter, velFlattenedPolylineListIter,
        velInterpolatingZPolylineListIter, velSmashedPolylineListIter, velPolylineListIterSubset,
        velPolylineWithOffsetFlagsListIter, velBoxPolylineListIter, velSingleAbsArcLineListIter,
        velAbsPolyArcLineListIter, velAbsPolyArcLineListRAIter, torPolyline3ListIter, torPolyline2ListIter,
        torCurvePtr3PolylineListIter, velTrimmedPolylineListIter, velSingleTrimmedPolylineListIter,
        velTPLIWithoutClosureBreaks);
}
#undef ARCLINE_CASTS_ONLY_AS

// Each kind is of its own class and of its bases only, under its own name (kinds without an identity of
// their own answer as the base); clones keep it (ClonesMoveIndependently).
TEST_P(IteratorProtocol, RunTimeIdentityIsItsClassAndItsBasesOnly) {
    const auto s = make(input(21));
    const std::string& types = GetParam().types;
    EXPECT_EQ(s->iter().ut_dynamic_type().name(), types.substr(0, types.find(' ')));
    EXPECT_TRUE(s->iter().ut_is_kind_of(velPolylineListIter::ut_static_type()));
    EXPECT_TRUE(casts_as(s->iter(), types));
}

// The abstract extensions, through minimal empty lists; the non-const cast and null.
template <class Base, class Self>
class EmptyList : public Base {
public:
    int size() const override { return 0; }
    void reset() override {}
    int operator++() override { return 0; }
    int num_pos() const override { return 0; }
    giPoint3 get_pos(int) const override { return {}; }
    int index() const override { return -1; }
    void set_index(int) override {}
    velPolylineListIter* create_new() const override { return new Self(static_cast<const Self&>(*this)); }
};
struct WithVector : EmptyList<velPolylineListIterWithVector, WithVector> {
    giVector3 get_vector(int) const override { return {}; }
};
struct WithClosureFlags : EmptyList<velPolylineListIterWithClosureFlags, WithClosureFlags> {
    int start_closure_flag() const override { return 1; }
    int end_closure_flag() const override { return 0; }
};

TEST(IteratorIdentity, AbstractExtensionsAndCasts) {
    const WithVector vec;
    const WithClosureFlags closure;
    EXPECT_TRUE(casts_as(vec, "velPolylineListIterWithVector"));
    EXPECT_TRUE(casts_as(closure, "velPolylineListIterWithClosureFlags"));
    EXPECT_EQ(std::string(closure.ut_dynamic_type().name()), "velPolylineListIterWithClosureFlags");
    const std::unique_ptr<velPolylineListIter> clone(vec.create_new());
    EXPECT_EQ(&clone->ut_dynamic_type(), &vec.ut_dynamic_type());
    velPolyArcLineDouble line;
    velSingleAbsArcLineListIter single(line);
    velPolylineListIter* as_base = &single;
    EXPECT_EQ(velSingleAbsArcLineListIter::ut_dynamic_cast(as_base), &single);
    EXPECT_EQ(velAbsPolyArcLineListIter::ut_dynamic_cast(as_base), nullptr);
    EXPECT_EQ(velPolylineListIterWP::ut_dynamic_cast(static_cast<const velPolylineListIter*>(nullptr)),
              nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllIterators, IteratorProtocol, ::testing::ValuesIn(iterator_kinds()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------------
// Cursor kinds

struct CursorKind {
    std::string name;
    bool arcs;  // keeps arcs
    double tol; // storage precision for coordinates below 100
    std::function<std::unique_ptr<velPolylineListCursor>()> make;
    bool flat = false; // keeps x and y only, every z reads back 0
    friend void PrintTo(const CursorKind& k, std::ostream* os) { *os << k.name; }
};

struct VecCursor : velAbsPolyArcLineVecListCursor {
    VecCursor() : velAbsPolyArcLineVecListCursor(&storage) {}
    Polylines storage;
};

std::vector<CursorKind> cursor_kinds() {
    return {
        {"list_double", true, 0.0, [] { return std::make_unique<velAbsPolyArcLineListCursor>(); }},
        {"list_single", true, 1e-5,
         [] {
             auto c = std::make_unique<velAbsPolyArcLineListCursor>();
             c->set_arcline_type(velPolyArcLine());
             return c;
         }},
        {"list_straight", false, 1e-5,
         [] {
             auto c = std::make_unique<velAbsPolyArcLineListCursor>();
             c->set_arcline_type(velPolyLine());
             return c;
         }},
        {"vector", false, 0.0, [] { return std::make_unique<VecCursor>(); }},
        {"vector_created_empty", false, 0.0,
         [] { return std::unique_ptr<velPolylineListCursor>(VecCursor().create_empty()); }},
        {"curve_polyline3", false, 0.0,
         [] { return std::make_unique<torPolyline3ListCursor>(ut_ptr_claim, new torCurvePtr3coDList); }},
        {"curve_polyline2", false, 0.0,
         [] { return std::make_unique<torPolyline2ListCursor>(ut_ptr_claim, new torCurvePtr2coDList); },
         true},
        {"curve_pointer_polyline", false, 0.0,
         [] { return std::make_unique<torCurvePtr3PolylineListCursor>(); }},
        {"offset_flags", true, 0.0,
         [] {
             return std::make_unique<velPolylineWithOffsetFlagsListCursor>(ut_ptr_claim,
                                                                           new velAbsPolyArcLineListCursor);
         }},
    };
}

// One producer sequence over `src`: even polylines forwards (started by an interpolated position, ended by a
// straight span to a random point of it), odd ones backwards, every span whole or split at a random place.
// `from` gets, per written polyline, the source span of each written span (-1 for a straight join).
void produce(velPolylineListIter& src, velPolylineListCursor& out, unsigned seed,
             std::vector<std::vector<int>>* from = nullptr) {
    Rng rng(seed);
    const auto spans = [&out] { return std::max(out.num_pos() - 1, 0); };
    const auto note = [&](int span, int before) {
        if (from) from->back().insert(from->back().end(), static_cast<std::size_t>(spans() - before), span);
    };
    src.reset();
    while (++src) {
        const int n = src.num_pos();
        if (n == 0) continue;
        out.create_polyline();
        ++out;
        if (from) from->emplace_back();
        const bool backwards = src.index() % 2 == 1;
        backwards ? out.add_pos(src, n - 1) : out.add_interpolated_pos(src, 0.0);
        for (int s = 0; s + 1 < n; ++s) {
            const int i = backwards ? n - 2 - s : s, before = spans();
            const double a = backwards ? i + 1 : i, b = backwards ? i : i + 1;
            if (rng.pick(0, 1) == 0) {
                out.add_span(src, a, b);
            } else {
                const double split = i + rng.uniform(0.2, 0.8);
                out.add_span(src, a, split);
                out.add_span(src, split, b);
            }
            note(i, before);
        }
        const int before = spans();
        if (!backwards && n > 1) out.add_interpolated_pos(src, rng.uniform(0, n - 1));
        note(-1, before);
    }
}

class CursorProtocol : public ::testing::TestWithParam<CursorKind> {};

// Cursors over poly-arc-line lists and curve polylines give a writable contour view of the current
// polyline: spans appended through it are the polyline's spans.
TEST_P(CursorProtocol, ContourViewWritesTheCurrentPolyline) {
    const std::string& name = GetParam().name;
    const bool has_view = name.rfind("list_", 0) == 0 || name == "curve_polyline3" || name == "offset_flags";
    Rng rng(71);
    auto source = random_polyline(rng, 7, 0.0, true);
    if (!GetParam().arcs) {
        auto straight = std::make_unique<velPolyArcLineDouble>();
        for (int i = 1; i <= source->num_pos(); ++i)
            straight->add_pos(polytest::pos(*source, i));
        source = std::move(straight);
    }
    const velPolyArcLineAdapter from(*source);
    auto out = GetParam().make();
    EXPECT_FALSE(out->get_current()) << "no current polyline";
    out->create_polyline();
    ++*out;
    const velAbsContourcoPrf c = out->get_current();
    ASSERT_EQ(c != nullptr, has_view);
    if (!c) return;
    for (int i = 1; i <= from.size(); ++i) {
        ASSERT_EQ(c->append(from.get_span(i)), 1) << i;
    }
    EXPECT_EQ(c->is_closed(), 1);
    ASSERT_EQ(out->num_pos(), source->num_pos());
    for (int i = 0; i < out->num_pos(); ++i) {
        EXPECT_TRUE(out->get_pos(i).coincident(polytest::pos(*source, i + 1), GetParam().tol * 100)) << i;
    }
}

// remove: the next polyline current (none after the last); create on an undefined cursor: at the front;
// moved from a sibling (create_empty): after the current one, which stays current.
TEST_P(CursorProtocol, RemoveMoveAndCreateKeepTheirPlaces) {
    using viewtest::first_xs, viewtest::numbered;
    auto c = GetParam().make();
    fill(*c, numbered(0, 4));
    c->set_index(1);
    c->remove();
    EXPECT_EQ(c->index(), 1);
    EXPECT_EQ(c->get_pos(0).x, 2);
    c->set_index(2);
    c->remove();
    EXPECT_EQ(c->index(), -1);
    EXPECT_EQ(first_xs(*c), (std::vector<double>{0, 2}));

    const std::unique_ptr<velPolylineListCursor> other(c->create_empty());
    EXPECT_EQ(other->size(), 0);
    fill(*other, numbered(7, 2));
    other->set_index(0);
    c->set_index(0);
    c->move_polyline_after(*other);
    EXPECT_EQ(c->index(), 0);
    EXPECT_EQ(first_xs(*c), (std::vector<double>{0, 7, 2}));
    ASSERT_EQ(other->size(), 1);
    other->set_index(0);
    EXPECT_EQ(other->get_pos(0).x, 8);

    c->reset();
    c->create_polyline();
    ++*c;
    EXPECT_EQ(c->index(), 0);
    EXPECT_EQ(c->num_pos(), 0);
    EXPECT_EQ(c->size(), 4);
    c->clear();
    EXPECT_EQ(c->size(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllCursors, CursorProtocol, ::testing::ValuesIn(cursor_kinds()),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------------
// Decorating views against their formulas (the protocol only sees them map a prepared list back).

// A polyline along the x axis whose span 2 (numbered from 0) is a half circle from (2, 0) to (4, 0).
std::unique_ptr<velAbsPolyArcLine> with_arc_span_2() {
    auto p = std::make_unique<velPolyArcLineDouble>();
    for (const double x : {0.0, 1.0, 2.0})
        p->add_pos({x, 0, 0});
    p->add_arc({3, -1, 0}, {4, 0, 0});
    p->add_pos({5, 0, 0});
    return p;
}

TEST(DecoratingViews, CoordinateExchangesFollowTheirFormula) {
    const giPoint3 p{1, 2, 3};
    using V = velSwitchedCoordinatePolylineListIter;
    EXPECT_EQ(V::switch_coordinates(p, velSwitchXY), (giPoint3{2, 1, 3}));
    EXPECT_EQ(V::switch_coordinates(p, velSwitchYZ), (giPoint3{1, 3, 2}));
    EXPECT_EQ(V::switch_coordinates(p, velSwitchZX), (giPoint3{3, 2, 1}));
    EXPECT_EQ(V::switch_coordinates(p, static_cast<velSwitchedCoordinates>(7)), p);
    EXPECT_TRUE(V::switch_coordinates(giPoint3(), velSwitchZX).is_unset()); // the no-mid-point marker
    EXPECT_EQ(velXYViewedAsZXPolylineListIter::xy_to_zx(p), (giPoint3{2, 3, 1}));
    EXPECT_EQ(velZXViewedAsXYPolylineListIter::zx_to_xy(p), (giPoint3{3, 1, 2}));
    const auto line = with_arc_span_2(); // the reversed view numbers back to the underlying polyline
    velReversedPolylineListIter rev(velSingleAbsArcLineListIter{*line});
    ++rev;
    EXPECT_EQ(rev.underlying_pos_index(0), 4);
    EXPECT_EQ(rev.underlying_span_index(0), 3);
}

// Same XY curve at the level; a tilted arc (an ellipse's shadow) as the arc through its projected points.
TEST(DecoratingViews, FlattenedViewKeepsTheXYCurve) {
    for (unsigned seed = 11; seed <= 14; ++seed) {
        Rng rng(seed);
        const auto list = viewtest::list_of(random_list(rng, 6, true));
        velPolylineListIter& base = list->iterator();
        velFlattenedPolylineListIter flat(base, 4.0);
        EXPECT_EQ(flat.z_level(), 4.0);
        for (base.reset(), flat.reset(); ++flat && ++base;) {
            for (int i = 0; i + 1 < flat.num_pos(); ++i) {
                const giPoint3 s = flat.get_pos(i), e = flat.get_pos(i + 1);
                EXPECT_TRUE(s.z == 4.0 && s.x == base.get_pos(i).x && s.y == base.get_pos(i).y);
                if (flat.span_linear(i)) continue;
                const giPoint3 m = flat.get_mid_pos(i);
                EXPECT_EQ(m.z, 4.0);
                EXPECT_NEAR(m.distance(s), m.distance(e), 1e-9);
                giPoint3 projected = base.get_mid_pos(i), c;
                projected.z = 4.0;
                double r = 0.0;
                velArc3Utils::get_centre_and_radius(s, e, m, c, r);
                EXPECT_NEAR(projected.distance(c), r, 1e-9 * (1 + r));
                const giVector3 chord = e - s; // on the arc, not the rest of the circle
                EXPECT_GT((projected - s).cross(chord).dot((m - s).cross(chord)), 0.0);
            }
            viewtest::expect_tight_boxes(flat);
        }
    }
}

// Index lists with repeats, and lists of which one part is empty.
TEST(DecoratingViews, SubsetsAndAppendsNumberWhatTheyPresent) {
    Rng rng(2);
    const Polylines in = random_list(rng, 8);
    const auto list = viewtest::list_of(in);
    std::vector<int> indices{2, 0, 2, 7};
    velPolylineListIterSubset subset(it_range(indices), list->iterator());
    indices.clear(); // copied at construction
    EXPECT_EQ(subset.indices(), (std::vector<int>{2, 0, 2, 7}));
    for (const int k : {2, 0, 2, 7}) {
        ASSERT_EQ(++subset, 1);
        expect_same_polyline(subset, *in[static_cast<std::size_t>(k)], true);
    }
    EXPECT_EQ(++subset, 0);

    velAbsPolyArcLineListCursor empty, lines;
    for (velPolylineListIterAppend v : {velPolylineListIterAppend(empty.iterator(), list->iterator()),
                                        velPolylineListIterAppend(list->iterator(), empty.iterator())}) {
        EXPECT_EQ(v.first_iterator_size() + v.second_iterator_size(), 8);
        int count = 0;
        while (++v)
            EXPECT_EQ(v.index(), count++);
        EXPECT_EQ(count, 8);
        EXPECT_EQ(++v, 1); // off the end, ++ starts again without a reset
        EXPECT_EQ(v.index(), 0);
    }
    // Straight only when both lists are (clones and boxes: the protocol's "append" kind).
    lines.set_arcline_type(velPolyLineDouble());
    fill(lines, random_list(rng, 2));
    EXPECT_EQ(velPolylineListIterAppend(lines.iterator(), lines.iterator()).all_spans_linear(), 1);
    EXPECT_EQ(velPolylineListIterAppend(lines.iterator(), list->iterator()).all_spans_linear(), 0);
    // The outline of a space box lies at its top.
    const velBoxPolylineListIter top(giBox3({-1, -2, -3}, {4, 5, 6}), 1);
    EXPECT_EQ(top.box(vel_3d_box), giBox3({-1, -2, 6}, {4, 5, 6}));
}

// A wrapped workplane view follows the iterator it wraps; an owning one (and a clone) keeps its own copy.
TEST(DecoratingViews, WrappedWorkplaneViewFollowsItsIterator) {
    Rng rng(13);
    const auto list = viewtest::list_of(random_list(rng, 4));
    velPolylineListIter& local = list->iterator();
    local.set_index(1);
    const giWorkplane3 wp(giPoint3(3, -2, 7), giVector3(1, 0, 0), giVector3(0, -1, 0));
    velPolylineListIterWP wrapped(wp, local, ut_ptr_wrap), owned(wp, local);
    const std::unique_ptr<velPolylineListIterWP> clone(wrapped.create_new());
    local.set_index(2);
    EXPECT_EQ(&wrapped.underlying_iterator(), &local);
    EXPECT_EQ(wrapped.index(), 2);
    EXPECT_EQ(owned.index(), 1);
    EXPECT_EQ(clone->index(), 1);
    // The bulge is the one stored in the workplane, whichever way the plane faces the world; mid points map.
    for (int i = 0; i + 1 < wrapped.num_pos(); ++i) {
        EXPECT_EQ(wrapped.get_bulge(i), local.get_bulge(i)) << i;
        const giPoint3 m = local.get_mid_pos(i); // a straight span's marker stays the marker
        EXPECT_EQ(wrapped.get_mid_pos(i), m.is_unset() ? m : wp.to_world(m)) << i;
    }
}

// ---------------------------------------------------------------------------------------------------------
// What particular storages and cursors do beyond the protocol.

using viewtest::first_xs, viewtest::numbered;

// Counts the steps taken on the sequence it wraps.
struct CountingSteps : itIterator<std::unique_ptr<velAbsPolyArcLine>> {
    explicit CountingSteps(const Polylines& v, int* steps) : range(v), steps(steps) {}
    std::unique_ptr<itIterator> clone() const override { return std::make_unique<CountingSteps>(*this); }
    void reset() override { range.reset(); }
    bool operator++() override {
        ++*steps;
        return ++range;
    }
    const std::unique_ptr<velAbsPolyArcLine>& current() const override { return range.current(); }
    itRangeIterator<Polylines> range;
    int* steps;
};

// A sequence is counted once; set_index walks on forward and restarts to go back.
TEST(velAbsPolyArcLineItListIter, CountsOnceAndRestartsToGoBack) {
    const Polylines v = numbered(0, 5);
    int steps = 0;
    velAbsPolyArcLineItListIter it{CountingSteps(v, &steps)};
    EXPECT_EQ(it.size() + it.size(), 10);
    EXPECT_EQ(steps, 6);
    for (const auto& [k, total] : {std::pair{3, 10}, {1, 12}, {4, 15}}) {
        it.set_index(k);
        EXPECT_EQ(steps, total) << k;
        EXPECT_EQ(it.get_pos(0).x, k);
    }
}

// A snapshot from a list position on; polylines added later are not seen.
TEST(velAbsPolyArcLineListRAIter, SnapshotFromAListPosition) {
    velAbsPolyArcLineListCursor c;
    fill(c, numbered(0, 5));
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator from(c.list());
    from.set_index(2);
    velAbsPolyArcLineListRAIter it(from);
    it.set_index(0);
    EXPECT_EQ(it.get_pos(0).x, 3);
    c.set_index(4);
    fill(c, numbered(5, 1));
    EXPECT_EQ(it.size(), 2);
    EXPECT_EQ(velAbsPolyArcLineListRAIter(c.list()).size(), 6);
}

// Straight storage reads straight, other indices are undefined; an arc whose ends coincide within 1e-10 is
// a point for interpolation: its start, whatever its mid point.
TEST(velSingleAbsArcLineListIter, StraightStorageOtherIndicesAndArcsWithoutChord) {
    velPolyLine straight;
    straight.add_pos({1, 2, 3});
    velSingleAbsArcLineListIter it(straight);
    EXPECT_EQ(it.all_spans_linear(), 1);
    it.set_index(7);
    EXPECT_EQ(it.index(), -1);
    it.set_index(0);
    EXPECT_EQ(&it.get_polyline(), &straight);
    velPolyArcLineDouble p;
    p.add_pos({0, 0, 0});
    p.add_pos({1, 0, 0});
    p.add_arc({2, 1, 0}, {1, 5e-11, 0});
    velSingleAbsArcLineListIter chordless(p);
    ++chordless;
    EXPECT_EQ(chordless.get_interpolated_pos(1.5), (giPoint3{1, 0, 0}));
    EXPECT_EQ(chordless.get_interpolated_pos(0.5), (giPoint3{0.5, 0, 0}));
}

TEST(velPolylineListIter, WritesItsTextForm) {
    Polylines in = numbered(0, 2);
    in[0]->add_arc({1.5, 0.5, 0}, {2, 0, 0});
    velAbsPolyArcLineListCursor c;
    fill(c, in);
    c.set_index(1);
    std::ostringstream os;
    os << c;
    EXPECT_EQ(os.str(),
              "velPolylineListCursor {\nvelPolylineListIter {\n"
              "0: (3) (0, 0, 0) (0, 1, 0) M (1.5, 0.5, 0) (2, 0, 0)\n1: (2) (1, 0, 0) (1, 1, 0)\n}\n}\n");
    EXPECT_EQ(c.index(), 1); // the output walked a clone
}

// New polylines go after the current slot (at the front when undefined) in the first polyline's class; a
// polyline from a list cursor is copied in; a bad index throws the message callers know.
TEST(velAbsPolyArcLineVecListCursor, InsertsAfterTheCurrentSlotInTheFirstPolylinesClass) {
    Polylines v;
    velAbsPolyArcLineVecListCursor c(&v);
    c.create_polyline(); // empty vector: a velPolyArcLineDouble
    EXPECT_NE(dynamic_cast<velPolyArcLineDouble*>(v.front().get()), nullptr);
    v.front() = std::make_unique<velPolyLine>();
    v.front()->add_pos({0, 0, 0});
    c.create_polyline();
    EXPECT_NE(dynamic_cast<velPolyLine*>(v.front().get()), nullptr);
    v.front() = std::move(numbered(1, 1).front());
    c.set_index(1);
    c.create_polyline(); // on the last: appended
    v.back() = std::move(numbered(2, 1).front());
    c.set_index(0);
    c.create_polyline(); // after the current one, which stays current
    v[1] = std::move(numbered(-1, 1).front());
    EXPECT_EQ(c.index(), 0);
    EXPECT_EQ(first_xs(c), (std::vector<double>{1, -1, 0, 2}));
    velAbsPolyArcLineListCursor list;
    fill(list, numbered(20, 1));
    c.set_index(3);
    c.move_polyline_after(list);
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(first_xs(c), (std::vector<double>{1, -1, 0, 2, 20}));
    c.set_index(-1);
    EXPECT_THAT([&] { c.current_polyarcline(); },
                ::testing::ThrowsMessage<std::out_of_range>(::testing::StrEq("invalid vector<T> subscript")));
}

torCurvePtr3coDList curve_list(const std::vector<std::vector<giPoint3>>& polylines) {
    torCurvePtr3coDList list;
    for (const auto& pts : polylines)
        coDListcoCursor<torCurvePtr3>(list).insert_last(std::make_shared<torPolyline3>(pts));
    return list;
}

const torPolyline3& nth(const torCurvePtr3coDList& list, int k) {
    return static_cast<const torPolyline3&>(**std::next(list.begin(), k));
}

// Copies are new curves, transforms move every curve, moves take the same curve, another storage is refused.
TEST(torPolyline3ListCursor, CopiesTransformsAndMoves) {
    torCurvePtr3coDList src_list = curve_list({{{0, 0, 1}, {1, 0, 1}}, {}, {{2, 2, 2}, {3, 2, 2}}});
    torCurvePtr3coDList list;
    torPolyline3ListCursor cursor(list);
    torPolyline3ListIter(torCurvePtr3coDListcoIterator(src_list)).copy(cursor);
    ASSERT_EQ(list.size(), 2); // the empty curve is not copied
    EXPECT_NE(&nth(list, 0), &nth(src_list, 0));
    cursor.set_index(1);
    EXPECT_EQ(cursor.current_polyline(), &nth(list, 1));
    cursor.transform(giXform3::rotation_z(std::numbers::pi / 2) * giXform3::translation({0, 0, 1}));
    EXPECT_NEAR(nth(list, 0).get_pos(1).distance({0, 1, 2}), 0, 1e-15);
    EXPECT_NEAR(nth(list, 1).get_pos(0).distance({-2, 2, 3}), 0, 1e-14);
    torCurvePtr3coDList others = curve_list({{{7, 0, 0}}});
    torPolyline3ListCursor other(others);
    other.set_index(0);
    const torPolyline3* moved = other.current_polyline();
    cursor.set_index(0);
    cursor.move_polyline_after(other);
    cursor.set_index(1);
    EXPECT_EQ(cursor.current_polyline(), moved);
    torCurvePtr2coDList flat;
    torPolyline2ListCursor foreign(flat);
    polytest::ReportCapture reports;
    cursor.move_polyline_after(foreign);
    ASSERT_EQ(reports.log.size(), 1u);
    EXPECT_EQ(reports.log[0].second, "torPolyline3ListCursor::move_polyline_after");
    EXPECT_EQ(cursor.size(), 3);
}

// An append view copies into the inner cursor in order; a plain source is refused, an append cursor moved.
TEST(velPolylineListCursorAppend, CopiesIntoTheInnerCursorAndRefusesAPlainSource) {
    Rng rng(41);
    velAbsPolyArcLineListCursor first, second, inner, expected, plain, other_inner;
    fill(first, random_list(rng, 2));
    fill(second, random_list(rng, 3, true));
    velPolylineListIterAppend src(first.iterator(), second.iterator());
    velPolylineListCursorAppend cursor(&inner), other(&other_inner);
    src.copy(cursor);
    src.copy(expected);
    EXPECT_EQ(&cursor.iterator(), &inner.iterator());
    viewtest::expect_same_lists(expected.iterator(), inner.iterator());
    viewtest::add_tagged_line(plain, 3, 7.0);
    viewtest::add_tagged_line(other_inner, 2, 8.0);
    inner.clear();
    cursor.create_last_polyline();
    {
        polytest::ReportCapture capture;
        cursor.add_pos(plain.iterator(), 0);
        cursor.add_interpolated_pos(plain.iterator(), 0.5);
        cursor.add_span(plain.iterator(), 0.0, 1.0);
        EXPECT_EQ(polytest::ReportCapture::log.size(), 3u);
        EXPECT_EQ(polytest::ReportCapture::log[2].second, "velPolylineListCursorAppend::add_span");
    }
    EXPECT_EQ(cursor.num_pos(), 0);
    cursor.move_polyline_after(other);
    EXPECT_EQ(other_inner.size(), 0);
    inner.set_index(1);
    EXPECT_EQ(inner.get_pos(0).y, 8.0);
    const std::unique_ptr<velPolylineListCursor> empty(cursor.create_empty());
    EXPECT_NE(dynamic_cast<velAbsPolyArcLineListCursor*>(empty.get()), nullptr);
}

// World points go in as local ones and read back in world, also through an empty sibling.
TEST(velPolylineListCursorWP, WritesLocalPointsAndReadsThemBackInWorld) {
    Rng rng(21);
    velAbsPolyArcLineListCursor source;
    fill(source, random_list(rng, 4, true));
    const giWorkplane3 wp = viewtest::random_workplane(rng);
    velPolylineListIterWP world(wp, source.iterator());
    velAbsPolyArcLineListCursor inner;
    velPolylineListCursorWP cursor(wp, ut_ptr_wrap, &inner);
    world.copy(cursor);
    velAbsPolyArcLineListCursor local;
    source.iterator().copy(local); // copy() leaves out the empty polylines
    viewtest::expect_same_lists(inner.iterator(), local.iterator());
    const std::unique_ptr<velPolylineListCursorWP> sibling(cursor.create_empty());
    EXPECT_EQ(sibling->size(), 0);
    world.copy(*sibling);
    sibling->set_index(0);
    const int n = sibling->size();
    cursor.clear();
    cursor.append(*sibling); // moves between the two inner cursors
    EXPECT_EQ(sibling->size(), n - 1);
    EXPECT_EQ(cursor.size(), 1);
    cursor.set_add_coincident_point_type(vel_add_start_point_if_apart);
    cursor.create_last_polyline();
    for (world.reset(); ++world && world.num_pos() < 4;) {
    }
    ASSERT_GE(world.num_pos(), 4);
    cursor.add_pos(world, 0);
    cursor.add_span(world, 0.0, 1.0); // starts at the last position: only its end is written
    cursor.add_span(world, 2.0, 3.0);
    ASSERT_EQ(cursor.num_pos(), 4);
    EXPECT_TRUE(cursor.get_pos(2).coincident(world.get_pos(2), 1e-9));
}

TEST(velPolylineListCursorWP, RefusesSourcesAndCursorsOfAnotherKindOrWorkplaneWithoutEffect) {
    Rng rng(22);
    velAbsPolyArcLineListCursor plain;
    viewtest::add_tagged_line(plain, 3, 0.0);
    const giWorkplane3 wp = viewtest::random_workplane(rng), other_wp = viewtest::random_workplane(rng);
    velPolylineListCursorWP cursor(wp, ut_ptr_claim, new velAbsPolyArcLineListCursor);
    velPolylineListCursorWP elsewhere(other_wp, ut_ptr_claim, new velAbsPolyArcLineListCursor);
    cursor.create_last_polyline();
    elsewhere.create_last_polyline();
    const velPolylineListIterWP other_src(other_wp, plain.iterator());
    polytest::ReportCapture capture;
    cursor.add_pos(plain.iterator(), 0);
    cursor.add_interpolated_pos(plain.iterator(), 0.5);
    cursor.add_span(plain.iterator(), 0.0, 1.0);
    cursor.add_pos(other_src, 0);
    cursor.move_polyline_after(plain);
    cursor.move_polyline_after(elsewhere);
    EXPECT_EQ(cursor.num_pos(), 0);
    EXPECT_EQ(cursor.size() + plain.size() + elsewhere.size(), 3);
    ASSERT_EQ(polytest::ReportCapture::log.size(), 6u);
    EXPECT_EQ(polytest::ReportCapture::log[0].first,
              "velPolylineListCursorWP::add_pos() The source is not a velPolylineListIterWP");
    EXPECT_EQ(polytest::ReportCapture::log[3].first,
              "velPolylineListCursorWP::add_pos() The source is over another workplane");
}

using Records = std::vector<velOffsetInfo>;

std::unique_ptr<velPolylineWithOffsetFlagsListCursor> flagged() {
    return std::make_unique<velPolylineWithOffsetFlagsListCursor>(ut_ptr_claim,
                                                                  new velAbsPolyArcLineListCursor);
}

const velPolylineWithOffsetFlagsListIter& view_of(const velPolylineListCursor& c) {
    return *velPolylineWithOffsetFlagsListIter::ut_dynamic_cast(&c.iterator());
}

// The records of the cursor's current polyline, span by span, as its view reads them.
Records records_of(const velPolylineListCursor& c) {
    Records out(static_cast<std::size_t>(std::max(c.num_pos() - 1, 0)));
    for (std::size_t i = 0; i < out.size(); ++i)
        view_of(c).get_offset_info(static_cast<int>(i), out[i]);
    return out;
}

// `count` random polylines written into c, then a random record set on every span; the records by polyline.
std::vector<Records> fill_with_records(velPolylineWithOffsetFlagsListCursor& c, Rng& rng, int count) {
    Polylines in;
    for (int k = 0; k < count; ++k)
        in.push_back(random_polyline(rng, rng.pick(2, 7), 0.0));
    fill(c, in);
    std::vector<Records> all;
    for (c.reset(); ++c;) {
        Records& r = all.emplace_back();
        for (int i = 0; i + 1 < c.num_pos(); ++i) {
            r.push_back({rng.pick(0, 1), rng.pick(-1, 50), static_cast<velSpanSide>(rng.pick(0, 5))});
            c.set_offset_flag(i, r.back().temporary_span, r.back().span_position, r.back().span_side);
        }
    }
    return all;
}

void expect_records(velPolylineListCursor& c, const std::vector<Records>& expected) {
    ASSERT_EQ(c.size(), static_cast<int>(expected.size()));
    c.reset();
    for (const Records& r : expected) {
        ASSERT_EQ(++c, 1);
        EXPECT_EQ(records_of(c), r) << "polyline " << c.index();
    }
}

// The view answers the records, split by span kind, and nothing past the last; copies piece by piece (the
// cursor protocol's producer) give each written span its source span's record, joins the default one.
TEST(velPolylineWithOffsetFlagsListCursor, RecordsGoWithTheSpansWritten) {
    for (unsigned seed = 2; seed <= 5; ++seed) {
        Rng rng(seed);
        auto src = flagged();
        const std::vector<Records> records = fill_with_records(*src, rng, 5);
        const velPolylineWithOffsetFlagsListIter& it = view_of(*src);
        for (src->reset(); ++*src;) {
            const int n = it.num_pos();
            const Records& r = records[static_cast<std::size_t>(it.index())];
            for (int i = 0; i + 1 < n; ++i) {
                EXPECT_EQ(it.span_position(i), r[static_cast<std::size_t>(i)].span_position);
                EXPECT_EQ(it.span_side(i), r[static_cast<std::size_t>(i)].span_side);
                EXPECT_EQ(it.temporary_line(i), it.temporary_span(i) && it.span_linear(i));
                EXPECT_EQ(it.temporary_arc(i), it.temporary_span(i) && !it.span_linear(i));
            }
            EXPECT_EQ(it.offset_info(n - 1), nullptr);
            EXPECT_EQ(it.span_position(n - 1), -1);
        }
        auto out = flagged();
        std::vector<std::vector<int>> from;
        produce(src->iterator(), *out, seed, &from);
        std::vector<Records> expected;
        for (std::size_t k = 0; k < from.size(); ++k) {
            Records& e = expected.emplace_back();
            for (const int span : from[k])
                e.push_back(span < 0 ? velOffsetInfo{} : records[k][static_cast<std::size_t>(span)]);
        }
        expect_records(*out, expected);
    }
}

// Arrays travel with their polylines through create, remove, move and append (empty from a plain cursor).
TEST(velPolylineWithOffsetFlagsListCursor, RecordsMoveWithTheirPolylines) {
    Rng rng(6);
    auto a = flagged(), b = flagged();
    std::vector<Records> ra = fill_with_records(*a, rng, 5), rb = fill_with_records(*b, rng, 2);

    a->set_index(2);
    a->remove();
    ra.erase(ra.begin() + 2);
    EXPECT_EQ(records_of(*a), ra[2]);
    b->set_index(0);
    b->move_polyline_after(*a);
    rb.insert(rb.begin() + 1, ra[2]);
    ra.erase(ra.begin() + 2);
    EXPECT_EQ(a->index(), 2);
    EXPECT_EQ(records_of(*a), ra[2]);
    a->reset();
    a->create_polyline(); // at the front, undefined cursor
    ra.insert(ra.begin(), Records{});
    a->set_index(a->size() - 1);
    b->append(*a);
    rb.push_back(ra.back());
    ra.pop_back();
    velAbsPolyArcLineListCursor plain;
    viewtest::add_tagged_line(plain, 3, 0.0);
    b->append(plain);
    rb.push_back(Records(2)); // no records: the default ones
    b->set_index(b->size() - 1);
    EXPECT_EQ(b->get_current_flags()->size(), 0);
    expect_records(*a, ra);
    expect_records(*b, rb);
    EXPECT_EQ(a->offset_flags().size(), a->size());
    EXPECT_EQ(b->offset_flags().size(), b->size());
    a->clear();
    EXPECT_EQ(a->offset_flags().size(), 0);
    const std::unique_ptr<velPolylineListCursor> empty(b->create_empty());
    EXPECT_NE(dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(empty.get()), nullptr);
    EXPECT_EQ(empty->size(), 0);
}

// Records given for a whole contour survive the writing of its geometry while the contour lock is set;
// unlocked, add_pos writes the default record over them.
TEST(velPolylineWithOffsetFlagsListCursor, ContourLockKeepsRecordsGivenAhead) {
    Rng rng(7);
    auto src = flagged();
    const Records given = fill_with_records(*src, rng, 1).front();
    src->set_index(0);
    const velPolylineListIter& it = src->iterator();
    auto out = flagged();
    out->create_last_polyline();
    out->append_offset_flags(view_of(*src));
    EXPECT_EQ(out->contour_locked(), 1);
    for (int i = 0; i < it.num_pos(); ++i)
        out->add_pos(it, i);
    EXPECT_EQ(records_of(*out), given);
    out->unset_contour_lock();
    out->add_pos(it, 0);
    Records closed = given;
    closed.push_back({});
    EXPECT_EQ(records_of(*out), closed);

    out->create_last_polyline();
    out->set_offset_flag(0, 1, 9, velSpanSideLeft);
    out->add_pos(it, 0);
    out->add_pos(it, 1);
    EXPECT_EQ(records_of(*out), Records{velOffsetInfo{}});
    // set_current_flags shares the array it is given, and locks.
    auto shared = std::make_shared<velOffsetInfocoPageArr>();
    shared->append({1, 3, velSpanSideRight});
    out->set_current_flags(shared);
    EXPECT_EQ(out->get_current_flags(), shared);
    out->add_pos(it, 2);
    EXPECT_EQ(records_of(*out), (Records{{1, 3, velSpanSideRight}, {}}));
    EXPECT_EQ(shared->size(), 2);
    // A null array: no records, the default answers.
    velOffsetInfocoPageArrcoPrf none;
    out->set_current_flags(none);
    EXPECT_EQ(view_of(*out).offset_info(0), nullptr);
    EXPECT_EQ(records_of(*out), Records(2));
}

TEST(velAbsPolyArcLineListCursor, PrototypeDecidesStorageAndStraightness) {
    velAbsPolyArcLineListCursor c;
    c.create_polyline(5); // the size hint changes nothing
    ++c;
    EXPECT_NE(dynamic_cast<velPolyArcLineDouble*>(c.current_polyarcline()), nullptr);
    EXPECT_EQ(c.iterator().all_spans_linear(), 0);
    c.set_arcline_type(velPolyLine());
    EXPECT_EQ(c.iterator().all_spans_linear(), 1);
    c.create_last_polyline();
    EXPECT_NE(dynamic_cast<velPolyLine*>(c.current_polyarcline()), nullptr);
    // Arcs into straight-only storage come out as their end points, without a refusal.
    polytest::ReportCapture reports;
    auto src = with_arc_span_2();
    velSingleAbsArcLineListIter it(*src);
    ++it;
    c.add_pos(it, 0);
    for (int i = 0; i < 4; ++i)
        c.add_span(it, i, i + 1);
    EXPECT_TRUE(reports.log.empty());
    ASSERT_EQ(c.num_pos(), 5);
    EXPECT_EQ(c.get_pos(3), (giPoint3{4, 0, 0}));
    c.set_index(-1);
    EXPECT_EQ(c.current_polyarcline(), nullptr);

    c.set_arcline_type(velPolyArcLine());
    c.set_add_coincident_point_type(vel_add_start_point_if_apart);
    c.set_coincidence_check_tol(0.5);
    const std::unique_ptr<velPolylineListCursor> e(c.create_empty());
    auto& empty = dynamic_cast<velAbsPolyArcLineListCursor&>(*e);
    EXPECT_EQ(empty.size(), 0);
    EXPECT_NE(dynamic_cast<const velPolyArcLine*>(empty.get_arcline_type()), nullptr);
    EXPECT_EQ(empty.add_coincident_point_type(), vel_add_start_point_if_apart);
    EXPECT_EQ(empty.coincidence_check_tol(), 0.5);
}

TEST(velAbsPolyArcLineListCursor, AddSpanWritesWholeArcsPartsAndSlivers) {
    auto src = with_arc_span_2();
    velSingleAbsArcLineListIter it(*src);
    ++it;
    velAbsPolyArcLineListCursor c;
    c.create_last_polyline();
    c.add_pos(it, 2);
    // The whole arc keeps the source's own mid point, in either direction.
    c.add_span(it, 2.0, 3.0);
    c.add_span(it, 3.0, 2.0);
    ASSERT_EQ(c.num_pos(), 3);
    EXPECT_FALSE(c.span_linear(0));
    EXPECT_EQ(c.get_mid_pos(0), (giPoint3{3, -1, 0}));
    EXPECT_EQ(c.get_mid_pos(1), (giPoint3{3, -1, 0}));
    EXPECT_EQ(c.get_pos(2), (giPoint3{2, 0, 0}));
    // A part goes through the source point at the trimmed mid parameter.
    c.add_interpolated_pos(it, 2.25);
    c.add_span(it, 2.25, 2.75);
    const int j = c.num_pos() - 2;
    EXPECT_FALSE(c.span_linear(j));
    const double tm = 2 + velArc2Utils::trimmed_mid_parameter(0.25, 0.75, it.get_bulge(2));
    EXPECT_TRUE(c.get_mid_pos(j).coincident(it.get_interpolated_pos(tm), 1e-15));
    EXPECT_TRUE(c.get_pos(j + 1).coincident(it.get_interpolated_pos(2.75), 1e-15));
    // A sliver has no room for an arc: one straight span to its end, or nothing when already there.
    const int before = c.num_pos();
    c.add_span(it, 2.75, 2.75 + 1e-12);
    ASSERT_EQ(c.num_pos(), before + 1);
    EXPECT_TRUE(c.span_linear(before - 1));
    c.add_span(it, 2.75 + 1e-12, 2.75 + 1e-12);
    EXPECT_EQ(c.num_pos(), before + 1);
    // Asked to, a span's start is written when further than the tolerance from the last position.
    for (velAddCoincidentPointType type : {vel_add_no_start_point, vel_add_start_point_if_apart}) {
        velAbsPolyArcLineListCursor d;
        d.set_add_coincident_point_type(type);
        d.set_coincidence_check_tol(1e-3);
        d.create_last_polyline();
        d.add_pos(it, 0);
        d.add_span(it, 0.0005, 1.0); // starts within the tolerance of the last position
        d.add_span(it, 2.0, 3.0);    // starts 1 away from it
        d.add_span(it, 3.0, 3.5);    // straight, starts at the last position
        ASSERT_EQ(d.num_pos(), type == vel_add_start_point_if_apart ? 5 : 4);
        EXPECT_EQ(d.span_linear(2) == 0, type == vel_add_start_point_if_apart);
    }
}

TEST(velAbsPolyArcLineListCursor, MoveSharesTheObjectBetweenListsAndCopiesFromOtherKinds) {
    velAbsPolyArcLineListCursor a, b;
    fill(a, numbered(0, 3));
    fill(b, numbered(0, 2));
    b.set_index(0);
    const velAbsPolyArcLine* moved = b.current_polyarcline();
    a.set_index(1);
    a.move_polyline_after(b);
    a.set_index(2);
    EXPECT_EQ(a.current_polyarcline(), moved);
    // From a vector cursor: the geometry, arcs included, is copied and the source slot removed.
    Polylines storage;
    storage.push_back(with_arc_span_2());
    velAbsPolyArcLineVecListCursor v(&storage);
    v.set_index(0);
    a.set_index(-1);
    a.move_polyline_after(v);
    EXPECT_EQ(v.size(), 0);
    EXPECT_EQ(a.index(), -1);
    a.set_index(0);
    expect_same_polyline(a.iterator(), *with_arc_span_2(), true);
    // append: onto the end; an undefined cursor ends on polyline 0.
    velAbsPolyArcLineListCursor c;
    fill(b, numbered(0, 1));
    b.set_index(0);
    c.append(b);
    EXPECT_EQ(c.index(), 0);
    b.set_index(0);
    c.append(b);
    EXPECT_EQ(first_xs(c), (std::vector<double>{1, 0}));
    // Over a list it does not own, which stays when the cursor goes.
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    {
        velAbsPolyArcLineListCursor d(list);
        fill(d, numbered(0, 2));
        const std::unique_ptr<velAbsPolyArcLineListIter> it(d.native_iter());
        EXPECT_EQ(it->size(), 2);
        EXPECT_EQ(it->index(), -1);
    }
    EXPECT_EQ(list.size(), 2);
}

// A line from (0, 0, 0) to (1, 0, 0) and a half circle on from there to (3, 0, 0), each its own
// curve-remembering polyline within 0.01.
struct TwoCurves : ::testing::Test {
    TwoCurves() {
        coDListcoCursor<torCurvePtr3>(curves).insert_last(l);
        coDListcoCursor<torCurvePtr3>(curves).insert_last(a);
        coDListcoCursor<torCurvePtr3PolylinecoPrf>(src_list).insert_last(
            std::make_shared<torCurvePtr3Polyline>(torCompCurve3({l, a}), 0.01));
        coDListcoCursor<torCurvePtr3>(plain).insert_last(
            std::make_shared<torPolyline3>(std::vector<giPoint3>{{4, 0, 0}, {8, 0, 0}}));
        ++src;
        ++other;
    }
    torCurvePtr3 l = std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(1, 0, 0));
    torCurvePtr3 a = std::make_shared<torArc3>(giPoint3(1, 0, 0), giPoint3(2, 1, 0), giPoint3(3, 0, 0));
    torCurvePtr3coDList curves, plain;         // l and a; a point polyline (4, 0, 0) .. (8, 0, 0)
    torCurvePtr3PolylinecoPrfcoDList src_list; // l and a as one curve-remembering polyline within 0.01
    torCurvePtr3PolylineListIter src{torCurvePtr3PolylinecoPrfcoDListcoIterator(src_list)};
    torPolyline3ListIter other{torCurvePtr3coDListcoIterator(plain)};
};

TEST_F(TwoCurves, CursorFromCurvesApproximatesEachAndGivesThemBack) {
    torCurvePtr3coDListcoIterator it(curves);
    torCurvePtr3PolylineListCursor cursor(it, 0.01);
    EXPECT_EQ(it.index(), -1);
    ASSERT_EQ(cursor.size(), 2);
    cursor.set_index(1);
    const torCurvePtr3Polyline& arc = *cursor.current_polyline();
    EXPECT_EQ(arc.num_pos(), 13); // 12 chords: 2 acos(0.99) = 0.283 rad each at most
    EXPECT_EQ(arc.get_curve(4), a);
    EXPECT_EQ(arc.tolerance(), 0.01);

    torCurvePtr3coDList back;
    cursor.get_curves(0, DBL_MAX, back);
    ASSERT_EQ(back.size(), 2);
    const auto second = std::dynamic_pointer_cast<torTrimmedCurve3>(*std::next(back.begin()));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->base(), a);
    EXPECT_EQ(second->base_start(), 0.0);
    EXPECT_EQ(second->base_end(), 1.0);

    torCurvePtr3PolylinecoPrfcoDList more;
    torCurvePtr3PolylineListIter::curve_list_to_polyline(back, 0.01, more);
    ASSERT_EQ(more.size(), 2);
    EXPECT_EQ((*std::next(more.begin()))->num_pos(), 13);
}

// A piece of a span on one curve starts with its own start point when the target's last position lies on
// another curve, so that the copy has a chord on that curve.
TEST_F(TwoCurves, AddSpanStartsAPieceOfANewCurve) {
    torCurvePtr3PolylineListCursor cursor;
    cursor.create_last_polyline();
    cursor.add_pos(src, 1); // the end of l
    const torCurvePtr3Polyline& to = *cursor.current_polyline();
    cursor.add_span(src, 1.0, 1.5); // the jump chord from l into a: only its end
    EXPECT_EQ(to.num_pos(), 2);
    cursor.add_span(src, 3.25, 3.75); // on a, the last position on a: only the end
    EXPECT_EQ(to.num_pos(), 3);
    cursor.create_last_polyline();
    const torCurvePtr3Polyline& fresh = *cursor.current_polyline();
    cursor.add_pos(src, 1);
    cursor.add_span(src, 3.25, 3.75); // on a, the last position on l: start and end
    ASSERT_EQ(fresh.num_pos(), 3);
    EXPECT_EQ(fresh.get_curve(1), a);
    EXPECT_EQ(fresh.get_pos(1), src.get_interpolated_pos(3.25));
    const auto piece = std::dynamic_pointer_cast<torTrimmedCurve3>(fresh.curve(1, 2));
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->base(), a);

    // From a plain iterator the base rule holds: only the end, unless asked for the start.
    cursor.add_span(other, 0.25, 0.5);
    EXPECT_EQ(fresh.num_pos(), 4);
    cursor.set_add_coincident_point_type(vel_add_start_point_if_apart);
    cursor.add_span(other, 0.75, 1.0);
    EXPECT_EQ(fresh.num_pos(), 6);
}

// Chords within the tolerance of their arcs, every position kept, underlying_parameter() onto the same
// points.
TEST(velSmashedPolylineListIter, ChordsStayWithinTheToleranceOfTheirArcs) {
    for (const double tol : {0.5, 0.02, 1e-3}) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            Rng rng(seed);
            const auto list = viewtest::list_of(random_list(rng, 6, seed % 2 == 0));
            velPolylineListIter& base = list->iterator();
            velSmashedPolylineListIter smashed(base, tol);
            for (base.reset(), smashed.reset(); ++smashed && ++base;) {
                const int n = smashed.num_pos();
                int positions_seen = 0;
                double worst = 0.0;
                for (int j = 0; j < n; ++j) {
                    const double t = smashed.underlying_parameter(j);
                    ASSERT_EQ(smashed.get_pos(j), base.get_interpolated_pos(t));
                    if (t == positions_seen) ++positions_seen;
                    if (j + 1 == n) break;
                    const int span = static_cast<int>(std::floor(t));
                    const double t_next = smashed.underlying_parameter(j + 1);
                    ASSERT_TRUE(t < t_next && t_next <= span + 1.0);
                    const double inside = smashed.underlying_parameter(j + 0.5);
                    EXPECT_TRUE(t < inside && inside < t_next);
                    if (base.span_linear(span)) continue;
                    giPoint3 c;
                    double r = 0.0;
                    velArc3Utils::get_centre_and_radius(base.get_pos(span), base.get_pos(span + 1),
                                                        base.get_mid_pos(span), c, r);
                    const giPoint3 middle = smashed.get_pos(j).interpolate(smashed.get_pos(j + 1), 0.5);
                    worst = std::max(worst, r - middle.distance(c));
                }
                EXPECT_LE(worst, tol * (1 + 1e-9));
                EXPECT_EQ(positions_seen, base.num_pos());
                EXPECT_EQ(smashed.underlying_parameter(n - 1 + 1e-9), 0.0);
                if (tol > 1e-3) viewtest::expect_tight_boxes(smashed); // hundreds of chords per arc at 1e-3
            }
        }
    }
}

// Pieces trimmed from chords are cut again from the arcs: ends within twice the tolerance, arcs again.
TEST(velSmashedPolylineListIter, TrimmingsOfTheChordsMapBackToTheArcs) {
    constexpr double tol = 0.01;
    Rng rng(91);
    velAbsPolyArcLineListCursor list;
    fill(list, random_list(rng, 4));
    velSmashedPolylineListIter smashed(list.iterator(), tol);
    velTrimmedPolylineListIter trimmed(smashed);
    for (trimmed.reset(); ++trimmed;) {
        const int n = trimmed.num_pos();
        if (n < 3) continue;
        const double a = rng.uniform(0.2, n - 1.2);
        trimmed.trim(a, a + 0.5);
    }
    velTrimmedPolylineListIter back;
    velSmashedPolylineListIter::get_underlying_trimming_iter(trimmed, back);
    ASSERT_EQ(back.size(), trimmed.size());
    velAbsPolyArcLineListCursor out;
    velSmashedPolylineListIter::copy_trimming_iter(trimmed, out);
    ASSERT_EQ(out.size(), trimmed.size());
    int arcs = 0;
    for (trimmed.reset(), out.reset(); ++trimmed;) {
        ASSERT_NE(++out, 0);
        if (trimmed.num_pos() == 0) continue;
        EXPECT_LE(out.get_pos(0).distance(trimmed.get_pos(0)), 2 * tol);
        EXPECT_LE(out.get_pos(out.num_pos() - 1).distance(trimmed.get_pos(trimmed.num_pos() - 1)), 2 * tol);
        for (int i = 0; i + 1 < out.num_pos(); ++i)
            arcs += !out.span_linear(i);
    }
    EXPECT_GT(arcs, 0);
}

} // namespace

} // namespace velPolylineListIter_test
