#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "tools/cli/Commands.h"
#include "tools/cli/GeometryFile.h"
#include "tools/cli/PolylineSummary.h"

namespace arcline::cli {

int run_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ArgParser parser(
        "arcline info", "FILE... [--json]",
        "Tells, for each geometry file (record or picture format), its number of polylines\n"
        "(closed and open), positions and arc spans, their total length, the sum of the signed\n"
        "areas of the closed polylines (anticlockwise positive, so holes subtract) and the box.\n"
        "A polyline is closed when it has a span and its ends coincide.");
    parser.flag("json", 0,
                "one JSON object per file and line: file, polylines, positions, arc_spans, closed,\n"
                "open, length, area, box [minx, miny, minz, maxx, maxy, maxz]; error on a fault");
    if (const int code = parse_or_exit(parser, args, out, err); code >= 0) return code;
    if (parser.positionals().empty()) return bad_arguments(parser, "missing FILE", err);

    const bool json = parser.has("json");
    int code = exit_ok;
    for (const std::string& path : parser.positionals()) {
        const GeometryFile file = GeometryFile::load(path);
        if (!file.ok()) {
            err << file.fault() << "\n";
            code = exit_bad_input;
        }
        if (!file.readable()) continue;
        const PolylineSummary summary = PolylineSummary::of(velAbsPolyArcLineListIter(file.polylines()));
        if (json) {
            summary.write_json(out, path, file.fault());
        } else {
            summary.write_text(out, path);
            if (!file.ok()) out << "  (only the polylines before the fault)\n";
        }
    }
    return code;
}

} // namespace arcline::cli
