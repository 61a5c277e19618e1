// arcline sort: the clean boundaries of the region of a file's polylines, by the polyline sorter.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
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

#include <cmath>
#include <ostream>

namespace arcline::cli {

namespace {

struct Options {
    std::string input, output;
    bool even_odd = false;
    bool json = false;
    SvgOutput svg;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Sorts the polylines of a geometry file (record, picture or DXF format) into the clean\n"
        "boundaries of the region they enclose: every polyline is taken as closed, crossings are cut\n"
        "and the pieces rejoined, and the loops kept are those that bound the region, under the\n"
        "winding rule (a point is inside when the boundaries wind round it) or, with --even-odd,\n"
        "the even-odd rule (inside when an odd number of boundaries enclose it). The result has\n"
        "anticlockwise outer boundaries and clockwise holes that do not cross; it goes to OUT\n"
        "(records, DXF or .cdg by its extension). Prints the number of polylines read, of loops\n"
        "written, outer boundaries and holes, and the region's area. When the crossings cannot be\n"
        "made consistent the cleaned input is written unsorted and the exit code is 1.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("-o,--output", o.output, "the boundaries as a geometry file; '-' writes standard output")
        ->required()
        ->type_name("OUT");
    app.add_flag("--even-odd", o.even_odd, "the even-odd rule instead of the winding rule");
    app.add_flag("--json", o.json, "the counts as one JSON object: polylines_in, loops, outer, holes, area");
    SvgOutput::add_option(app, o.svg, "the input (grey) and the region sorted");
}

// The counts of a list of loops: outer boundaries (area 0 or more, anticlockwise) and holes.
struct Loops {
    int loops = 0, outer = 0, holes = 0;
    double area = 0.0;
};

Loops count_loops(const velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
    Loops r;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;) {
        const double a = velPolylineUtils::area(it);
        ++r.loops;
        (a >= 0.0 ? r.outer : r.holes) += 1;
        r.area += a;
    }
    return r;
}

// --- The picture

constexpr const char* input_colour = "#8c8c8c";
constexpr const char* fill_colour = "#1f77b4";
constexpr const char* outer_colour = "#1f5fa0";
constexpr const char* hole_colour = "#d62728";

std::string picture(const GeometryInput& in, const velAbsPolyArcLinecoDListPrgcoPrgcoDList& result,
                    const Loops& counts, const Options& o) {
    velAbsPolyArcLineListIter input(in.polylines()), sorted(result);
    giBox2 box;
    for (velAbsPolyArcLineListIter* it : {&input, &sorted})
        for (it->reset(); ++*it;)
            if (finite_polyline(*it)) box.merge(it->box(vel_2d_box));
    const SvgPage page(box, 800.0, PolylineDrawing::margin, SvgDocument::band_height(3));
    const std::string rule = o.even_odd ? "even-odd rule" : "winding rule";
    SvgDocument doc(page, "arcline: sort of " + in.name() + " (" + rule + ")", "#ffffff");

    SvgPath lines(page), region(page), outer(page), holes(page);
    for (input.reset(); ++input;)
        if (finite_polyline(input)) lines.add_polyline(input);
    for (sorted.reset(); ++sorted;) {
        if (!finite_polyline(sorted)) continue;
        region.add_polyline(sorted);
        (velPolylineUtils::area(sorted) >= 0.0 ? outer : holes).add_polyline(sorted);
    }
    doc.open_group("class=\"layer input\" data-file=\"" + format::xml_escape(in.name()) + "\" stroke=\"" +
                   input_colour + "\" fill=\"none\" stroke-linejoin=\"round\"");
    if (!lines.empty())
        doc.element("<path class=\"input\" d=\"" + lines.data() + "\" stroke-width=\"0.75\"/>");
    doc.close_group();
    doc.open_group(std::string("class=\"layer sorted\" fill=\"none\" stroke-linejoin=\"round\""));
    // The loops written are oriented (outer anticlockwise, holes clockwise), so the non-zero rule shows
    // the region whichever rule sorted it.
    if (!region.empty())
        doc.element("<path class=\"region\" d=\"" + region.data() + "\" fill=\"" + fill_colour +
                    "\" fill-opacity=\"0.2\" fill-rule=\"nonzero\" stroke=\"none\"/>");
    if (!outer.empty())
        doc.element("<path class=\"outer\" d=\"" + outer.data() + "\" stroke=\"" + outer_colour +
                    "\" stroke-width=\"1.5\"/>");
    if (!holes.empty())
        doc.element("<path class=\"hole\" d=\"" + holes.data() + "\" stroke=\"" + hole_colour +
                    "\" stroke-width=\"1.5\"/>");
    doc.close_group();
    const int n_in = velAbsPolyArcLineListIter(in.polylines()).size();
    doc.legend_entry(0, input_colour, in.name() + " (" + format::plural(n_in, "polyline)", "polylines)"),
                     "#333333");
    doc.legend_entry(1, outer_colour,
                     "outer boundaries, anticlockwise (" + std::to_string(counts.outer) + "); " + rule,
                     "#333333");
    doc.legend_entry(2, hole_colour, "holes, clockwise (" + std::to_string(counts.holes) + ")", "#333333");
    doc.scale_bar("#333333");
    return doc.finish();
}

int run(const Options& o, Session& session) {
    if (!OutputFile::one_per_standard_output(o.output, o.json, o.svg.path, session))
        return session.exit_code();
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.usable_for_output(o.output, session)) return session.exit_code();
    const velAbsPolyArcLineListIter list(in.polylines());
    velAbsPolyArcLinecoDListPrgcoPrgcoDList result;
    velAbsPolyArcLineListCursor cursor(result);
    velPolylineSorter sorter;
    sorter.set_visible_mode(o.even_odd ? 0 : 1);
    const int code = sorter.sort(list, cursor);

    // OUT receives what the sorter handed back, even after a failure (the cleaned input then).
    if (!GeometryOutput::write(o.output, velAbsPolyArcLineListIter(result),
                               GeometryOutput::format_of_path(o.output), in.name(), session))
        return session.exit_code();
    if (code != 0) {
        session.err()
            << session.command() << ": " << in.name()
            << ": the crossings could not be made consistent; the cleaned input is written unsorted\n";
        session.raise(exit_not_written);
    }
    const Loops counts = count_loops(result);
    if (o.json) {
        Json doc;
        doc["file"] = o.input;
        doc["rule"] = o.even_odd ? "even-odd" : "winding";
        doc["sorted"] = code == 0;
        doc["polylines_in"] = list.size();
        doc["loops"] = counts.loops;
        doc["outer"] = counts.outer;
        doc["holes"] = counts.holes;
        doc["area"] = counts.area;
        print_json(doc, session);
    } else {
        const std::string text = in.name() + ": " + format::plural(list.size(), "polyline", "polylines") +
                                 " sorted (" + (o.even_odd ? "even-odd" : "winding") + " rule) into " +
                                 format::plural(counts.loops, "loop", "loops") + ": " +
                                 format::plural(counts.outer, "outer boundary", "outer boundaries") + ", " +
                                 format::plural(counts.holes, "hole", "holes") + "; area " +
                                 format::shortest(counts.area);
        // Standard output carries the geometry when OUT is '-': the counts go to the error stream then.
        if (o.output == "-")
            session.err() << session.command() << ": " << text << '\n';
        else
            session.out() << text << '\n';
    }
    if (!o.svg.path.empty()) OutputFile::write(o.svg.path, picture(in, result, counts, o), session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"sort", "the clean boundaries of the region of a file's polylines", 35}, setup, run);

} // namespace

} // namespace arcline::cli
