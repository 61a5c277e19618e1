#include "arcline/intersect/velListIntersector.h"

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/lists/velPolylineListIter.h"

int velListIntersector::closed_by_coincident_ends(const velPolylineListIter& list, int index, void*) {
    // The intersector asks while the list stands on the polyline; elsewhere a copy is moved there.
    if (list.index() == index) {
        const int n = list.num_pos();
        return n > 1 && list.get_pos(0) == list.get_pos(n - 1);
    }
    std::unique_ptr<velPolylineListIter> copy(list.create_new());
    copy->set_index(index);
    const int n = copy->num_pos();
    return n > 1 && copy->get_pos(0) == copy->get_pos(n - 1);
}

int velListIntersector::intersect(velPolylineListIter& list, velCrossData& data, velProgressBreak* progress,
                                  int* node_count) {
    if (!data.closure_function()) data.set_closure_function(&closed_by_coincident_ends, nullptr);
    data.set_intersections(1);
    data.set_visibility_test(0);
    data.enable_box_cache();
    velIntersectorBSPNode root(list, &data);
    int count = 0;
    const int stopped =
        root.destructive_subdivision(velIntersectorBSPNode::max_breadth_first_nodes, count, progress) == 2;
    if (node_count) *node_count = count;
    return stopped ? 1 : 0;
}

namespace {
int run(velPolylineListIter& list, int second, velCrossingcoPageArr& out, velProgressBreak* progress) {
    velCrossData data;
    data.set_store_crossing_pairs(0);
    data.set_second_boundary_index(second);
    const int r = velListIntersector::intersect(list, data, progress);
    out.become(data.crossings());
    return r;
}
} // namespace

int velListIntersector::all_crossings(velPolylineListIter& list, velCrossingcoPageArr& out,
                                      velProgressBreak* progress) {
    return run(list, -1, out, progress);
}

int velListIntersector::crossings_between(velPolylineListIter& list, int k, velCrossingcoPageArr& out,
                                          velProgressBreak* progress) {
    return run(list, k, out, progress);
}
