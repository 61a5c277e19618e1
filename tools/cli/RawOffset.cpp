#include "tools/cli/RawOffset.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/Json.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgPath.h"

#include <ostream>

namespace arcline::cli {

namespace {

// The raw offsets of one input, with the temporary flags of their spans and where each came from.
struct RawOffsets {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines; // finite ones only
    std::vector<std::vector<bool>> temporary;          // per polyline, per span
    std::vector<int> sources;                          // per polyline, its input polyline (from 0)
    int spans = 0, temporary_lines = 0, temporary_arcs = 0;
    int not_finite = 0; // offsets left out
};

RawOffsets raw_offsets(const GeometryInput& in, const RawOffsetRequest& o, Session& session) {
    velAbsPolyArcLineListIter list(in.polylines());
    velAbsPolyArcLinecoDListPrgcoPrgcoDList made;
    velPolylineWithOffsetFlagsListCursor cursor(ut_ptr_claim, new velAbsPolyArcLineListCursor(made));
    const double chamfer = o.corners.chamfer;
    std::vector<int> sources;
    velPolyArcLineOffsetter::offset_list(list, cursor, o.distance, o.corners.is_sharp() ? 1 : 0,
                                         chamfer >= 0.0 ? 1 : 0, chamfer, &sources);

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

void write_summary(const GeometryInput& in, int polylines, const RawOffsets& r, const RawOffsetRequest& o,
                   Session& session) {
    const int written = static_cast<int>(r.sources.size());
    if (o.json) {
        Json doc;
        doc["file"] = in.path();
        doc["mode"] = "raw";
        doc["distance"] = o.distance;
        doc["corners"] = o.corners.describe();
        doc["polylines_in"] = polylines;
        doc["polylines"] = written;
        doc["vanished"] = polylines - written - r.not_finite;
        doc["not_finite"] = r.not_finite;
        doc["spans"] = r.spans;
        doc["temporary_lines"] = r.temporary_lines;
        doc["temporary_arcs"] = r.temporary_arcs;
        print_json(doc, session);
        return;
    }
    const int temps = r.temporary_lines + r.temporary_arcs;
    const std::string text =
        in.name() + ": raw offset by " + format::shortest(o.distance) + ", " + o.corners.describe() + ": " +
        format::plural(polylines, "polyline", "polylines") + ", " + std::to_string(written) + " written, " +
        std::to_string(polylines - written - r.not_finite) + " vanished" +
        (r.not_finite > 0 ? ", " + std::to_string(r.not_finite) + " not finite" : "") + "; " +
        format::plural(r.spans, "span", "spans") + ", " + std::to_string(temps) + " temporary (" +
        format::plural(r.temporary_lines, "line", "lines") + ", " +
        format::plural(r.temporary_arcs, "arc)", "arcs)");
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

std::string picture(const GeometryInput& in, const RawOffsets& r, const RawOffsetRequest& o) {
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
    doc.legend_entry(0, input_colour, in.name() + " (" + format::plural(n_in, "polyline)", "polylines)"),
                     "#333333");
    doc.legend_entry(1, offset_colour,
                     "raw offset by " + format::shortest(o.distance) + ", " + o.corners.describe() + " (" +
                         format::plural(n_out, "polyline)", "polylines)"),
                     "#333333");
    doc.legend_entry(2, temporary_colour, "temporary spans, dashed (" + std::to_string(temps) + ")",
                     "#333333");
    doc.scale_bar("#333333");
    return doc.finish();
}

} // namespace

int run_raw_offset(const GeometryInput& in, const RawOffsetRequest& o, Session& session) {
    const RawOffsets r = raw_offsets(in, o, session);
    const velAbsPolyArcLineListIter written(r.polylines);
    if (!GeometryOutput::write(o.output, written, GeometryOutput::format_of_path(o.output), in.name(),
                               session))
        return session.exit_code();
    write_summary(in, velAbsPolyArcLineListIter(in.polylines()).size(), r, o, session);
    if (!o.svg.empty()) OutputFile::write(o.svg, picture(in, r, o), session);
    return session.exit_code();
}

} // namespace arcline::cli
