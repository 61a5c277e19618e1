#pragma once
// The picture `arcline svg` draws: each input file a layer (<g class="layer">) of its own colour. Closed
// polylines fill their region with the even-odd rule, so islands show as holes; outer boundaries
// (anticlockwise) are drawn solid and holes (clockwise) dashed; open polylines are plain strokes. Optional
// direction arrows along every polyline and dots on every position (the first of each polyline as a ring).
// The drawing is fitted to the page with a margin, with a scale bar and a legend under it.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

#include <string>
#include <string_view>
#include <vector>

namespace arcline::cli {

class PolylineDrawing {
public:
    struct Layer {
        std::string name;
        const velAbsPolyArcLinecoDListPrgcoPrgcoDList* polylines = nullptr; // not owned
    };
    struct Options {
        bool arrows = false;
        bool points = false;
        double size = 800.0; // page units of the drawing's longer side
    };
    struct Result {
        std::string svg;
        // Per layer, the numbers (from 0) of polylines left out because a coordinate is not finite.
        std::vector<std::vector<int>> not_drawn;
    };

    static Result render(const std::vector<Layer>& layers, const Options& options);

    // The colour of layer k; the palette repeats after its end.
    static std::string_view layer_colour(std::size_t k);

    static constexpr double margin = 40.0;
    // Page spacing of direction arrows along a polyline (at least one per polyline).
    static constexpr double arrow_spacing = 120.0;
};

} // namespace arcline::cli
