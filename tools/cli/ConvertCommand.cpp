// arcline convert: geometry from one format to another.

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "tools/cli/Command.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/SvgOutput.h"

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output, to;
    bool partial = false;
    SvgOutput svg;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Reads IN (a geometry record file, a picture file or DXF) and writes its polylines to OUT in the\n"
        "record format (velGeometryIO 1, every coordinate exact), as DXF (LWPOLYLINE with bulges: arcs\n"
        "stay exact) or as a debug geometry document (.cdg, for 'arcline cdg2svg'), by OUT's extension\n"
        "or --to. OUT is replaced only when IN was read whole: after a fault in IN it is left as it was,\n"
        "unless --partial asks for the polylines read before the fault.");
    app.add_option("IN", o.input, "the geometry to read; '-' reads standard input")->required();
    app.add_option("OUT", o.output, "the file to write; '-' writes standard output")->required();
    app.add_option("--to", o.to,
                   "the format of OUT: records, dxf or cdg (default: by OUT's extension,\n"
                   ".dxf or .cdg, else records)")
        ->check(CLI::IsMember({"records", "dxf", "cdg"}))
        ->type_name("FORMAT");
    app.add_flag("--partial", o.partial,
                 "after a fault in IN, still write the polylines read before it (the exit code stays 2)");
    SvgOutput::add_option(app, o.svg, "the polylines written");
}

int run(const Options& o, Session& session) {
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.readable()) return session.exit_code();
    if (!in.ok() && !o.partial) {
        session.err() << session.command() << ": " << (o.output == "-" ? "<stdout>" : o.output)
                      << " not written (--partial writes the polylines read before the fault)\n";
        return session.exit_code();
    }
    const GeometryOutput::Format format =
        o.to.empty() ? GeometryOutput::format_of_path(o.output) : *GeometryOutput::parse_format(o.to);
    const velAbsPolyArcLineListIter list(in.polylines());
    if (!GeometryOutput::write(o.output, list, format, in.name(), session)) return session.exit_code();
    o.svg.write({{in.name(), &in.polylines()}}, session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"convert", "geometry from one format to another: records, picture or DXF in; records, DXF or .cdg out",
     20, false},
    setup, run);

} // namespace

} // namespace arcline::cli
