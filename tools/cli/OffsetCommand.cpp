// arcline offset: the offset of every polyline of a file by a signed distance. Only the raw offset exists so
// far (--raw): each polyline offset span by span with its corners joined, loops and temporary spans kept.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgOutput.h"
#include "tools/cli/SvgPath.h"

#include "arcline/platform/coDListcoCursor.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <system_error>

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output;
    double distance = 0.0;
    bool raw = false, extend = false;
    double chamfer = -1.0; // negative: no chamfer
    SvgOutput svg;
};

// A CLI11 check that the text is a finite number (with `non_negative`, one of at least 0).
CLI::Validator finite_number(const char* name, bool non_negative) {
    return CLI::Validator(
        [non_negative](std::string& text) -> std::string {
            double v = 0.0;
            const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
            const char* end = text.data() + text.size();
            const std::from_chars_result r = std::from_chars(begin, end, v);
            if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v) || (non_negative && v < 0.0))
                return "'" + text + "' is not a finite number" + (non_negative ? " of at least 0" : "");
            return {};
        },
        name);
}

void setup(CLI::App& app, Options& o) {
    app.description(
        "Offsets every polyline of a geometry file (record, picture or DXF format) by DIST: a positive\n"
        "distance moves each span to its right, so an anticlockwise outline grows and a clockwise one\n"
        "(a hole) shrinks; a negative one moves it to its left. Offsetting works in XY; heights ride\n"
        "along. Only the raw offset is built so far, and --raw asks for it: each polyline offset span by\n"
        "span, concave corners trimmed, convex ones rounded (or sharp with --extend), where the offset\n"
        "overlaps itself the loops kept and closed by temporary spans, which the full offset will cut\n"
        "away. A closed polyline offset inwards by half its extent or more vanishes; single points give\n"
        "nothing. The polylines written go to OUT (records, DXF or .cdg by its extension); the counts\n"
        "(polylines written, vanished, spans, temporary spans) to standard output, or to standard error\n"
        "when OUT is standard output. The picture draws the input in grey, the offsets in blue and\n"
        "their temporary spans dashed in red.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("DIST", o.distance, "the signed offset distance")
        ->required()
        ->check(finite_number("DIST", false));
    app.add_flag("--raw", o.raw,
                 "the raw offset, loops and temporary spans included (required: the full offset,\n"
                 "valid loops and nested regions, is not built yet)");
    app.add_flag("--extend", o.extend,
                 "join convex corners sharp by extending the spans (default: round them by arcs of\n"
                 "radius |DIST| about the input corner)");
    app.add_option("--chamfer", o.chamfer,
                   "sharp corners (implies --extend) that would lie farther than MAX from the input\n"
                   "corner are cut by a chamfer line at MAX from it; corners where even |DIST| exceeds\n"
                   "MAX are rounded")
        ->check(finite_number("MAX", true))
        ->type_name("MAX");
    app.add_option("-o,--output", o.output, "the offsets as a geometry file; '-' writes standard output")
        ->required()
        ->type_name("OUT");
    SvgOutput::add_option(app, o.svg, "the input and its raw offsets (temporary spans dashed)");
}

// The raw offsets of one input, with the temporary flags of their spans and where each came from.
struct RawOffsets {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines; // finite ones only
    std::vector<std::vector<bool>> temporary;          // per polyline, per span
    std::vector<int> sources;                          // per polyline, its input polyline (from 0)
    int spans = 0, temporary_lines = 0, temporary_arcs = 0;
    int not_finite = 0; // offsets left out
};

RawOffsets raw_offsets(const GeometryInput& in, const Options& o, Session& session) {
    velAbsPolyArcLineListIter list(in.polylines());
    velAbsPolyArcLinecoDListPrgcoPrgcoDList made;
    velPolylineWithOffsetFlagsListCursor cursor(ut_ptr_claim, new velAbsPolyArcLineListCursor(made));
    const int extend = o.extend || o.chamfer >= 0.0 ? 1 : 0;
    std::vector<int> sources;
    velPolyArcLineOffsetter::offset_list(list, cursor, o.distance, extend, o.chamfer >= 0.0 ? 1 : 0,
                                         o.chamfer, &sources);

    RawOffsets r;
    coDListcoCursor<velAbsPolyArcLinecoPrg> keep(r.polylines);
    auto& it = static_cast<velPolylineWithOffsetFlagsListIter&>(cursor.iterator());
    auto made_polyline = made.begin();
    for (it.reset(); ++it; ++made_polyline) {
        const int source = sources[static_cast<std::size_t>(it.index())];
        if (!finite_polyline(it)) {
            // Coordinates near the largest double: the offset overflows.
            session.fault(in.name(), "polyline " + std::to_string(source) +
                                         ": its offset has coordinates that are not finite; left out");
            ++r.not_finite;
            continue;
        }
        std::vector<bool> flags;
        for (int k = 0; k + 1 < it.num_pos(); ++k) {
            const bool line = it.temporary_line(k) != 0, arc = it.temporary_arc(k) != 0;
            flags.push_back(line || arc);
            r.temporary_lines += line;
            r.temporary_arcs += arc && !line;
        }
        r.spans += static_cast<int>(flags.size());
        r.temporary.push_back(std::move(flags));
        r.sources.push_back(source);
        keep.insert_last(*made_polyline);
    }
    return r;
}

std::string corners(const Options& o) {
    if (o.chamfer >= 0.0) return "sharp corners, chamfered beyond " + format::shortest(o.chamfer);
    return o.extend ? "sharp corners" : "rounded corners";
}

void write_summary(const GeometryInput& in, int polylines, const RawOffsets& r, const Options& o,
                   Session& session) {
    const int written = static_cast<int>(r.sources.size());
    const int temps = r.temporary_lines + r.temporary_arcs;
    std::string text = in.name() + ": raw offset by " + format::shortest(o.distance) + ", " + corners(o) +
                       ": " + std::to_string(polylines) + (polylines == 1 ? " polyline, " : " polylines, ") +
                       std::to_string(written) + " written, " +
                       std::to_string(polylines - written - r.not_finite) + " vanished" +
                       (r.not_finite > 0 ? ", " + std::to_string(r.not_finite) + " not finite" : "") + "; " +
                       std::to_string(r.spans) + (r.spans == 1 ? " span, " : " spans, ") +
                       std::to_string(temps) + " temporary (" + std::to_string(r.temporary_lines) +
                       (r.temporary_lines == 1 ? " line, " : " lines, ") + std::to_string(r.temporary_arcs) +
                       (r.temporary_arcs == 1 ? " arc)" : " arcs)");
    // Standard output carries the geometry when OUT is '-': the counts go to the error stream then.
    if (o.output == "-")
        session.err() << session.command() << ": " << text << '\n';
    else
        session.out() << text << '\n';
}

// --- The picture

constexpr const char* input_colour = "#8c8c8c";
constexpr const char* offset_colour = "#1f77b4";
constexpr const char* temporary_colour = "#d62728";

// One span of the current polyline of `it`, starting where the path stands.
void span_to(SvgPath& path, const velPolylineListIter& it, int k) {
    if (it.span_linear(k))
        path.line_to(it.get_pos(k + 1));
    else
        path.arc_to(it.get_mid_pos(k), it.get_pos(k + 1));
}

std::string picture(const GeometryInput& in, const RawOffsets& r, const Options& o) {
    velAbsPolyArcLineListIter input(in.polylines()), offsets(r.polylines);
    giBox2 box;
    for (velAbsPolyArcLineListIter* it : {&input, &offsets})
        for (it->reset(); ++*it;)
            box.merge(it->box(vel_2d_box));
    const SvgPage page(box, 800.0, PolylineDrawing::margin, SvgDocument::band_height(3));
    SvgDocument doc(page, "arcline: raw offset of " + in.name() + " by " + format::shortest(o.distance),
                    "#ffffff");

    SvgPath lines(page);
    for (input.reset(); ++input;)
        lines.add_polyline(input);
    // Permanent spans in runs, each run one subpath; temporary spans each a subpath of their own.
    SvgPath kept(page), temporary(page);
    for (offsets.reset(); ++offsets;) {
        const std::vector<bool>& flags = r.temporary[static_cast<std::size_t>(offsets.index())];
        bool in_run = false;
        for (int k = 0; k + 1 < offsets.num_pos(); ++k) {
            const bool temp = flags[static_cast<std::size_t>(k)];
            SvgPath& path = temp ? temporary : kept;
            if (temp || !in_run) path.move_to(offsets.get_pos(k));
            span_to(path, offsets, k);
            in_run = !temp;
        }
    }
    auto layer = [&doc](const char* cls, const std::string& name, const char* colour, const SvgPath& path,
                        const char* style) {
        doc.open_group(std::string("class=\"layer ") + cls + "\" data-file=\"" + format::xml_escape(name) +
                       "\" stroke=\"" + colour + "\" fill=\"none\" stroke-linejoin=\"round\"");
        if (!path.empty()) doc.element("<path d=\"" + path.data() + "\" " + style + "/>");
        doc.close_group();
    };
    const int temps = r.temporary_lines + r.temporary_arcs;
    layer("input", in.name(), input_colour, lines, "stroke-width=\"1\"");
    layer("offset", "raw offset", offset_colour, kept, "stroke-width=\"1.5\"");
    layer("temporary", "temporary spans", temporary_colour, temporary,
          "stroke-width=\"1.5\" stroke-dasharray=\"6 3\"");
    const int n_in = velAbsPolyArcLineListIter(in.polylines()).size();
    const int n_out = static_cast<int>(r.sources.size());
    doc.legend_entry(0, input_colour,
                     in.name() + " (" + std::to_string(n_in) + (n_in == 1 ? " polyline)" : " polylines)"),
                     "#333333");
    doc.legend_entry(1, offset_colour,
                     "raw offset by " + format::shortest(o.distance) + ", " + corners(o) + " (" +
                         std::to_string(n_out) + (n_out == 1 ? " polyline)" : " polylines)"),
                     "#333333");
    doc.legend_entry(2, temporary_colour, "temporary spans, dashed (" + std::to_string(temps) + ")",
                     "#333333");
    doc.scale_bar("#333333");
    return doc.finish();
}

int run(const Options& o, Session& session) {
    if (!o.raw) {
        session.fault(session.command(),
                      "only the raw offset is built so far: give --raw (the full offset, with valid loops "
                      "and nested regions, comes with the contour offsetter)");
        return session.exit_code();
    }
    if (o.output == "-" && o.svg.path == "-") {
        session.fault(session.command(), "OUT and --svg cannot both be standard output");
        return session.exit_code();
    }
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.usable_for_output(o.output, session)) return session.exit_code();
    const RawOffsets r = raw_offsets(in, o, session);
    const velAbsPolyArcLineListIter written(r.polylines);
    if (!GeometryOutput::write(o.output, written, GeometryOutput::format_of_path(o.output), in.name(),
                               session))
        return session.exit_code();
    write_summary(in, velAbsPolyArcLineListIter(in.polylines()).size(), r, o, session);
    if (!o.svg.path.empty()) OutputFile::write(o.svg.path, picture(in, r, o), session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"offset", "the raw offset of every polyline of a file by a distance (--raw)", 40}, setup, run);

} // namespace

} // namespace arcline::cli
