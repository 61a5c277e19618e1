// arcline offset: the region of a file's closed polylines offset by a signed distance (the default), every
// polyline offset on its own (--each), or the raw offsets span by span (--raw, see RawOffset).

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velSingleAbsArcLineListIter.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/Json.h"
#include "tools/cli/LoopCounts.h"
#include "tools/cli/NumberOption.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/RawOffset.h"
#include "tools/cli/RegionOffset.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgOutput.h"
#include "tools/cli/SvgPath.h"

#include <memory>
#include <ostream>

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output;
    double distance = 0.0;
    bool raw = false, each = false, sharp = false, json = false;
    double chamfer = -1.0; // negative: no chamfer
    SvgOutput svg;

    OffsetCorners corners() const { return {sharp, chamfer}; }
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Offsets the polylines of a geometry file (record, picture or DXF format) by DIST. By default the\n"
        "file is one region: its closed polylines are nested into outer boundaries, holes and islands by\n"
        "the geometry alone (any orientation in) and the region is offset: a positive distance grows the\n"
        "material (outer boundaries grow, holes shrink), a negative one shrinks it; where offsets meet\n"
        "they merge, and what is pinched off vanishes. Open polylines are refused in this mode. With\n"
        "--each every polyline is offset on its own: a positive distance gives its right side (outside\n"
        "an anticlockwise loop), a negative one its left side; an open polyline gives the run along that\n"
        "side, end caps left out. --raw gives the raw offsets: each polyline offset span by span, where\n"
        "the offset overlaps itself the loops kept and closed by temporary spans. Offsetting works in\n"
        "XY; heights ride along. The result goes to OUT (records, DXF or .cdg by its extension); the\n"
        "counts (loops, outer boundaries and holes, spans, area) to standard output, or to standard\n"
        "error when OUT is standard output.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("DIST", o.distance, "the signed offset distance")
        ->required()
        ->check(finite_number("DIST"));
    app.add_flag("--each", o.each,
                 "offset every polyline on its own: its right side, or its left for DIST < 0");
    app.add_flag("--raw", o.raw,
                 "the raw offset of every polyline, loops and temporary spans included (the spans that\n"
                 "the valid offset cuts away)");
    app.add_flag("--sharp,--extend", o.sharp,
                 "join convex corners sharp by extending the spans (default: round them by arcs of\n"
                 "radius |DIST| about the input corner)");
    app.add_option("--chamfer", o.chamfer,
                   "sharp corners (implies --sharp) that would lie farther than MAX from the input\n"
                   "corner are cut by a chamfer line at MAX from it; corners where even |DIST| exceeds\n"
                   "MAX are rounded")
        ->check(finite_number("MAX", NumberSign::non_negative))
        ->type_name("MAX");
    app.add_option("-o,--output", o.output, "the offsets as a geometry file; '-' writes standard output")
        ->required()
        ->type_name("OUT");
    app.add_flag("--json", o.json,
                 "the counts as one JSON object: loops, outer, holes, open, spans, area, and per output\n"
                 "polyline its spans, area and length");
    SvgOutput::add_option(app, o.svg, "the input and its offsets (filled, outer boundaries blue, holes red)");
}

// The valid offsets of one input, with the input polyline each came from (-1 in region mode).
struct Offsets {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines; // finite ones only
    std::vector<int> sources;
    int vanished = 0;   // input polylines that gave nothing (--each)
    int not_finite = 0; // offsets left out
};

// Moves the finite polylines of `made` into `r`, each from input polyline `source`.
void keep_finite(const velPolylineListIter& made, int source, const GeometryInput& in, Offsets& r,
                 Session& session) {
    std::unique_ptr<velPolylineListIter> it(made.create_new());
    velAbsPolyArcLineListCursor keep(r.polylines);
    keep.set_index(keep.size() - 1);
    for (it->reset(); ++*it;) {
        if (!finite_polyline(*it)) {
            session.fault(in.name(), (source >= 0 ? "polyline " + std::to_string(source) + ": its offset has"
                                                  : std::string("an offset loop has")) +
                                         " coordinates that are not finite; left out");
            ++r.not_finite;
            continue;
        }
        it->copy_single(keep);
        r.sources.push_back(source);
    }
}

// Whether every position (and arc mid point) of the polyline has one z.
bool flat(const velAbsPolyArcLine& line) {
    giPoint3 p;
    line.get_pos(1, p);
    const double z = p.z;
    for (int i = 1; i <= line.num_pos(); ++i) {
        line.get_pos(i, p);
        if (p.z != z) return false;
        if (i > 1 && !line.span_linear(i - 1)) {
            line.get_mid_pos(i - 1, p);
            if (p.z != z) return false;
        }
    }
    return true;
}

