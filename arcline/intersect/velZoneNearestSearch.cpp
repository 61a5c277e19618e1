#include "arcline/intersect/velZoneNearestSearch.h"

#include "arcline/polyline/utils/velPolylineUtils.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Squared distance from p to the closed box; infinite for an empty box.
template <int D, class Box, class Point>
double box_distance2(const Box& box, const Point& p) {
    if (box.empty()) return infinity;
    double sum = 0.0;
    for (int k = 0; k < D; ++k) {
        const double d = std::max({box.min()[k] - p[k], 0.0, p[k] - box.max()[k]});
        sum += d * d;
    }
    return sum;
}

// The spans measured so far: a short list while few (no allocation for the common query), flags over the
// polyline's spans once many are.
class MeasuredSpans {
public:
    explicit MeasuredSpans(int num_spans) : m_num_spans(num_spans) {}
    // True when j was not measured before.
    bool insert(int j) {
        if (m_flags.empty()) {
            const auto end = m_few.begin() + m_count;
            if (std::find(m_few.begin(), end, j) != end) return false;
            if (m_count < static_cast<int>(m_few.size())) {
                m_few[static_cast<std::size_t>(m_count++)] = j;
                return true;
            }
            m_flags.assign(static_cast<std::size_t>(m_num_spans), 0);
            for (int k : m_few)
                m_flags[static_cast<std::size_t>(k)] = 1;
        }
        unsigned char& flag = m_flags[static_cast<std::size_t>(j)];
        if (flag) return false;
        flag = 1;
        return true;
    }

private:
    int m_num_spans;
    std::array<int, 32> m_few{};
    int m_count = 0;
    std::vector<unsigned char> m_flags;
};

} // namespace

template <int D>
int velZoneNearestSearch<D>::nearest_on_polyline(const velPolylineZoneNode<D>& zones,
                                                 const velPolylineListIter& poly, const giPoint3& P,
                                                 double& t, double& distance) {
    using Types = velGiDimensionalTypes<D>;
    using Node = typename velPolylineZoneNode<D>::ZoneNode;
    const auto p = Types::convert_from_3d(P);

    if (zones.num_pos() == 1) {
        // A point: it has no spans for the zones to list.
        if (!zones.limits().contains(Types::convert_from_3d(poly.get_pos(0)))) return 0;
        const double d = P.distance(poly.get_pos(0));
        if (!(d < distance)) return 0;
        distance = d;
        t = 0.0;
        return 1;
    }

    struct Entry {
        double d2;
        const Node* node;
        bool operator<(const Entry& o) const { return d2 > o.d2; } // a min-heap by distance
    };
    std::vector<Entry> heap;
    heap.reserve(64);
    heap.push_back({box_distance2<D>(zones.limits(), p), &zones});
    MeasuredSpans measured(zones.num_spans());
    std::vector<std::pair<double, int>> order;
    int improved = 0;
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end());
        const Entry e = heap.back();
        heap.pop_back();
        // Nothing in this zone, nor in any zone after it, lies nearer than the best found.
        if (e.d2 >= distance * distance) break;
        if (e.node->contains_children()) {
            for (int q = 0; q < Node::num_children; ++q) {
                const Node* c = e.node->child(q);
                if (c->num_items() == 0) continue;
                const double d2 = box_distance2<D>(c->limits(), p);
                if (d2 >= distance * distance) continue;
                heap.push_back({d2, c});
                std::push_heap(heap.begin(), heap.end());
            }
            continue;
        }
        const intcoDynArr* items = e.node->items();
        if (!items) continue;
        // The zone's spans not measured before, nearest box first: the best distance falls fastest that
        // way, and a span whose box lies no nearer than the best distance cannot improve on it, now or later.
        order.clear();
        for (int j : *items)
            if (measured.insert(j)) order.push_back({box_distance2<D>(zones.span_box(j), p), j});
        std::sort(order.begin(), order.end());
        for (const auto& [d2, j] : order) {
            if (d2 >= distance * distance) break;
            double tj, dj;
            velPolylineUtils::get_closest_point(P, poly, j, j + 1.0, tj, dj);
            if (dj < distance) {
                distance = dj;
                t = tj;
                improved = 1;
            }
        }
    }
    return improved;
}

template <int D>
int velZoneNearestSearch<D>::nearest_on_list(const velPolylineListZoneNode<D>& zones, const giPoint3& P,
                                             int& index, double& t, double& distance) {
    using Types = velGiDimensionalTypes<D>;
    const auto p = Types::convert_from_3d(P);
    const int n = zones.size();
    if (n == 0) return 0;

    // The polylines by the distance of their boxes: the nearest first, so that the best distance is small
    // before the others are looked at, then every other one whose box is near enough.
    std::vector<double> box_d2(static_cast<std::size_t>(n));
    int first = 0;
    for (int i = 0; i < n; ++i) {
        double& d2 = box_d2[static_cast<std::size_t>(i)];
        d2 = zones.individual_polyline_zones(i).num_pos() == 0
                 ? infinity
                 : box_distance2<D>(zones.box_cache().get_seg_box(i), p);
        if (d2 < box_d2[static_cast<std::size_t>(first)]) first = i;
    }
    int improved = 0;
    auto search = [&](int i) {
        if (!(box_d2[static_cast<std::size_t>(i)] < distance * distance)) return;
        const velPolylineZoneNode<D>& tree = zones.individual_polyline_zones(i);
        if (nearest_on_polyline(tree, tree.iterator(), P, t, distance)) {
            index = i;
            improved = 1;
        }
    };
    search(first);
    for (int i = 0; i < n; ++i)
        if (i != first) search(i);
    return improved;
}

template class velZoneNearestSearch<2>;
template class velZoneNearestSearch<3>;
