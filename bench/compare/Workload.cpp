#include "bench/compare/Workload.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <filesystem>

namespace compare {

bool read_workload(const std::string& dir, const std::string& name, Workload& out, std::string& error) {
    out = Workload();
    out.name = name;
    out.path = (std::filesystem::path(dir) / (name + ".txt")).string();
    if (!std::filesystem::is_regular_file(out.path)) {
        error = out.path + ": no such file (the workloads are made by ../shared/bench/make_workloads.py; "
                           "--data DIR reads them elsewhere)";
        return false;
    }
    velGeometryIOFault fault;
    if (!velGeometryIO::read(out.path.c_str(), out.polylines, fault)) {
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "..." + std::string temporaries.
        error = out.path;
        if (fault.line > 0) error.append(":").append(std::to_string(fault.line));
        error.append(": ").append(fault.reason.empty() ? std::string("cannot be read") : fault.reason);
        return false;
    }
    if (out.polylines.empty()) {
        error = out.path + ": holds no polyline";
        return false;
    }
    velAbsPolyArcLineListIter list(out.polylines);
    for (list.reset(); ++list;) {
        Chain chain = chords_of(list, chord_deviation);
        for (int i = 0; i + 1 < list.num_pos(); ++i)
            out.arc_spans += !list.span_linear(i);
        out.spans += list.num_pos() > 0 ? list.num_pos() - 1 : 0;
        out.exact_areas.push_back(chain.closed ? velPolylineUtils::area(list) : 0.0);
        out.exact_area += out.exact_areas.back();
        if (chain.closed) out.chord_area += signed_area(chain);
        out.chord_vertices += static_cast<long long>(chain.points.size());
        out.chains.push_back(std::move(chain));
    }
    return true;
}

} // namespace compare
