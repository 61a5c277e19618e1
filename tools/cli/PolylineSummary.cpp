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
        s.positions += it->num_pos();
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
        << "  polylines  " << polylines << " (" << closed << " closed, " << open << " open)\n"
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

void PolylineSummary::write_json(std::ostream& out, const std::string& file, const std::string& fault) const {
    using format::json_number;
    out << "{\"file\": " << format::json_string(file) << ", \"polylines\": " << polylines
        << ", \"positions\": " << positions << ", \"arc_spans\": " << arc_spans << ", \"closed\": " << closed
        << ", \"open\": " << open << ", \"length\": " << json_number(length)
        << ", \"area\": " << json_number(area) << ", \"box\": ";
    if (box.empty()) {
        out << "null";
    } else {
        const giPoint3 &lo = box.min(), &hi = box.max();
        out << "[" << json_number(lo.x) << ", " << json_number(lo.y) << ", " << json_number(lo.z) << ", "
            << json_number(hi.x) << ", " << json_number(hi.y) << ", " << json_number(hi.z) << "]";
    }
    if (!fault.empty()) out << ", \"error\": " << format::json_string(fault);
    out << "}\n";
}

} // namespace arcline::cli
