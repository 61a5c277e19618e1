#pragma once
// The picture `arcline cdg2svg` draws from the records of a debug geometry document: points, lines,
// vectors, arcs and helices, ellipses, triangles and tools (seen from +Z, as circles of their diameter),
// each in its own colour and with its label, on a light page (or a dark one, as the document viewer shows
// them). Entities whose colour would hardly show on the page (white or yellow on light, black on dark) get a
// thin casing of the page's contrasting colour. Nodes become nested <g class="node"> groups titled with their
// names; the text grows linearly with the nesting (indentation stops at a fixed depth). Geometry is drawn by
// its XY projection, arcs in planes parallel to XY as exact SVG arcs. Transforms (X records) are not applied
// and work planes are not drawn; the result says so in its notes.

#include "arcline/debug/CDGRecord.h"

#include <string>
#include <vector>

namespace arcline::cli {

class CdgDrawing {
public:
    struct Result {
        std::string svg;
        // What the picture leaves out, one sentence each; empty when it shows everything.
        std::vector<std::string> notes;
    };

    struct Options {
        double size = 800.0; // page length of the drawing's longer side
        bool labels = true;
        bool dark = false;
    };

    // `title` names the document.
    static Result render(const std::vector<lumet::CDGRecord>& records, const std::string& title,
                         const Options& options);

    static constexpr double margin = 40.0;
    // Deepest nesting of nodes that documents may have (the reader stops there with a fault).
    static constexpr int max_depth = 1000;
    // Page and plain colours (records without a colour, the scale bar), light and dark.
    static constexpr const char* light_background = "#ffffff";
    static constexpr const char* light_plain = "#333333";
    static constexpr const char* dark_background = "#202124";
    static constexpr const char* dark_plain = "#bdc1c6";
    // Sampling of helices and ellipses: at least this many points per turn, and at most max_samples.
    static constexpr int samples_per_turn = 96;
    static constexpr int max_samples = 4096;
};

} // namespace arcline::cli
