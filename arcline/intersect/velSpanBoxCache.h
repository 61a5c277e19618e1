#pragma once
// The boxes of every span of a list, computed once: per polyline ("segment") the box of its spans, per span
// its own box (arcs' extreme points included), and the total box. The BSP intersector, the zone trees and
// the Boolean operations read span boxes from here instead of asking the iterator again.
//
// Filling: a polyline with one position contributes the box of that point and no span; a polyline without
// positions an empty box and no span. Queries take the polyline index i (0 .. num_segs() - 1) and the span
// index j (0 .. num_spans(i) - 1) of the list protocol; they are not checked.
//
// Box is giBox2 (XY boxes) or giBox3; velPolyarcline2dBoxCache and velPolyarcline3dBoxCache are the two.

#include "arcline/lists/velPolylineListIter.h"

#include <type_traits>
#include <vector>

template <class Box>
class velSpanBoxCache {
public:
    // Caches the boxes of every polyline of `iter`; the iterator is left where it stood.
    void cache_boxes(velPolylineListIter& iter);
    // Forgets everything: no segments, an empty total box.
    void clear();

    int num_segs() const { return static_cast<int>(m_segs.size()); }
    int num_spans(int i) const {
        return m_first[static_cast<std::size_t>(i) + 1] - m_first[static_cast<std::size_t>(i)];
    }
    const Box& get_seg_box(int i) const { return m_segs[static_cast<std::size_t>(i)]; }
    const Box& get_span_box(int i, int j) const {
        return m_spans[static_cast<std::size_t>(m_first[static_cast<std::size_t>(i)] + j)];
    }
    const Box& get_total_box() const { return m_total; }

    // Filling from another source of spans (the BSP intersector fills the cache from the vertices it has
    // read anyway): clear(), reserve(), then per polyline open_segment(), its span boxes with add_span() (or
    // its one point with add_point()), close_segment().
    // Opens the next segment; its spans follow with add_span, then close_segment.
    void open_segment() { m_segs.emplace_back(); }
    void add_span(const Box& b) {
        m_spans.push_back(b);
        m_segs.back().merge(b);
    }
    void add_point(const Box& b) { m_segs.back().merge(b); }
    void close_segment() {
        m_first.push_back(static_cast<int>(m_spans.size()));
        m_total.merge(m_segs.back());
    }
    void reserve(int segs, int spans) {
        m_segs.reserve(static_cast<std::size_t>(segs));
        m_first.reserve(static_cast<std::size_t>(segs) + 1);
        m_spans.reserve(static_cast<std::size_t>(spans));
    }

private:
    std::vector<Box> m_segs;
    std::vector<int> m_first{0}; // span boxes of segment i start at m_first[i]
    std::vector<Box> m_spans;
    Box m_total;
};

template <class Box>
void velSpanBoxCache<Box>::clear() {
    m_segs.clear();
    m_first.assign(1, 0);
    m_spans.clear();
    m_total = Box();
}

template <class Box>
void velSpanBoxCache<Box>::cache_boxes(velPolylineListIter& iter) {
    clear();
    const int was = iter.index();
    // Count first, so that the arrays are sized once.
    int segs = 0, spans = 0;
    iter.reset();
    while (++iter) {
        ++segs;
        spans += std::max(iter.num_pos() - 1, 0);
    }
    reserve(segs, spans);
    iter.reset();
    while (++iter) {
        open_segment();
        const int n = iter.num_pos();
        if (n == 1) {
            const giPoint3 p = iter.get_pos(0);
            if constexpr (std::is_same_v<Box, giBox2>)
                add_point(Box(p.xy(), p.xy()));
            else
                add_point(Box(p, p));
        }
        for (int j = 0; j + 1 < n; ++j) {
            if constexpr (std::is_same_v<Box, giBox2>)
                add_span(iter.span_box(j, vel_2d_box));
            else
                add_span(iter.span_box(j, vel_3d_box));
        }
        close_segment();
    }
    iter.set_index(was);
}
