// List editing of velPolylineListUtils: moving polylines between lists, scattering positions, reversing the
// order, joining polylines that continue each other, and taking out temporary spans.

#include "arcline/polyutils/velPolylineListUtils.h"

#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/platform/utMath.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "arcline/polyutils/velBackwardsCounter.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

namespace {

using U = velPolylineUtils;

// Sets the cursor's add coincident point type to 0 (pieces do not repeat their start) for its lifetime.
class NoStartPoints {
public:
    explicit NoStartPoints(velPolylineListCursor& c) : m_cursor(c), m_type(c.add_coincident_point_type()) {
        c.set_add_coincident_point_type(vel_add_no_start_point);
    }
    ~NoStartPoints() { m_cursor.set_add_coincident_point_type(m_type); }
    NoStartPoints(const NoStartPoints&) = delete;
    NoStartPoints& operator=(const NoStartPoints&) = delete;

private:
    velPolylineListCursor& m_cursor;
    velAddCoincidentPointType m_type;
};

// Replaces the cursor's current polyline by `p`; the cursor stays at the same index.
void replace_current(velPolylineListCursor& list, const velAbsPolyArcLine& p) {
    const int here = list.index();
    velSingleAbsArcLineListIter src(p);
    ++src;
    list.create_polyline();
    ++list;
    U::append(src, list);
    list.set_index(here);
    list.remove(); // the copy, after it, takes its place
}

} // namespace

void velPolylineListUtils::move(velPolylineListCursor& from, velPolylineListCursor& to) {
    from.reset();
    if (!++from) return;
    if (to.size() > 0) {
        to.set_index(to.size() - 1);
    } else {
        to.append(from); // an empty cursor then stands on its first polyline
    }
    // Each move takes from's current polyline out, so the next one becomes current at index 0.
    while (from.index() >= 0) {
        to.move_polyline_after(from);
        ++to;
    }
    from.reset();
}

void velPolylineListUtils::move(velPolylineListCursor& list, double d) {
    NoStartPoints guard(list);
    const int total = num_points(list.iterator());
    velBackwardsCounter counter(total);
    auto step = [&] {
        const double angle = 2.0 * utMath::pi * counter() / total;
        return giVector3(d * std::cos(angle), d * std::sin(angle), 0.0);
    };
    list.reset();
    while (++list) {
        const int n = list.num_pos();
        if (n < 2) {
            for (int i = 0; i < n; ++i)
                step();
            continue;
        }
        const velPolylineListIter& it = list.iterator();
        const bool closed = U::closed(it, 0.0) != 0;
        std::vector<giVector3> moves;
        for (int i = 0; i < n; ++i)
            moves.push_back(step());
        if (closed) moves.back() = moves.front();
        velPolyArcLineDouble moved;
        moved.add_pos(it.get_pos(0) + moves[0]);
        for (int k = 0; k + 1 < n; ++k) {
            const giPoint3 end = it.get_pos(k + 1) + moves[static_cast<std::size_t>(k) + 1];
            if (it.span_linear(k)) {
                moved.add_pos(end);
            } else {
                const giVector3 mean =
                    (moves[static_cast<std::size_t>(k)] + moves[static_cast<std::size_t>(k) + 1]) * 0.5;
                moved.add_arc(it.get_mid_pos(k) + mean, end);
            }
        }
        replace_current(list, moved);
    }
    list.reset();
}

void velPolylineListUtils::reverse_order(velPolylineListCursor& list) {
    if (list.size() < 2) {
        list.reset();
        return;
    }
    // Only moves that need no walking: moving after the current polyline, and stepping forwards.
    const std::unique_ptr<velPolylineListCursor> temp(list.create_empty());
    list.reset();
    ++list;
    temp->append(list); // temp: p1, standing on it
    while (list.index() >= 0)
        temp->move_polyline_after(list); // each goes right after p1: temp is p1, pk, ..., p2
    ++*temp;                             // on pk
    list.append(*temp);                  // list: pk, standing on it
    while (temp->index() >= 0) {
        list.move_polyline_after(*temp); // pk-1, ..., p2 in turn after the last one
        ++list;
    }
    temp->reset();
    ++*temp;
    list.move_polyline_after(*temp); // p1 last
    list.reset();
}

// ---------------------------------------------------------------------------------------------------------
// Joining polylines that continue each other

