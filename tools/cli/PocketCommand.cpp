// arcline pocket: concentric pocketing of the region of a file: the region offset inwards by STEP, 2 STEP,
// 3 STEP, ... (every level from the region itself, so that errors do not add up) until a level is empty.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/GeometryOutput.h"
#include "tools/cli/Json.h"
#include "tools/cli/LoopCounts.h"
#include "tools/cli/NumberOption.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/RegionOffset.h"
#include "tools/cli/SvgDocument.h"
#include "tools/cli/SvgOutput.h"
#include "tools/cli/SvgPath.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>

namespace arcline::cli {

namespace {

// The most levels one run makes: a step this fine for the region is refused before any work.
constexpr int level_cap = 100000;

struct Options {
    std::string input, output;
    double step = 0.0;
    bool json = false;
    SvgOutput svg;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Concentric pocketing of the region of a geometry file (record, picture or DXF format): its\n"
        "closed polylines, nested into outer boundaries, holes and islands whatever their orientation,\n"
        "offset inwards by STEP, 2 STEP, 3 STEP, ... until a level is empty; every level is offset from\n"
        "the region itself. Open polylines are refused. OUT (records, DXF or .cdg by its extension)\n"
        "receives every level's loops, level by level (outer boundaries anticlockwise, holes clockwise).\n"
        "Prints one line per level (its offset, loops, spans and area) and the totals: to standard\n"
        "output, or to standard error when OUT is standard output. A progress bar goes to standard\n"
        "error when it is a terminal.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("STEP", o.step, "the distance between levels (greater than 0)")
        ->required()
        ->check(finite_number("STEP", NumberSign::positive));
    app.add_option("-o,--output", o.output,
                   "every level's loops as a geometry file; '-' writes standard output")
        ->required()
        ->type_name("OUT");
    app.add_flag("--json", o.json,
                 "the counts as one JSON object: levels, loops, spans, and per level its offset, loops,\n"
                 "outer, holes, spans, area and length");
    SvgOutput::add_option(app, o.svg, "the region and its levels, each level in its own shade,");
}

// One level of the pocket: the region offset by `offset`.
struct Level {
    double offset = 0.0;
    velAbsPolyArcLinecoDListPrgcoPrgcoDList loops;
    LoopCounts counts;
};

// A bar on the terminal's error stream: the levels made against an estimate of how many there will be,
// redrawn after every level and cleared when done. The estimate: the square root of a level's area shrinks
// about linearly with the offset (exactly so for a disc), so the last two levels tell where it reaches 0.
class LevelBar {
public:
    LevelBar(std::ostream& err, int max_levels) : m_err(err), m_max_levels(max_levels) { draw(0); }
    void level_done(int level, double area) {
        const double root = std::sqrt(std::max(area, 0.0));
        double estimate = m_max_levels;
        if (level > 1 && m_last_root > root) estimate = level + root / (m_last_root - root);
        m_last_root = root;
        m_estimate =
            std::clamp(estimate, level + 1.0, static_cast<double>(std::max(m_max_levels, level + 1)));
        // The bar never runs back when the estimate grows.
        m_fraction = std::max(m_fraction, level / m_estimate);
        draw(level);
    }
    void clear() { m_err << "\r\033[K" << std::flush; }

private:
    static constexpr int width = 30;

    void draw(int levels) {
        const int filled = std::clamp(static_cast<int>(m_fraction * width), 0, width);
        m_err << "\rarcline pocket: " << format::plural(levels, "level", "levels") << " of about "
              << static_cast<long long>(std::ceil(m_estimate)) << " ["
              << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(width - filled), '.') << "]\033[K" << std::flush;
    }

