// arcline cdg2svg: a debug geometry document drawn as an SVG picture.

#include "arcline/debug/CDGReader.h"
#include "tools/cli/CdgDrawing.h"
#include "tools/cli/Command.h"
#include "tools/cli/Diagnostics.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/SvgOutput.h"

#include <cmath>

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output;
    double size = 800.0;
    bool no_labels = false, dark = false;
};

void setup(CLI::App& app, Options& o) {
    app.description("Draws a debug geometry document: points, lines, vectors, arcs and helices, ellipses,\n"
                    "triangles and tools (as circles of their diameter), in their colours and with their\n"
                    "labels, seen from +Z; every node of the document is an SVG group named after it.\n"
                    "Transform records are not applied and work planes are not drawn (a warning says so).");
    app.add_option("DOC", o.input, "the document (.cdg); '-' reads standard input")->required();
    app.add_option("-o,--output", o.output, "the picture to write; '-' for standard output")
        ->required()
        ->type_name("OUT.svg");
    SvgOutput::add_size_option(app, o.size);
    app.add_flag("--no-labels", o.no_labels, "leave out the labels of the entities");
    app.add_flag("--dark", o.dark, "a dark page, as the document viewer shows it (default: light)");
}

bool finite(const lumet::CDGRecord& r) {
    for (const lumet::P3& p : r.points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    for (const auto& q : r.params)
        if (!std::isfinite(q.u) || !std::isfinite(q.v)) return false;
    return true;
}

// The records of a document, line by line, so that faults name their lines. Stops at the first fault.
std::vector<lumet::CDGRecord> read_document(std::string_view text, Diagnostics& diag) {
    std::vector<lumet::CDGRecord> out;
    int line_no = 0, depth = 0;
    auto next_line = [&](std::string_view& line) {
        if (text.empty()) return false;
        const std::size_t br = text.find_first_of("\r\n");
        line = text.substr(0, br);
        if (br == std::string_view::npos) {
            text = {};
        } else {
            text.remove_prefix(br + (text.compare(br, 2, "\r\n") == 0 ? 2 : 1));
        }
        ++line_no;
        return true;
    };
    std::string_view line;
    if (!next_line(line) || line != "CDG1") {
        diag.fail(1, "not a debug geometry document: no \"CDG1\" header");
        return out;
    }
    while (next_line(line)) {
        if (line.empty()) continue;
        lumet::CDGRecord record;
        std::string reason;
        if (!lumet::CDGReader::parseRecord(line, record, &reason)) {
            diag.fail(line_no, reason);
            break;
        }
        if (!finite(record)) {
            diag.fail(line_no, std::string("'") + record.code + "' record: a coordinate is not finite");
            break;
        }
        if (record.code == 'U' || record.code == 'u') {
            if (++depth > CdgDrawing::max_depth) {
                diag.fail(line_no, "nodes nested deeper than " + std::to_string(CdgDrawing::max_depth));
                break;
            }
        } else if (record.code == 'O') {
            if (depth == 0) {
                if (!diag.warn(line_no, "'O' record without an open node: ignored")) break;
                continue;
            }
            --depth;
        }
        out.push_back(std::move(record));
    }
    return out;
}

int run(const Options& o, Session& session) {
    const std::string name = Session::display_name(o.input);
    std::string bytes, why;
    if (!GeometryInput::load_bytes(o.input, session, bytes, why)) {
        session.fault(name, why);
        return session.exit_code();
    }
    Diagnostics diag(session.options().strict);
    const std::vector<lumet::CDGRecord> records = read_document(bytes, diag);
    for (const Diagnostics::Item& item : diag.items()) {
        if (item.fault) {
            session.fault(format::where(name, item.line), item.text);
        } else {
            session.warning(format::where(name, item.line), item.text);
        }
    }
    CdgDrawing::Options options;
    options.size = o.size;
    options.labels = !o.no_labels;
    options.dark = o.dark;
    const CdgDrawing::Result picture = CdgDrawing::render(records, name, options);
    for (const std::string& note : picture.notes) {
        if (session.options().strict) {
            session.fault(name, note + " [--strict]");
        } else {
            session.warning(name, note);
        }
    }
    OutputFile::write(o.output, picture.svg, session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"cdg2svg", "draw a debug geometry document (.cdg) as an SVG picture", 40, false}, setup, run);

} // namespace

} // namespace arcline::cli