namespace {

// Ends of the polylines of a list, sorted by x, to find the first unused polyline (in list order) with an
// end within tol of a point.
class EndIndex {
public:
    void add(const giPoint3& p, int polyline) { m_ends.push_back({p, polyline}); }
    void sort() {
        std::sort(m_ends.begin(), m_ends.end(), [](const End& a, const End& b) { return a.p.x < b.p.x; });
    }
    // The lowest polyline number not yet used whose end lies within tol of q; -1 when none.
    int first_near(const giPoint3& q, double tol, const std::vector<char>& used) const {
        auto it = std::lower_bound(m_ends.begin(), m_ends.end(), q.x - tol,
                                   [](const End& e, double x) { return e.p.x < x; });
        int best = -1;
        for (; it != m_ends.end() && it->p.x <= q.x + tol; ++it) {
            if (used[static_cast<std::size_t>(it->polyline)] || !it->p.coincident(q, tol)) continue;
            if (best < 0 || it->polyline < best) best = it->polyline;
        }
        return best;
    }

private:
    struct End {
        giPoint3 p;
        int polyline;
    };
    std::vector<End> m_ends;
};

} // namespace

int velPolylineListUtils::append_touching_segments(const velPolylineListIter& in, velPolylineListCursor& out,
                                                   double tol) {
    struct Info {
        int n = 0;
        bool closed = false;
        giPoint3 start, end;
    };
    const std::unique_ptr<velPolylineListIter> w(in.create_new());
    std::vector<Info> info;
    EndIndex starts, ends;
    w->reset();
    while (++*w) {
        Info i;
        i.n = w->num_pos();
        const int k = static_cast<int>(info.size());
        if (i.n > 0) {
            i.closed = U::closed(*w, 0.0) != 0;
            i.start = w->get_pos(0);
            i.end = w->get_pos(i.n - 1);
            if (!i.closed) {
                starts.add(i.start, k);
                ends.add(i.end, k);
            }
        }
        info.push_back(i);
    }
    starts.sort();
    ends.sort();

    NoStartPoints guard(out);
    if (out.size() > 0) out.set_index(out.size() - 1);
    std::vector<char> used(info.size(), 0);
    int written = 0;
    for (std::size_t first = 0; first < info.size(); ++first) {
        if (used[first] || info[first].n == 0) continue;
        used[first] = 1;
        std::deque<int> chain{static_cast<int>(first)};
        auto closes = [&] {
            return info[static_cast<std::size_t>(chain.back())].end.coincident(
                info[static_cast<std::size_t>(chain.front())].start, tol);
        };
        if (!info[first].closed) {
            while (!closes()) {
                const int next =
                    starts.first_near(info[static_cast<std::size_t>(chain.back())].end, tol, used);
                if (next < 0) break;
                used[static_cast<std::size_t>(next)] = 1;
                chain.push_back(next);
            }
            while (!closes()) {
                const int prev =
                    ends.first_near(info[static_cast<std::size_t>(chain.front())].start, tol, used);
                if (prev < 0) break;
                used[static_cast<std::size_t>(prev)] = 1;
                chain.push_front(prev);
            }
        }
        out.create_polyline();
        ++out;
        ++written;
        for (std::size_t j = 0; j < chain.size(); ++j) {
            w->set_index(chain[j]);
            if (j == 0) {
                U::append(*w, out);
                continue;
            }
            // The first span continues from the chain's end (its own start is not written).
            for (int k = 0; k + 1 < w->num_pos(); ++k)
                out.add_span(*w, k, k + 1.0);
        }
    }
    return written;
}

// ---------------------------------------------------------------------------------------------------------
// Temporary spans

namespace {

// Writes every maximal run of spans for which pick(iter, k) holds as a polyline of `out`.
template <class Pick>
int extract_runs(const velPolylineListIter& in, velPolylineListCursor& out, Pick pick) {
    if (!velPolylineListIterWithOffsetFlags::ut_dynamic_cast(&in)) return 0;
    const std::unique_ptr<velPolylineListIter> clone(in.create_new());
    const auto& w = *velPolylineListIterWithOffsetFlags::ut_dynamic_cast(clone.get());
    NoStartPoints guard(out);
    if (out.size() > 0) out.set_index(out.size() - 1);
    int written = 0;
    clone->reset();
    while (++*clone) {
        bool in_run = false;
        for (int k = 0; k + 1 < w.num_pos(); ++k) {
            if (!pick(w, k)) {
                in_run = false;
                continue;
            }
            if (!in_run) {
                out.create_polyline();
                ++out;
                out.add_pos(w, k);
                ++written;
                in_run = true;
            }
            out.add_span(w, k, k + 1.0);
        }
    }
    return written;
}

} // namespace

int velPolylineListUtils::extract_temp_lines(const velPolylineListIter& in, velPolylineListCursor& out) {
    return extract_runs(
        in, out, [](const velPolylineListIterWithOffsetFlags& w, int k) { return w.temporary_line(k) != 0; });
}

int velPolylineListUtils::extract_temp_arcs(const velPolylineListIter& in, velPolylineListCursor& out) {
    return extract_runs(
        in, out, [](const velPolylineListIterWithOffsetFlags& w, int k) { return w.temporary_arc(k) != 0; });
}