// Every polyline of `in` offset on its own: the right side at the distance, or the left side at -distance.
// A polyline whose height changes (a ramp, a helix) is offset in XY and its heights carried along the
// input (velPolylineListUtils::offset_with_z): its arcs are circles only as seen from above.
Offsets each_offsets(const GeometryInput& in, const Options& o, Session& session) {
    Offsets r;
    velOffsetter offsetter;
    o.corners().apply(offsetter);
    int index = 0;
    for (const velAbsPolyArcLinecoPrg& line : in.polylines()) {
        const int source = index++;
        if (line->num_spans() < 1) {
            ++r.vanished; // a point has no sides
            continue;
        }
        auto copy = std::unique_ptr<velAbsPolyArcLine>(line->create_new());
        giPoint3 start, end;
        copy->get_pos(1, start);
        copy->get_pos(copy->num_pos(), end);
        // Ends a hair apart: a loop, closed exactly as contours want it.
        if (start != end && start.distance(end) <= RegionOffset::closing_gap)
            copy->edit_pos(copy->num_pos(), start);
        const int before = static_cast<int>(r.sources.size()) + r.not_finite;
        if (!flat(*copy)) {
            velSingleAbsArcLineListIter single(*copy);
            std::vector<double> distances;
            velAbsPolyArcLineListCursor made;
            velPolylineListUtils::offset_with_z(offsetter, single, o.distance, distances, made);
            keep_finite(made.iterator(), source, in, r, session);
        } else {
            velPolyArcLineAdapter contour(copy.release(), ut_ptr_claim);
            const std::unique_ptr<velPolylineListCursor> made(offsetter.offset(contour, o.distance));
            if (made) keep_finite(made->iterator(), source, in, r, session);
        }
        if (static_cast<int>(r.sources.size()) + r.not_finite == before) ++r.vanished;
    }
    return r;
}

// The summary: one line, or the JSON document.
void write_summary(const GeometryInput& in, int polylines_in, int boundaries, const Offsets& r,
                   const Options& o, Session& session) {
    const LoopCounts counts = LoopCounts::of(r.polylines);
    const std::string mode = o.each ? "each" : "region";
    if (o.json) {
        Json doc;
        doc["file"] = in.path();
        doc["mode"] = mode;
        doc["distance"] = o.distance;
        doc["corners"] = o.corners().describe();
        doc["polylines_in"] = polylines_in;
        if (o.each)
            doc["vanished"] = r.vanished;
        else
            doc["boundaries"] = boundaries;
        doc["not_finite"] = r.not_finite;
        counts.to_json(doc);
        Json outputs = Json::array();
        velAbsPolyArcLineListIter it(r.polylines);
        for (it.reset(); ++it;) {
            LoopCounts one;
            one.add(it);
            Json item;
            if (o.each) item["source"] = r.sources[static_cast<std::size_t>(it.index())];
            item["closed"] = one.open == 0;
            item["spans"] = one.spans;
            item["area"] = one.area;
            item["length"] = one.length;
            outputs.push_back(std::move(item));
        }
        doc["outputs"] = std::move(outputs);
        print_json(doc, session);
        return;
    }
    std::string text = in.name() + ": ";
    if (o.each)
        text += format::plural(polylines_in, "polyline", "polylines") + " offset each by " +
                format::shortest(o.distance) + ", " + o.corners().describe() + ": " +
                format::plural(counts.polylines, "polyline", "polylines") + " written, " +
                std::to_string(r.vanished) + " vanished; ";
    else
        text += "region of " + format::plural(boundaries, "boundary", "boundaries") + " offset by " +
                format::shortest(o.distance) + ", " + o.corners().describe() + ": ";
    if (r.not_finite > 0) text += std::to_string(r.not_finite) + " not finite; ";
    text += counts.describe() + "; " + format::plural(counts.spans, "span", "spans") + "; area " +
            format::shortest(counts.area);
    // Standard output carries the geometry when OUT is '-': the counts go to the error stream then.
    if (o.output == "-")
        session.err() << session.command() << ": " << text << '\n';
    else
        session.out() << text << '\n';
}

// --- The picture

constexpr const char* input_colour = "#8c8c8c";
constexpr const char* fill_colour = "#1f77b4";
constexpr const char* outer_colour = "#1f5fa0";
constexpr const char* hole_colour = "#d62728";
constexpr const char* open_colour = "#ff7f0e";
constexpr const char* text_colour = "#333333";

