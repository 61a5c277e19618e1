// arcline boolean: union, intersection, difference and exclusive or of the regions of two files.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velRegionBoolean.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/Json.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgOutput.h"
#include "tools/cli/SvgPath.h"

#include <array>
#include <cmath>
#include <ostream>

namespace arcline::cli {

namespace {

enum class Operation { union_, intersection, difference, xor_ };

struct OperationInfo {
    Operation op;
    const char* name;
    // What OUT holds when the library fails: its fallback for that operation.
    const char* fallback;
    int (*run)(const velPolylineListIter&, const velPolylineListIter&, velPolylineListCursor&);
};

const std::array<OperationInfo, 4> operations = {{
    {Operation::union_, "union", "the boundaries of A, oriented, are written in its place", region_union},
    {Operation::intersection, "intersection", "the boundaries of A, oriented, are written in its place",
     region_intersection},
    {Operation::difference, "difference", "nothing is written in its place (OUT is empty)",
     region_difference},
    {Operation::xor_, "xor",
     "only what the library handed back is written (a difference that failed is missing)", region_xor},
}};

const OperationInfo& operation_named(const std::string& name) {
    for (const OperationInfo& o : operations)
        if (name == o.name) return o;
    return operations[0]; // CLI11 lets only the names above through
}

struct Options {
    std::string operation, input_a, input_b, output;
    bool json = false;
    SvgOutput svg;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "A Boolean operation on the regions of two geometry files (record, picture or DXF format):\n"
        "union (in A or in B), intersection (in A and in B), difference (in A and not in B) or xor (in\n"
        "exactly one of them). Each file is a region: every polyline is taken as closed, whatever its\n"
        "orientation, and the boundaries are oriented by their nesting (nested boundaries make holes and\n"
        "islands). The result has anticlockwise outer boundaries and clockwise holes; it goes to OUT\n"
        "(records, DXF or .cdg by its extension). Prints the operation, the polylines read from A and B,\n"
        "the loops of the result (outer boundaries, holes) and its area. When the crossings of A and B\n"
        "cannot be made consistent OUT receives what the library handed back and the exit code is 1.");
    std::vector<std::string> names;
    for (const OperationInfo& op : operations)
        names.emplace_back(op.name);
    app.add_option("OPERATION", o.operation, "union, intersection, difference (A minus B) or xor")
        ->required()
        ->check(CLI::IsMember(names));
    app.add_option("A", o.input_a, "the first region's geometry file; '-' reads standard input")->required();
    app.add_option("B", o.input_b, "the second region's geometry file; '-' reads standard input")->required();
    app.add_option("-o,--output", o.output, "the result as a geometry file; '-' writes standard output")
        ->required()
        ->type_name("OUT");
    app.add_flag("--json", o.json,
                 "the counts as one JSON object: operation, polylines, loops, outer, holes, area");
    SvgOutput::add_option(app, o.svg, "A and B and the result, filled");
}

// The counts of a list of loops: outer boundaries (area 0 or more, anticlockwise) and holes.
struct Loops {
    int polylines = 0, loops = 0, outer = 0, holes = 0;
    double area = 0.0;
};

Loops count_loops(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
    Loops r;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;) {
        ++r.polylines;
        // A polyline with no span bounds nothing: it is written but is no loop.
        if (it.num_pos() < 2) continue;
        const double a = velPolylineUtils::area(it);
        ++r.loops;
        (a >= 0.0 ? r.outer : r.holes) += 1;
        r.area += a;
    }
    return r;
}

// --- The picture

constexpr const char* a_colour = "#2ca02c";
constexpr const char* b_colour = "#9467bd";
constexpr const char* fill_colour = "#1f77b4";
constexpr const char* outer_colour = "#1f5fa0";
constexpr const char* hole_colour = "#d62728";
constexpr const char* text_colour = "#333333";

void input_layer(SvgDocument& doc, const SvgPage& page, const GeometryInput& in, const char* cls,
                 const char* colour) {
    SvgPath lines(page);
    velAbsPolyArcLineListIter it(in.polylines());
    for (it.reset(); ++it;)
        if (finite_polyline(it)) lines.add_polyline(it);
    doc.open_group(std::string("class=\"layer ") + cls + "\" data-file=\"" + format::xml_escape(in.name()) +
                   "\" stroke=\"" + colour + "\" fill=\"none\" stroke-linejoin=\"round\"");
    if (!lines.empty())
        doc.element("<path class=\"input\" d=\"" + lines.data() + "\" stroke-width=\"0.75\"/>");
    doc.close_group();
}

