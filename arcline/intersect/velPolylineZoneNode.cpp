#include "arcline/intersect/velPolylineZoneNode.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

// What the root reads once and every node of the tree shares.
template <int D>
struct velPolylineZoneNode<D>::Shared {
    std::shared_ptr<const velPolylineListIter> iter;
    int index = -1;
    const BoxCache* cache = nullptr; // not owned
    double zone_length = 0.0;
    std::vector<Point> points;           // the polyline's positions
    std::vector<unsigned char> straight; // per span: span_linear
    std::vector<Box> boxes;              // per span, read from the iterator when there is no cache
};

namespace {

// The box grown by the rounding margin of its largest coordinate.
template <int D, class Box>
Box with_margin(const Box& box, double ratio) {
    if (box.empty()) return box;
    double largest = 0.0;
    for (int k = 0; k < D; ++k)
        largest = std::max({largest, std::fabs(box.min()[k]), std::fabs(box.max()[k])});
    Box grown = box;
    grown.offset(ratio * largest);
    return grown;
}

// Whether segment AB shares a point with the closed box (Liang-Barsky clipping: the parameter range of the
// segment inside each slab, intersected).
template <int D, class Point, class Box>
bool segment_enters(const Point& A, const Point& B, const Box& box) {
    if (box.empty()) return false;
    double t0 = 0.0, t1 = 1.0;
    for (int k = 0; k < D; ++k) {
        const double a = A[k], d = B[k] - A[k], lo = box.min()[k], hi = box.max()[k];
        if (d == 0.0) {
            if (a < lo || a > hi) return false;
            continue;
        }
        double ta = (lo - a) / d, tb = (hi - a) / d;
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1) return false;
    }
    return true;
}

} // namespace

template <int D>
velPolylineZoneNode<D>::velPolylineZoneNode(const velPolylineListIter& iter, const Box& box,
                                            double zone_length, const BoxCache* cache)
    : ZoneNode(root_box(box), nullptr, nullptr, ZoneNode::root_quadrant, nullptr) {
    init_root(std::shared_ptr<const velPolylineListIter>(iter.create_new()), zone_length, cache);
}

template <int D>
velPolylineZoneNode<D>::velPolylineZoneNode(std::shared_ptr<const velPolylineListIter> iter, const Box& box,
                                            double zone_length, const BoxCache* cache)
    : ZoneNode(root_box(box), nullptr, nullptr, ZoneNode::root_quadrant, nullptr) {
    init_root(std::move(iter), zone_length, cache);
}

template <int D>
velPolylineZoneNode<D>::velPolylineZoneNode(const Box& box, std::unique_ptr<intcoDynArr> items,
                                            velPolylineZoneNode* parent, int quadrant,
                                            std::shared_ptr<const Shared> shared,
                                            std::shared_ptr<std::vector<int>> scratch)
    : ZoneNode(box, std::move(items), parent, quadrant, std::move(scratch)), m_shared(std::move(shared)) {}