std::string picture(const GeometryInput& in, const Offsets& r, const Options& o) {
    velAbsPolyArcLineListIter input(in.polylines()), offsets(r.polylines);
    giBox2 box;
    for (velAbsPolyArcLineListIter* it : {&input, &offsets})
        for (it->reset(); ++*it;)
            if (finite_polyline(*it)) box.merge(it->box(vel_2d_box));
    LoopCounts counts;
    for (offsets.reset(); ++offsets;)
        counts.add(offsets);
    const SvgPage page(box, 800.0, PolylineDrawing::margin,
                       SvgDocument::band_height(counts.open > 0 ? 4 : 3));
    const std::string what = std::string(o.each ? "offset of each polyline of " : "offset of ") + in.name() +
                             " by " + format::shortest(o.distance);
    SvgDocument doc(page, "arcline: " + what, "#ffffff");

    SvgPath lines(page), region(page), outer(page), holes(page), open(page);
    for (input.reset(); ++input;)
        if (finite_polyline(input)) lines.add_polyline(input);
    for (offsets.reset(); ++offsets;) {
        LoopCounts one;
        one.add(offsets);
        if (one.open > 0) {
            open.add_polyline(offsets);
        } else if (one.loops > 0) {
            region.add_polyline(offsets);
            (one.outer > 0 ? outer : holes).add_polyline(offsets);
        }
    }
    doc.open_group("class=\"layer input\" data-file=\"" + format::xml_escape(in.name()) + "\" stroke=\"" +
                   input_colour + "\" fill=\"none\" stroke-linejoin=\"round\"");
    if (!lines.empty())
        doc.element("<path class=\"input\" d=\"" + lines.data() + "\" stroke-width=\"0.75\"/>");
    doc.close_group();
    doc.open_group("class=\"layer offset\" fill=\"none\" stroke-linejoin=\"round\"");
    // Outer boundaries anticlockwise and holes clockwise: the non-zero rule shows the region.
    if (!region.empty())
        doc.element("<path class=\"region\" d=\"" + region.data() + "\" fill=\"" + fill_colour +
                    "\" fill-opacity=\"0.2\" fill-rule=\"nonzero\" stroke=\"none\"/>");
    if (!outer.empty())
        doc.element("<path class=\"outer\" d=\"" + outer.data() + "\" stroke=\"" + outer_colour +
                    "\" stroke-width=\"1.5\"/>");
    if (!holes.empty())
        doc.element("<path class=\"hole\" d=\"" + holes.data() + "\" stroke=\"" + hole_colour +
                    "\" stroke-width=\"1.5\"/>");
    if (!open.empty())
        doc.element("<path class=\"open\" d=\"" + open.data() + "\" stroke=\"" + open_colour +
                    "\" stroke-width=\"1.5\"/>");
    doc.close_group();
    const int n_in = velAbsPolyArcLineListIter(in.polylines()).size();
    doc.legend_entry(0, input_colour, in.name() + " (" + format::plural(n_in, "polyline)", "polylines)"),
                     text_colour);
    doc.legend_entry(1, outer_colour,
                     (o.each ? "each offset by " : "region offset by ") + format::shortest(o.distance) +
                         ", " + o.corners().describe() + ": outer boundaries, anticlockwise (" +
                         std::to_string(counts.outer) + "); area " + format::shortest(counts.area),
                     text_colour);
    doc.legend_entry(2, hole_colour, "holes, clockwise (" + std::to_string(counts.holes) + ")", text_colour);
    if (counts.open > 0)
        doc.legend_entry(3, open_colour, "open polylines (" + std::to_string(counts.open) + ")", text_colour);
    doc.scale_bar(text_colour);
    return doc.finish();
}

int run(const Options& o, Session& session) {
    if (!OutputFile::one_per_standard_output(o.output, o.json, o.svg.path, session))
        return session.exit_code();
    if (o.raw && o.each) {
        session.fault(session.command(),
                      "--raw and --each cannot be combined (raw offsets are made polyline by "
                      "polyline already)");
        return session.exit_code();
    }
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.usable_for_output(o.output, session)) return session.exit_code();
    if (o.raw) return run_raw_offset(in, {o.distance, o.corners(), o.output, o.svg.path, o.json}, session);

    if (!RegionOffset::within_range(in, o.distance, "DIST", session)) {
        session.err() << session.command() << ": " << Session::display_name(o.output) << " not written\n";
        return session.exit_code();
    }
    Offsets r;
    int boundaries = 0;
    if (o.each) {
        r = each_offsets(in, o, session);
    } else {
        const std::optional<RegionOffset> region =
            RegionOffset::prepare(in, "offset open polylines with --each", session);
        if (!region) {
            session.err() << session.command() << ": " << Session::display_name(o.output) << " not written\n";
            return session.exit_code();
        }
        boundaries = region->size();
        velAbsPolyArcLinecoDListPrgcoPrgcoDList made;
        region->offset(o.distance, o.corners(), made);
        keep_finite(velAbsPolyArcLineListIter(made), -1, in, r, session);
    }
    if (!GeometryOutput::write(o.output, velAbsPolyArcLineListIter(r.polylines),
                               GeometryOutput::format_of_path(o.output), in.name(), session))
        return session.exit_code();
    write_summary(in, velAbsPolyArcLineListIter(in.polylines()).size(), boundaries, r, o, session);
    if (!o.svg.path.empty()) OutputFile::write(o.svg.path, picture(in, r, o), session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"offset", "the region of a file offset by a distance (or each polyline, or the raw offsets)", 40}, setup,
    run);

} // namespace

} // namespace arcline::cli
