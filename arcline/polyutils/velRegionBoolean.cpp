#include "arcline/polyutils/velRegionBoolean.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <memory>

namespace {

using velSorterScratch::Scratch;

// The region's boundaries oriented by nesting: outer anticlockwise, holes clockwise.
void oriented(const velPolylineListIter& in, Scratch& out) {
    Scratch closed;
    velSorterScratch::copy_all(in, closed);
    velSorterScratch::close_every(closed);
    velPolylineSorter sorter;
    std::unique_ptr<velPolylineListIter> list(closed.native_iter());
    sorter.orient(*list, &out);
}

// a minus b with both oriented; the sorter's subtraction wants a clockwise.
int difference_of_oriented(Scratch& a, Scratch& b, velPolylineListCursor& out) {
    velPolylineListUtils::reverse_contours(a);
    velPolylineSorter sorter;
    Scratch result;
    sorter.subtraction(a.iterator(), b.iterator(), result);
    velPolylineListUtils::reverse_contours(a);
    velPolylineListUtils::reverse_contours(result);
    velSorterScratch::copy_all(result.iterator(), out);
    return sorter.boolean_code();
}

// Input with a coordinate that is not finite is refused: out empty.
bool refused(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out) {
    if (velSorterScratch::all_finite(a) && velSorterScratch::all_finite(b)) return false;
    out.clear();
    return true;
}

// Both regions oriented, then `operation(oriented a, oriented b)`; refused when a coordinate is not finite.
template <class Operation>
int on_oriented(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out,
                Operation operation) {
    if (refused(a, b, out)) return velPolylineSorter::non_finite_input;
    Scratch oa, ob;
    oriented(a, oa);
    oriented(b, ob);
    return operation(oa, ob);
}

} // namespace

int region_union(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out) {
    return on_oriented(a, b, out, [&](Scratch& oa, Scratch& ob) {
        velPolylineSorter sorter;
        sorter.addition(oa.iterator(), ob.iterator(), out);
        return sorter.boolean_code();
    });
}

int region_intersection(const velPolylineListIter& a, const velPolylineListIter& b,
                        velPolylineListCursor& out) {
    return on_oriented(a, b, out, [&](Scratch& oa, Scratch& ob) {
        velPolylineSorter sorter;
        sorter.intersection(oa.iterator(), ob.iterator(), out);
        return sorter.boolean_code();
    });
}

int region_difference(const velPolylineListIter& a, const velPolylineListIter& b,
                      velPolylineListCursor& out) {
    return on_oriented(a, b, out, [&](Scratch& oa, Scratch& ob) {
        out.clear();
        return difference_of_oriented(oa, ob, out);
    });
}

int region_xor(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out) {
    // The two differences meet along edges that A and B share with opposite sides: their union merges them.
    return on_oriented(a, b, out, [&](Scratch& oa, Scratch& ob) {
        Scratch a_not_b, b_not_a;
        out.clear();
        const int first = difference_of_oriented(oa, ob, a_not_b);
        const int second = difference_of_oriented(ob, oa, b_not_a);
        velPolylineSorter sorter;
        sorter.addition(a_not_b.iterator(), b_not_a.iterator(), out);
        return first != 0 ? first : (second != 0 ? second : sorter.boolean_code());
    });
}
