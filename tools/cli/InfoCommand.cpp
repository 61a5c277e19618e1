// arcline info: counts, length, area and box of geometry files.

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "tools/cli/Command.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/Json.h"
#include "tools/cli/PolylineSummary.h"

namespace arcline::cli {

namespace {

struct Options {
    std::vector<std::string> inputs;
    bool json = false;
};

void setup(CLI::App& app, Options& o) {
    app.description("Tells, for each geometry file (record, picture or DXF format), its number of polylines\n"
                    "(closed, open and empty), positions and arc spans, their total length, the sum of the\n"
                    "signed areas of the closed polylines (anticlockwise positive, so holes subtract) and\n"
                    "the box. A polyline is closed when it has a span and its ends coincide.");
    app.add_option("FILE", o.inputs, "geometry files; '-' reads standard input")->required();
    app.add_flag("--json", o.json,
                 "one JSON array, an object per file: file, format, polylines, positions, arc_spans,\n"
                 "closed, open, empty, length, area, box, warnings and, after a fault, error");
}

int run(const Options& o, Session& session) {
    Json files = Json::array();
    for (const std::string& path : o.inputs) {
        const GeometryInput in = GeometryInput::read(path, session);
        Json entry;
        entry["file"] = path;
        if (in.readable()) {
            const PolylineSummary summary = PolylineSummary::of(velAbsPolyArcLineListIter(in.polylines()));
            if (o.json) {
                entry["format"] = GeometryInput::format_name(in.format());
                summary.add_to(entry);
                entry["warnings"] = in.warnings();
            } else {
                summary.write_text(session.out(), in.name());
                if (!in.ok()) session.out() << "  (only the polylines before the fault)\n";
            }
        }
        if (!in.ok()) entry["error"] = in.fault();
        files.push_back(std::move(entry));
    }
    if (o.json) print_json(files, session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"info", "counts, length, signed area and box of geometry files", 10, false}, setup, run);

} // namespace

} // namespace arcline::cli