    std::ostream& m_err;
    int m_max_levels;
    double m_estimate = m_max_levels;
    double m_last_root = 0.0;
    double m_fraction = 0.0;
};

// Whether the session's error stream is this process's standard error and that is a terminal.
bool error_stream_is_terminal(Session& session) {
    return &session.err() == &std::cerr && isatty(STDERR_FILENO) == 1;
}

// The levels of the pocket of `region`; at most `max_levels`.
std::vector<std::unique_ptr<Level>> pocket(const RegionOffset& region, double step, int max_levels,
                                           Session& session) {
    std::vector<std::unique_ptr<Level>> levels;
    std::unique_ptr<LevelBar> bar;
    if (error_stream_is_terminal(session)) bar = std::make_unique<LevelBar>(session.err(), max_levels);
    for (int k = 1; k <= max_levels; ++k) {
        auto level = std::make_unique<Level>();
        level->offset = -k * step;
        region.offset(level->offset, OffsetCorners{}, level->loops);
        level->counts = LoopCounts::of(level->loops);
        if (level->counts.polylines == 0) break;
        if (bar) bar->level_done(k, level->counts.area);
        levels.push_back(std::move(level));
    }
    if (bar) bar->clear();
    return levels;
}

// --- The picture

constexpr const char* input_colour = "#000000";
constexpr const char* text_colour = "#333333";

// The shade of level k of n (from 0): from dark blue at the boundary to light blue at the centre.
std::string level_colour(std::size_t k, std::size_t n) {
    const double t = n > 1 ? static_cast<double>(k) / static_cast<double>(n - 1) : 0.0;
    const auto mix = [t](int from, int to) { return static_cast<int>(std::lround(from + t * (to - from))); };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", mix(8, 158), mix(69, 202), mix(148, 225));
    return text;
}

std::string picture(const GeometryInput& in, const RegionOffset& region,
                    const std::vector<std::unique_ptr<Level>>& levels, double step) {
    giBox2 box = region.box();
    for (const auto& level : levels) {
        velAbsPolyArcLineListIter it(level->loops);
        for (it.reset(); ++it;)
            box.merge(it.box(vel_2d_box));
    }
    const SvgPage page(box, 800.0, PolylineDrawing::margin, SvgDocument::band_height(3));
    SvgDocument doc(page, "arcline: pocket of " + in.name() + " with step " + format::shortest(step),
                    "#ffffff");
    for (std::size_t k = 0; k < levels.size(); ++k) {
        SvgPath path(page);
        velAbsPolyArcLineListIter it(levels[k]->loops);
        for (it.reset(); ++it;)
            path.add_polyline(it);
        doc.open_group("class=\"layer level\" data-level=\"" + std::to_string(k + 1) + "\" stroke=\"" +
                       level_colour(k, levels.size()) + "\" fill=\"none\" stroke-linejoin=\"round\"");
        if (!path.empty()) doc.element("<path d=\"" + path.data() + "\" stroke-width=\"1\"/>");
        doc.close_group();
    }
    // The region on top, so that the first level does not hide where it runs close to the boundary.
    SvgPath lines(page);
    velAbsPolyArcLineListIter input(region.boundaries());
    for (input.reset(); ++input;)
        lines.add_polyline(input);
    doc.open_group("class=\"layer input\" data-file=\"" + format::xml_escape(in.name()) + "\" stroke=\"" +
                   input_colour + "\" fill=\"none\" stroke-linejoin=\"round\"");
    if (!lines.empty())
        doc.element("<path class=\"input\" d=\"" + lines.data() + "\" stroke-width=\"1.5\"/>");
    doc.close_group();

    doc.legend_entry(0, input_colour,
                     in.name() + " (" + format::plural(region.size(), "boundary)", "boundaries)"),
                     text_colour);
    if (!levels.empty()) {
        doc.legend_entry(1, level_colour(0, levels.size()),
                         "level 1, offset " + format::shortest(levels.front()->offset), text_colour);
        doc.legend_entry(2, level_colour(levels.size() - 1, levels.size()),
                         "level " + std::to_string(levels.size()) + ", offset " +
                             format::shortest(levels.back()->offset),
                         text_colour);
    }
    doc.scale_bar(text_colour);
    return doc.finish();
}

// --- The counts

void write_counts(const GeometryInput& in, const RegionOffset& region,
                  const std::vector<std::unique_ptr<Level>>& levels, const Options& o, Session& session) {
    LoopCounts total;
    for (const auto& level : levels)
        total.add(level->counts);
    const int n = static_cast<int>(levels.size());
    if (o.json) {
        Json doc;
        doc["file"] = in.path();
        doc["step"] = o.step;
        doc["boundaries"] = region.size();
        doc["levels"] = n;
        doc["loops"] = total.loops;
        doc["spans"] = total.spans;
        doc["length"] = total.length;
        Json per_level = Json::array();
        for (int k = 0; k < n; ++k) {
            Json item;
            item["level"] = k + 1;
            item["offset"] = levels[static_cast<std::size_t>(k)]->offset;
            levels[static_cast<std::size_t>(k)]->counts.to_json(item);
            per_level.push_back(std::move(item));
        }
        doc["per_level"] = std::move(per_level);
        print_json(doc, session);
        return;
    }
    // Standard output carries the geometry when OUT is '-': the counts go to the error stream then.
    const bool to_err = o.output == "-";
    const auto line = [&](const std::string& text) {
        if (to_err)
            session.err() << session.command() << ": " << text << '\n';
        else
            session.out() << text << '\n';
    };
    line("# level offset loops spans area");
    for (int k = 0; k < n; ++k) {
        const Level& level = *levels[static_cast<std::size_t>(k)];
        line(std::to_string(k + 1) + " " + format::shortest(level.offset) + " " +
             std::to_string(level.counts.loops) + " " + std::to_string(level.counts.spans) + " " +
             format::shortest(level.counts.area));
    }
    line(in.name() + ": pocket of " + format::plural(region.size(), "boundary", "boundaries") +
         " with step " + format::shortest(o.step) + ": " + format::plural(n, "level", "levels") + ", " +
         format::plural(total.loops, "loop", "loops") + ", " + format::plural(total.spans, "span", "spans"));
}

int run(const Options& o, Session& session) {
    if (!OutputFile::one_per_standard_output(o.output, o.json, o.svg.path, session))
        return session.exit_code();
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.usable_for_output(o.output, session)) return session.exit_code();
    const auto not_written = [&session, &o] {
        session.err() << session.command() << ": " << Session::display_name(o.output) << " not written\n";
        return session.exit_code();
    };
    if (!RegionOffset::within_range(in, o.step, "STEP", session)) return not_written();
    const std::optional<RegionOffset> region =
        RegionOffset::prepare(in, "pocket the closed ones only", session);
    if (!region) return not_written();

