#include "arcline/debug/CDGReader.h"
#include "tools/cli/CdgDrawing.h"
#include "tools/cli/Commands.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryFile.h"

namespace arcline::cli {

int run_cdg2svg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ArgParser parser("arcline cdg2svg", "DOC.cdg -o OUT.svg [--size PX]",
                     "Draws a debug geometry document: points, lines, vectors, arcs and helices, ellipses,\n"
                     "triangles and tools (as circles of their diameter), in their colours and with their\n"
                     "labels, seen from +Z; every node of the document is an SVG group named after it.\n"
                     "Transform records are not applied and work planes are not drawn (a note says so).");
    parser.option("output", 'o', "OUT.svg", "the picture to write; '-' for standard output")
        .option("size", 0, "PX", "page length of the drawing's longer side (default 800)");
    if (const int code = parse_or_exit(parser, args, out, err); code >= 0) return code;
    const auto& docs = parser.positionals();
    if (docs.empty()) return bad_arguments(parser, "missing DOC.cdg", err);
    if (docs.size() > 1) return bad_arguments(parser, "unexpected argument '" + docs[1] + "'", err);
    const std::optional<std::string> output = parser.value("output");
    if (!output) return bad_arguments(parser, "missing -o OUT.svg", err);
    const std::optional<double> size = page_size(parser, err);
    if (!size) return exit_bad_input;

    const std::string& path = docs[0];
    if (const std::string why = GeometryFile::unreadable(path); !why.empty()) {
        err << path << ": " << why << "\n";
        return exit_bad_input;
    }
    int code = exit_ok;
    std::vector<lumet::CDGRecord> records;
    lumet::CDGReader::Fault fault;
    if (!lumet::CDGReader::read(path, records, &fault)) {
        err << format::where(path, fault.line) << ": " << fault.reason << "\n";
        code = exit_bad_input;
    }
    const CdgDrawing::Result picture = CdgDrawing::render(records, path, *size);
    for (const std::string& note : picture.notes)
        err << path << ": " << note << "\n";
    if (!write_output(*output, picture.svg, out, err)) return exit_not_written;
    return code;
}

} // namespace arcline::cli