std::string picture(const OperationInfo& op, const GeometryInput& a, const GeometryInput& b,
                    const velAbsPolyArcLinecoDListPrgcoPrgcoDList& result, const Loops& counts) {
    velAbsPolyArcLineListIter ia(a.polylines()), ib(b.polylines()), res(result);
    giBox2 box;
    for (velAbsPolyArcLineListIter* it : {&ia, &ib, &res})
        for (it->reset(); ++*it;)
            if (finite_polyline(*it)) box.merge(it->box(vel_2d_box));
    const SvgPage page(box, 800.0, PolylineDrawing::margin, SvgDocument::band_height(4));
    SvgDocument doc(page, std::string("arcline: ") + op.name + " of " + a.name() + " and " + b.name(),
                    "#ffffff");

    // The result under the inputs' thin lines, so that both stay visible where they coincide.
    SvgPath region(page), outer(page), holes(page);
    for (res.reset(); ++res;) {
        if (res.num_pos() < 2 || !finite_polyline(res)) continue;
        region.add_polyline(res);
        (velPolylineUtils::area(res) >= 0.0 ? outer : holes).add_polyline(res);
    }
    doc.open_group("class=\"layer result\" data-operation=\"" + std::string(op.name) +
                   "\" fill=\"none\" stroke-linejoin=\"round\"");
    // Outer boundaries anticlockwise and holes clockwise: the non-zero rule shows the region.
    if (!region.empty())
        doc.element("<path class=\"region\" d=\"" + region.data() + "\" fill=\"" + fill_colour +
                    "\" fill-opacity=\"0.25\" fill-rule=\"nonzero\" stroke=\"none\"/>");
    if (!outer.empty())
        doc.element("<path class=\"outer\" d=\"" + outer.data() + "\" stroke=\"" + outer_colour +
                    "\" stroke-width=\"2\"/>");
    if (!holes.empty())
        doc.element("<path class=\"hole\" d=\"" + holes.data() + "\" stroke=\"" + hole_colour +
                    "\" stroke-width=\"2\"/>");
    doc.close_group();
    input_layer(doc, page, a, "a", a_colour);
    input_layer(doc, page, b, "b", b_colour);

    const auto count_of = [](const GeometryInput& in) {
        return format::plural(velAbsPolyArcLineListIter(in.polylines()).size(), "polyline", "polylines");
    };
    doc.legend_entry(0, a_colour, "A: " + a.name() + " (" + count_of(a) + ")", text_colour);
    doc.legend_entry(1, b_colour, "B: " + b.name() + " (" + count_of(b) + ")", text_colour);
    doc.legend_entry(2, outer_colour,
                     std::string(op.name) + ": outer boundaries, anticlockwise (" +
                         std::to_string(counts.outer) + "); area " + format::shortest(counts.area),
                     text_colour);
    doc.legend_entry(3, hole_colour, "holes, clockwise (" + std::to_string(counts.holes) + ")", text_colour);
    doc.scale_bar(text_colour);
    return doc.finish();
}

int run(const Options& o, Session& session) {
    if (!OutputFile::one_per_standard_output(o.output, o.json, o.svg.path, session))
        return session.exit_code();
    const OperationInfo& op = operation_named(o.operation);
    const GeometryInput a = GeometryInput::read(o.input_a, session);
    const GeometryInput b = GeometryInput::read(o.input_b, session);
    // A faulty input writes nothing (one "not written" line, however many inputs were faulty).
    if (!a.usable_for_output(o.output, session) || !b.usable_for_output(o.output, session))
        return session.exit_code();

    const velAbsPolyArcLineListIter list_a(a.polylines()), list_b(b.polylines());
    velAbsPolyArcLinecoDListPrgcoPrgcoDList result;
    velAbsPolyArcLineListCursor cursor(result);
    const int code = op.run(list_a, list_b, cursor);

    // OUT receives what the library handed back, even after a failure.
    if (!GeometryOutput::write(o.output, velAbsPolyArcLineListIter(result),
                               GeometryOutput::format_of_path(o.output), std::string(op.name), session))
        return session.exit_code();
    if (code != 0) {
        session.err() << session.command() << ": " << op.name << " of " << a.name() << " and " << b.name()
                      << ": the crossings could not be made consistent; " << op.fallback << '\n';
        session.raise(exit_not_written);
    }
    const Loops counts = count_loops(result);
    if (o.json) {
        Json doc;
        doc["operation"] = op.name;
        doc["file_a"] = o.input_a;
        doc["file_b"] = o.input_b;
        doc["polylines_a"] = list_a.size();
        doc["polylines_b"] = list_b.size();
        doc["done"] = code == 0;
        doc["polylines"] = counts.polylines;
        doc["loops"] = counts.loops;
        doc["outer"] = counts.outer;
        doc["holes"] = counts.holes;
        doc["area"] = counts.area;
        print_json(doc, session);
    } else {
        const std::string text = std::string(op.name) + " of " + a.name() + " (" +
                                 format::plural(list_a.size(), "polyline", "polylines") + ") and " +
                                 b.name() + " (" + format::plural(list_b.size(), "polyline", "polylines") +
                                 "): " + format::plural(counts.loops, "loop", "loops") + ": " +
                                 format::plural(counts.outer, "outer boundary", "outer boundaries") + ", " +
                                 format::plural(counts.holes, "hole", "holes") + "; area " +
                                 format::shortest(counts.area);
        // Standard output carries the geometry when OUT is '-': the counts go to the error stream then.
        if (o.output == "-")
            session.err() << session.command() << ": " << text << '\n';
        else
            session.out() << text << '\n';
    }
    if (!o.svg.path.empty()) OutputFile::write(o.svg.path, picture(op, a, b, result, counts), session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"boolean", "union, intersection, difference or xor of the regions of two files", 38}, setup, run);

} // namespace

} // namespace arcline::cli
