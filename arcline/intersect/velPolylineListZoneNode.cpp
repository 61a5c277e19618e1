#include "arcline/intersect/velPolylineListZoneNode.h"

template <int D>
velPolylineListZoneNode<D>::velPolylineListZoneNode(const velPolylineListIter& iter, double width)
    : m_width(width) {
    init_zones(iter, nullptr);
}

template <int D>
velPolylineListZoneNode<D>::velPolylineListZoneNode(const Box& box, const velPolylineListIter& iter,
                                                    double width)
    : m_width(width) {
    init_zones(iter, &box);
}

template <int D>
void velPolylineListZoneNode<D>::init_zones(const velPolylineListIter& iter, const Box* box) {
    const std::unique_ptr<velPolylineListIter> walker(iter.create_new());
    m_cache.cache_boxes(*walker);
    m_limits = box ? *box : m_cache.get_total_box();
    const int n = m_cache.num_segs();
    m_zones.reserve(static_cast<std::size_t>(n));
    // Each tree keeps a clone standing on its polyline, taken from one walk (a linked list reaches polyline
    // i from the head in i steps).
    walker->reset();
    for (int i = 0; i < n && ++*walker; ++i) {
        std::shared_ptr<const velPolylineListIter> at(walker->create_new());
        m_zones.push_back(
            std::make_unique<velPolylineZoneNode<D>>(std::move(at), m_limits, m_width, &m_cache));
    }
}

template <int D>
int velPolylineListZoneNode<D>::complete_subdivision() {
    int made = 0;
    for (auto& z : m_zones)
        made += z->complete_subdivision(0);
    return made;
}

template <int D>
int velPolylineListZoneNode<D>::spans_near_box(const Box& box, std::vector<std::vector<int>>& result) const {
    result.assign(m_zones.size(), {});
    int total = 0;
    for (std::size_t i = 0; i < m_zones.size(); ++i) {
        // The polyline's box from the cache rules most polylines out at once.
        if (!m_cache.get_seg_box(static_cast<int>(i)).crosses(box)) continue;
        m_zones[i]->spans_near_box(box, result[i]);
        total += static_cast<int>(result[i].size());
    }
    return total;
}

template <int D>
int velPolylineListZoneNode<D>::spans_near_point(const Point& p,
                                                 std::vector<const intcoDynArr*>& result) const {
    result.assign(m_zones.size(), nullptr);
    if (!m_limits.contains(p)) return 0;
    int total = 0;
    for (std::size_t i = 0; i < m_zones.size(); ++i) {
        result[i] = m_zones[i]->spans(p);
        if (result[i]) total += result[i]->size();
    }
    return total;
}

template <int D>
const velPolylineZoneNode<D>& velPolylineListZoneNode<D>::individual_polyline_zones(int i) const {
    return *m_zones[static_cast<std::size_t>(i)];
}

template <int D>
velPolylineZoneNode<D>& velPolylineListZoneNode<D>::individual_polyline_zones(int i) {
    return *m_zones[static_cast<std::size_t>(i)];
}

template <int D>
int velPolylineListZoneNode<D>::num_nodes() const {
    int n = 0;
    for (const auto& z : m_zones)
        n += z->num_subnodes();
    return n;
}

template class velPolylineListZoneNode<2>;
template class velPolylineListZoneNode<3>;
