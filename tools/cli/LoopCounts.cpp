#include "tools/cli/LoopCounts.h"

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "tools/cli/Format.h"

namespace arcline::cli {

LoopCounts LoopCounts::of(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
    LoopCounts r;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;)
        r.add(it);
    return r;
}

void LoopCounts::add(const velPolylineListIter& it) {
    ++polylines;
    const int n = it.num_pos();
    // A polyline without a span bounds nothing and runs nowhere: counted, but neither loop nor open.
    if (n < 2) return;
    spans += n - 1;
    length += velPolylineUtils::length(it);
    if (velPolylineUtils::closed(it, 0.0) == 0) {
        ++open;
        return;
    }
    const double a = velPolylineUtils::area(it);
    ++loops;
    (a >= 0.0 ? outer : holes) += 1;
    area += a;
}

void LoopCounts::add(const LoopCounts& other) {
    polylines += other.polylines;
    loops += other.loops;
    outer += other.outer;
    holes += other.holes;
    open += other.open;
    spans += other.spans;
    area += other.area;
    length += other.length;
}

std::string LoopCounts::describe() const {
    std::string text = format::plural(loops, "loop", "loops") + ": " +
                       format::plural(outer, "outer boundary", "outer boundaries") + ", " +
                       format::plural(holes, "hole", "holes");
    if (open > 0) text += ", " + format::plural(open, "open polyline", "open polylines");
    return text;
}

void LoopCounts::to_json(Json& doc) const {
    doc["polylines"] = polylines;
    doc["loops"] = loops;
    doc["outer"] = outer;
    doc["holes"] = holes;
    doc["open"] = open;
    doc["spans"] = spans;
    doc["area"] = area;
    doc["length"] = length;
}

} // namespace arcline::cli
