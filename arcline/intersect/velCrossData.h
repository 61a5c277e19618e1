#pragma once
// The working block of one intersection run: the options that the intersector reads and the arrays into
// which it writes. Owned by whoever runs the intersection (usually the sorter) and handed to the intersector
// by pointer; it outlives the intersector's tree. Not copyable: the arrays can be large and the intersector
// holds on to this object.
//
// Settings, each set through its setter before an intersection runs:
// - store_alternate_crossings (default 0): keep alternate crossings (marks 1 and 2) instead of dropping them.
// - store_crossing_pairs (default 1): follow each crossing by its mirror (curves swapped, start inverted).
// - second_boundary_index (default -1): when 0 or more the list holds two boundaries, polylines below the
//   index (boundary A) and the others (B), and only crossings between A and B are wanted.
// - closure function and its data (default none): tells whether the polyline of an index is closed.
// - totally_closed (default 0): every polyline is closed (the closure function is the all-closed one).
// - visibility_test (default 0): the intersector answers a visibility query rather than finding crossings.
// - intersections (default 0): crossings are to be computed.
// Results: crossings() holds every crossing found; the two scratch arrays belong to the intersector.

#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/lists/velClosureFunction.h"

#include <memory>

class velCrossData {
public:
    velCrossData() = default;
    // Room for `count` crossings made in advance; the array starts empty.
    explicit velCrossData(int count);
    velCrossData(const velCrossData&) = delete;
    velCrossData& operator=(const velCrossData&) = delete;
    ~velCrossData() = default;

    velCrossingcoPageArr& crossings() { return m_crossings; }
    const velCrossingcoPageArr& crossings() const { return m_crossings; }
    velCrossingcoPageArr& get_temp_crossings1() { return m_temp_crossings1; }
    velCrossingcoPageArr& get_temp_crossings2() { return m_temp_crossings2; }

    int store_alternate_crossings() const { return m_store_alternate_crossings; }
    void set_store_alternate_crossings(int on) { m_store_alternate_crossings = on; }
    int store_crossing_pairs() const { return m_store_crossing_pairs; }
    void set_store_crossing_pairs(int on) { m_store_crossing_pairs = on; }
    int second_boundary_index() const { return m_second_boundary_index; }
    void set_second_boundary_index(int index) { m_second_boundary_index = index; }
    // The list holds two boundaries: second_boundary_index() >= 0.
    bool two_boundaries() const { return m_second_boundary_index >= 0; }

    velClosureFunction closure_function() const { return m_closure_function; }
    void* closure_data() const { return m_closure_data; }
    // `data` (not owned) is handed to `closed` at every call and must outlive its use.
    void set_closure_function(velClosureFunction closed, void* data) {
        m_closure_function = closed;
        m_closure_data = data;
    }
    // Whether polyline `index` of `iter` is closed, by the closure function; 1 (every polyline closed)
    // when none is set.
    int closed(const velPolylineListIter& iter, int index) const;

    int totally_closed() const { return m_totally_closed; }
    void set_totally_closed(int on) { m_totally_closed = on; }
    int visibility_test() const { return m_visibility_test; }
    void set_visibility_test(int on) { m_visibility_test = on; }
    int intersections() const { return m_intersections; }
    void set_intersections(int on) { m_intersections = on; }

    // The optional cache of span boxes of the input list (owned): enable_box_cache() makes an empty one
    // when there is none (the intersection fills it), disable_box_cache() destroys it, box_cache() is null
    // without one.
    void enable_box_cache();
    void disable_box_cache() { m_box_cache.reset(); }
    velPolyarcline2dBoxCache* box_cache() { return m_box_cache.get(); }
    const velPolyarcline2dBoxCache* box_cache() const { return m_box_cache.get(); }

    // Crossings are kept in pages of 2^crossing_page_factor records (64 KiB): intersections of large lists
    // make tens of thousands of them, and small pages would cost an allocation every few records.
    static constexpr int crossing_page_factor = 10;
    static constexpr int scratch_page_factor = 6;

private:
    velCrossingcoPageArr m_temp_crossings1{scratch_page_factor};
    velCrossingcoPageArr m_temp_crossings2{scratch_page_factor};
    velCrossingcoPageArr m_crossings{crossing_page_factor};
    int m_store_alternate_crossings = 0;
    int m_store_crossing_pairs = 1;
    int m_second_boundary_index = -1;
    velClosureFunction m_closure_function = nullptr;
    void* m_closure_data = nullptr; // not owned
    int m_totally_closed = 0;
    int m_visibility_test = 0;
    int m_intersections = 0;
    std::unique_ptr<velPolyarcline2dBoxCache> m_box_cache;
};