template <int D>
void velPolylineZoneNode<D>::init_root(std::shared_ptr<const velPolylineListIter> iter, double zone_length,
                                       const BoxCache* cache) {
    auto s = std::make_shared<Shared>();
    const int n = iter->undefined() ? 0 : iter->num_pos();
    const int spans = std::max(n - 1, 0);
    s->index = iter->index();
    s->cache = cache;
    s->zone_length = zone_length;
    s->points.reserve(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        s->points.push_back(Types::convert_from_3d(iter->get_pos(j)));
    s->straight.resize(static_cast<std::size_t>(spans));
    for (int j = 0; j < spans; ++j)
        s->straight[static_cast<std::size_t>(j)] = iter->span_linear(j) != 0;
    if (!cache) {
        s->boxes.reserve(static_cast<std::size_t>(spans));
        for (int j = 0; j < spans; ++j)
            s->boxes.push_back(iter->span_box(j, Types::box_kind));
    }
    s->iter = std::move(iter);
    m_shared = std::move(s);
    this->set_items(new_grandparent_array());
}

template <int D>
std::unique_ptr<intcoDynArr> velPolylineZoneNode<D>::new_grandparent_array() const {
    // Every span that reaches into the root box: all of them, for the list's total box.
    std::vector<int>& scratch = *this->scratch();
    scratch.clear();
    for (int j = 0; j < num_spans(); ++j)
        if (!outside(this->limits(), j)) scratch.push_back(j);
    auto items = std::make_unique<intcoDynArr>(static_cast<int>(scratch.size()));
    std::copy(scratch.begin(), scratch.end(), items->begin());
    return items;
}

template <int D>
typename velPolylineZoneNode<D>::Box velPolylineZoneNode<D>::root_box(const Box& box) {
    if (box.empty()) return box;
    Point lo = box.min(), hi = box.max();
    double largest = 0.0;
    for (int k = 0; k < D; ++k)
        largest = std::max(largest, hi[k] - lo[k]);
    if (!(largest > 0.0)) return box; // one point: nothing to divide
    for (int k = 0; k < D; ++k) {
        if (hi[k] - lo[k] >= thin_extent_ratio * largest) continue;
        lo[k] -= largest / 3.0;
        hi[k] += 2.0 * largest / 3.0;
    }
    return Box(lo, hi);
}

template <int D>
int velPolylineZoneNode<D>::canonical_form(int /*level*/) const {
    if (this->num_items() == 0) return 1;
    const Box& box = this->limits();
    const double area = ZoneNode::zone_area(box), length = m_shared->zone_length;
    if (length * length >= area) return 1;
    const velPolylineZoneNode* up = parent();
    if (!up || this->num_items() < ZoneNode::keep_ratio * up->num_items()) return 0;
    if (this->num_items() <= few_spans) return 1;
    // Kept nearly all its parent's spans: final unless enough of them are short enough for a division to
    // separate them.
    const double half = 0.5 * largest_extent(box);
    int short_spans = 0;
    for (int j : *this->items())
        if (largest_extent(span_box(j)) < half) ++short_spans;
    return short_spans < short_ratio * this->num_items() ? 1 : 0;
}

template <int D>
double velPolylineZoneNode<D>::largest_extent(const Box& box) {
    double largest = 0.0;
    if (box.empty()) return largest;
    for (int k = 0; k < D; ++k)
        largest = std::max(largest, box.max()[k] - box.min()[k]);
    return largest;
}

template <int D>
double velPolylineZoneNode<D>::min_zone_length() const {
    return m_shared->zone_length;
}

template <int D>
double velPolylineZoneNode<D>::max_zone_length() const {
    return DBL_MAX;
}

template <int D>
int velPolylineZoneNode<D>::outside(const Box& box, int span) const {
    const Box grown = with_margin<D>(box, rounding_margin);
    if (m_shared->straight[static_cast<std::size_t>(span)]) {
        const Point& A = m_shared->points[static_cast<std::size_t>(span)];
        const Point& B = m_shared->points[static_cast<std::size_t>(span) + 1];
        return segment_enters<D>(A, B, grown) ? 0 : 1;
    }
    return span_box(span).crosses(grown) ? 0 : 1;
}

template <int D>
std::unique_ptr<typename velPolylineZoneNode<D>::ZoneNode>
velPolylineZoneNode<D>::new_node(const Box& box, std::unique_ptr<intcoDynArr> items, ZoneNode* parent,
                                 int quadrant) const {
    return std::unique_ptr<ZoneNode>(new velPolylineZoneNode(box, std::move(items),
                                                             static_cast<velPolylineZoneNode*>(parent),
                                                             quadrant, m_shared, this->scratch()));
}

template <int D>
const intcoDynArr* velPolylineZoneNode<D>::spans(const Point& p) const {
    if (!this->limits().contains(p)) return nullptr;
    return this->leaf_containing(Types::convert_to_3d(p))->items();
}

template <int D>
void velPolylineZoneNode<D>::all_spans(std::vector<int>& out) const {
    out.clear();
    spans_near_box(this->limits(), out);
}

template <int D>
void velPolylineZoneNode<D>::spans_near_box(const Box& box, std::vector<int>& out) const {
    const auto first = static_cast<std::ptrdiff_t>(out.size());
    this->for_each_leaf_crossing(box, [&out](const ZoneNode& leaf) {
        for (int j : *leaf.items())
            out.push_back(j);
    });
    std::sort(out.begin() + first, out.end());
    out.erase(std::unique(out.begin() + first, out.end()), out.end());
}

template <int D>
void velPolylineZoneNode<D>::spans_in_zones_within_distance_of_point(const Point& p, double distance,
                                                                     std::vector<int>& out) const {
    Box near(p, p);
    near.offset(distance);
    spans_near_box(near, out);
}

template <int D>
const velPolylineListIter& velPolylineZoneNode<D>::iterator() const {
    return *m_shared->iter;
}

template <int D>
int velPolylineZoneNode<D>::polyline_index() const {
    return m_shared->index;
}

template <int D>
const typename velPolylineZoneNode<D>::BoxCache* velPolylineZoneNode<D>::box_cache() const {
    return m_shared->cache;
}

template <int D>
double velPolylineZoneNode<D>::zone_length() const {
    return m_shared->zone_length;
}

template <int D>
int velPolylineZoneNode<D>::num_pos() const {
    return static_cast<int>(m_shared->points.size());
}

template <int D>
int velPolylineZoneNode<D>::num_spans() const {
    return static_cast<int>(m_shared->straight.size());
}

template <int D>
const typename velPolylineZoneNode<D>::Box& velPolylineZoneNode<D>::span_box(int j) const {
    if (m_shared->cache) return m_shared->cache->get_span_box(m_shared->index, j);
    return m_shared->boxes[static_cast<std::size_t>(j)];
}

template class velPolylineZoneNode<2>;
template class velPolylineZoneNode<3>;
