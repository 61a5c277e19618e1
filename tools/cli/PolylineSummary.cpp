#include "tools/cli/PolylineSummary.h"

#include "arcline/polyline/utils/velPolylineUtils.h"
#include "tools/cli/Format.h"

#include <memory>

namespace arcline::cli {

bool PolylineSummary::is_closed(const velPolylineListIter& it) {
    return it.num_pos() >= 2 && velPolylineUtils::closed(it, closure_tol);
}

PolylineSummary PolylineSummary::of(const velPolylineListIter& list) {
    PolylineSummary s;
    const std::unique_ptr<velPolylineListIter> it(list.create_new());
    it->reset();
    while (++*it) {
        ++s.polylines;
        const int n = it->num_pos();
        if (n == 0) {
            ++s.empty;
            continue;
        }
        s.positions += n;
        s.arc_spans += velPolylineUtils::num_arc_spans(*it);
        s.length += velPolylineUtils::length(*it);
        if (is_closed(*it)) {
            ++s.closed;
            s.area += velPolylineUtils::area(*it);
        } else {
            ++s.open;
        }
        s.box.merge(it->box(vel_3d_box));
    }
    return s;
}

void PolylineSummary::write_text(std::ostream& out, const std::string& file) const {
    using format::shortest;
    out << file << ":\n"
        << "  polylines  " << polylines << " (" << closed << " closed, " << open << " open";
    if (empty > 0) out << ", " << empty << " empty";
    out << ")\n"
        << "  positions  " << positions << "\n"
        << "  arc spans  " << arc_spans << "\n"
        << "  length     " << shortest(length) << "\n"
        << "  area       " << shortest(area) << " (closed polylines, anticlockwise positive)\n";
    if (box.empty()) {
        out << "  box        empty\n";
    } else {
        const giPoint3 &lo = box.min(), &hi = box.max();
        out << "  box        (" << shortest(lo.x) << ", " << shortest(lo.y) << ", " << shortest(lo.z)
            << ") .. (" << shortest(hi.x) << ", " << shortest(hi.y) << ", " << shortest(hi.z) << ")\n";
    }
}

void PolylineSummary::add_to(Json& o) const {
    o["polylines"] = polylines;
    o["positions"] = positions;
    o["arc_spans"] = arc_spans;
    o["closed"] = closed;
    o["open"] = open;
    o["empty"] = empty;
    o["length"] = length;
    o["area"] = area;
    if (box.empty()) {
        o["box"] = nullptr;
    } else {
        const giPoint3 &lo = box.min(), &hi = box.max();
        o["box"] = Json::array({lo.x, lo.y, lo.z, hi.x, hi.y, hi.z});
    }
}

} // namespace arcline::cli
