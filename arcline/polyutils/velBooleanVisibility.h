#pragma once
// The keep test of the region operations: which loops of a combined list bound the union, the difference or
// the intersection of its two lists. The combined list holds list A (polylines 0 .. second_boundary - 1)
// and list B (the rest); each list is a set of closed boundaries that do not cross one another, each
// polyline carrying a weight (1, or the number of duplicates it stands for).
//
// A loop is tested at one point of its own, away from its ends: the winding counts of A and of B are taken
// on its left and on its right, each weighted, and a point lies in list L's region when L's count there is
// not zero. The region of the operation is
//     addition (0):      in A or in B
//     subtraction (1):   in A and not in B
//     intersection (2):  in A and in B
// and a loop is kept when that region lies on one side of it and not on the other. Kept loops run with the
// region on their left for addition and intersection (anticlockwise outer boundaries) and on their right
// for subtraction (its first list runs clockwise, and the difference is bounded as it is).
//
// Counting on the two sides of a point of a boundary. Boundaries that stay clear of the test point count
// the same on both sides (their exact winding number there). A boundary that runs through the point (the
// loop's own curve, or another one that coincides with it there: a shared edge) is counted at two points a
// hair's breadth to the left and to the right, so that shared edges, equal boundaries and boundaries moved
// by rounding count on the side they bound. The test point is the middle of the loop's longest span, or of
// the next longest, ...: a point where another boundary merely touches or crosses the loop is passed over
// for the next one, because there the two sides would not tell what the rest of the loop separates; and a
// point where no other boundary runs along the loop is preferred to one on a shared edge.
//
// Why a whole loop can be judged at one point: the loops are traced by switching curves at every crossing
// of A with B, so along each of them the combined count on the left is one more than on the right; with
// each list's own counts 0 or 1 (clean, correctly oriented lists) that fixes which of the two lists'
// regions lie on each side along the whole loop.

#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/polyline/utils/velPlaneSpan.h"

#include <memory>
#include <utility>
#include <vector>

class velPolylineListIter;

class velBooleanVisibility {
public:
    enum Operation { addition = 0, subtraction = 1, intersection = 2 };
    // Weighted winding counts of list A and of list B at one point.
    struct Counts {
        int a = 0;
        int b = 0;
    };

    // `combined` must outlive the test; `weights` (one per polyline; empty: all 1) is copied.
    velBooleanVisibility(const velPolylineListIter& combined, int second_boundary,
                         const std::vector<int>& weights = {});
    ~velBooleanVisibility();
    velBooleanVisibility(const velBooleanVisibility&) = delete;
    velBooleanVisibility& operator=(const velBooleanVisibility&) = delete;

    // Whether a point of counts c lies in the region of `operation`.
    static bool inside(int operation, const Counts& c);

    // For the current polyline of `loop` (closed): 1 to keep it as it runs, -1 to keep it reversed, 0 to
    // drop it. `shares` (may be null) is set when another boundary coincides with the loop at its test point
    // in the same direction (a candidate duplicate).
    int decide(int operation, const velPolylineListIter& loop, bool* shares = nullptr) const;

    // The counts on the left and the right of the loop at its test point; false when the loop has no span
    // of any length.
    // `clear` (may be null) is set when no other boundary runs along the loop at the point that decided.
    bool side_counts(const velPolylineListIter& loop, Counts& left, Counts& right, bool* shares = nullptr,
                     bool* clear = nullptr) const;

    // The half width of the band round a test point in which boundaries count as running through it.
    double through_distance() const { return m_through; }

    // The counts on the two sides of the stretch t0 .. t1 (t0 < t1) of the current polyline of `curve`, a
    // polyline of the combined list (or a copy of one): true only at a point where no other boundary runs
    // along it, touches or crosses it.
    bool clear_counts_along(const velPolylineListIter& curve, double t0, double t1, Counts& left,
                            Counts& right) const;

private:
    // Counts at the point of span `span` at fraction f of the loop; false (when strict) when some boundary
    // touches or crosses the loop there instead of running along it. `along` gets the number of boundaries
    // that run along the loop there (its own curve among them), `shares` whether one runs the same way.
    bool counts_at(const velPolylineListIter& loop, int span, double f, Counts& left, Counts& right,
                   bool& shares, int& along, bool strict) const;

    // Calls f(k) for the spans of polyline i that can matter at q: those whose height reaches q's.
    template <class F>
    void for_spans_near(int i, const giPoint2& q, F&& f) const;
    // The polylines whose boxes, grown by the side step, may hold p: [first, end) of m_cell_items.
    std::pair<const int*, const int*> candidates(const giPoint2& p) const;
    void build_index(const giBox2& all);

    std::unique_ptr<velPolylineListIter> m_list;
    int m_second;
    std::vector<int> m_weights;
    std::vector<giBox2> m_boxes;
    std::vector<velPlaneSpan> m_spans; // every span of the list, read once
    std::vector<int> m_first;          // polyline i's spans: m_first[i] .. m_first[i + 1] - 1
    double m_through = 0.0;            // boundaries nearer than this run through the test point
    double m_side = 0.0;               // the distance of the two side points from the test point
    // Where to look, so that a test costs the boundaries near its point and not the whole list: a grid over
    // the list's box whose cells hold the polylines whose grown boxes meet them, and for a polyline of many
    // spans, bands across its height that hold the spans reaching into them (every span that can count at
    // a point lies in the point's band).
    struct Bands {
        double y0 = 0.0, step = 1.0;
        std::vector<int> first; // band b's spans: items[first[b]] .. items[first[b + 1]] - 1
        std::vector<int> items;
    };
    std::vector<Bands> m_bands; // per polyline; no bands: every span is read
    giBox2 m_grid;
    int m_cols = 0, m_rows = 0;
    double m_cell_w = 1.0, m_cell_h = 1.0;
    std::vector<int> m_cell_first, m_cell_items;
};
