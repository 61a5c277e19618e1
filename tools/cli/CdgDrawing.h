#pragma once
// The picture `arcline cdg2svg` draws from the records of a debug geometry document: points, lines,
// vectors, arcs and helices, ellipses, triangles and tools (seen from +Z, as circles of their diameter),
// each in its own colour and with its label, on a dark page as the document viewer shows them. Nodes become
// nested <g class="node"> groups titled with their names. Geometry is drawn by its XY projection, arcs in
// planes parallel to XY as exact SVG arcs. Transforms (X records) are not applied and work planes are not
// drawn; the result says so in its notes.

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

    // `title` names the document; `size` is the page length of the drawing's longer side.
    static Result render(const std::vector<lumet::CDGRecord>& records, const std::string& title,
                         double size = 800.0);

    static constexpr double margin = 40.0;
    static constexpr const char* background = "#202124";
    static constexpr const char* plain_colour = "#bdc1c6"; // records without a colour, the scale bar
    // Sampling of helices and ellipses: at least this many points per turn, and at most max_samples.
    static constexpr int samples_per_turn = 96;
    static constexpr int max_samples = 4096;
};

} // namespace arcline::cli
