#pragma once
// The picture `arcline svg` draws: each input file a layer (<g class="layer">) of its own colour. Closed
// polylines fill their region, by default with the non-zero rule: islands (clockwise inside anticlockwise)
// show as holes and overlapping outer boundaries as one region; the even-odd rule (every second overlap
// empty) or no fill are options. Outer boundaries (anticlockwise) are drawn solid and holes (clockwise)
// dashed; open polylines are plain strokes. Optional
// direction arrows along every polyline and dots on every position (the first of each polyline as a ring).
// The drawing is fitted to the page with a margin, with a scale bar and a legend under it.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

#include <string>
#include <string_view>
#include <vector>

class velPolylineListIter;

namespace arcline::cli {

// Whether every position and arc mid point of the current polyline has finite coordinates (a polyline
// that can be drawn and measured; results of an operation on extreme input may not be).
bool finite_polyline(const velPolylineListIter& it);

class PolylineDrawing {
public:
    struct Layer {
        std::string name;
        const velAbsPolyArcLinecoDListPrgcoPrgcoDList* polylines = nullptr; // not owned
    };
    enum class Fill { nonzero, evenodd, none };
    struct Options {
        Fill fill = Fill::nonzero;
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
    // Page spacing of direction arrows along a polyline: at least one, at most max_arrows per polyline.
    static constexpr double arrow_spacing = 120.0;
    static constexpr int max_arrows = 1000;
};

} // namespace arcline::cli
