// arcline orient: the polylines of a file oriented by their depth in the nesting, by the polyline sorter.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"

#include <algorithm>
#include <ostream>
#include <vector>

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Orients the polylines of a geometry file (record, picture or DXF format), every one taken\n"
        "as closed, by their depth in the nesting: outer boundaries (depth 1, 3, ...) anticlockwise,\n"
        "holes (depth 2, 4, ...) clockwise. Polylines that cross are first cut at their crossings\n"
        "and rejoined into loops that do not. The result goes to OUT (records, DXF or .cdg by its\n"
        "extension); how many polylines were reversed to standard output (to standard error when\n"
        "OUT is standard output).");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("-o,--output", o.output, "the oriented polylines; '-' writes standard output")
        ->required()
        ->type_name("OUT");
}

int run(const Options& o, Session& session) {
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.usable_for_output(o.output, session)) return session.exit_code();
    const velAbsPolyArcLineListIter list(in.polylines());
    velAbsPolyArcLinecoDListPrgcoPrgcoDList result;
    velAbsPolyArcLineListCursor cursor(result);
    velPolylineSorter sorter;
    const bool crossed = sorter.any_intersections(list) != 0;
    std::vector<int> reverse;
    const int code = sorter.orient(list, &cursor, &reverse);
    if (!GeometryOutput::write(o.output, velAbsPolyArcLineListIter(result),
                               GeometryOutput::format_of_path(o.output), in.name(), session))
        return session.exit_code();
    const int n_out = velAbsPolyArcLineListIter(result).size();
    std::string text = in.name() + ": " + format::plural(list.size(), "polyline", "polylines");
    if (code != 0) {
        session.err() << session.command() << ": " << in.name()
                      << ": the crossings could not be made consistent; the input is written uncut, oriented "
                         "by depth\n";
        session.raise(exit_not_written);
        text += ", crossing; written uncut, oriented by depth";
    } else if (crossed) {
        // The loops are pieces of several polylines: no polyline of the input is reversed as a whole.
        text += ", crossing; cut and rejoined into " + format::plural(n_out, "loop", "loops") +
                ", oriented by depth";
    } else {
        const int reversed = static_cast<int>(std::count(reverse.begin(), reverse.end(), 1));
        text += ", " + std::to_string(reversed) + " reversed";
    }
    if (o.output == "-")
        session.err() << session.command() << ": " << text << '\n';
    else
        session.out() << text << '\n';
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"orient", "the polylines of a file oriented by their nesting depth", 37}, setup, run);

} // namespace

} // namespace arcline::cli