    // No disc wider than the region's box fits inside it: past half the box's smaller side every level is
    // empty. One level more is tried, for offsets that end a hair later than that.
    int max_levels = 0;
    if (!region->box().empty()) {
        const giBox2& box = region->box();
        const double half = 0.5 * std::min(box.max().x - box.min().x, box.max().y - box.min().y);
        const double bound = std::floor(half / o.step) + 1.0;
        if (bound > level_cap) {
            session.fault(session.command(), "STEP: '" + format::shortest(o.step) + "' is too fine for " +
                                                 in.name() + ": it would make up to " +
                                                 format::shortest(bound) + " levels, and at most " +
                                                 std::to_string(level_cap) + " are made");
            return not_written();
        }
        max_levels = static_cast<int>(bound);
    }
    const std::vector<std::unique_ptr<Level>> levels = pocket(*region, o.step, max_levels, session);

    velAbsPolyArcLinecoDListPrgcoPrgcoDList all;
    velAbsPolyArcLineListCursor writer(all);
    for (const auto& level : levels) {
        writer.set_index(writer.size() - 1);
        velAbsPolyArcLineListIter(level->loops).copy(writer);
    }
    if (!GeometryOutput::write(o.output, velAbsPolyArcLineListIter(all),
                               GeometryOutput::format_of_path(o.output), in.name(), session))
        return session.exit_code();
    write_counts(in, *region, levels, o, session);
    if (!o.svg.path.empty()) OutputFile::write(o.svg.path, picture(in, *region, levels, o.step), session);
    return session.exit_code();
}

const CommandRegistration registration = register_command<Options>(
    {"pocket", "concentric pocketing: the region of a file offset inwards level by level", 41}, setup, run);

} // namespace

} // namespace arcline::cli
