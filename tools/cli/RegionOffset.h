#pragma once
// The region of one geometry input, offset by the contour offsetter: what the offset and pocket commands
// share. The closed polylines of the input are the boundaries of one region, nested into outer boundaries,
// holes and islands by the geometry alone: whatever their orientation in the file, they are oriented by
// their nesting (outermost anticlockwise, the ones directly inside clockwise, and so on) before the offset.
// Boundaries that cross are cut at their crossings and rejoined into loops that do not (as `orient` does),
// with a warning: the loops then nest like the even-odd rule, so the overlap of two outlines is a hole.
//
// Open polylines bound nothing and are refused: a fault naming the file and the first of them. A polyline
// whose ends lie apart by no more than closing_gap is closed, its last position moved onto its first.
// Polylines without a span (single points) are left out with a warning.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/platform/giBox2.h"
#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/Session.h"

#include <memory>
#include <optional>
#include <string>

class velOffsetter;

namespace arcline::cli {

// How convex corners of an offset are joined.
struct OffsetCorners {
    // Sharp: the spans beside the corner extended until they meet; otherwise rounded by an arc of radius
    // |distance| about the input corner.
    bool sharp = false;
    // Negative: none. Otherwise a sharp corner that would lie farther than this from the input corner is cut
    // by a chamfer line at this distance from it (and chamfering implies sharp corners).
    double chamfer = -1.0;

    bool is_sharp() const { return sharp || chamfer >= 0.0; }
    // "rounded corners", "sharp corners" or "sharp corners, chamfered beyond 2".
    std::string describe() const;
    // The settings of an offsetter.
    void apply(velOffsetter& offsetter) const;
};

class RegionOffset {
public:
    // Ends of a polyline closer than this are one point: the polyline is a boundary (the tolerance within
    // which the offsetter's contour views take points as coinciding).
    static constexpr double closing_gap = velPolyArcLineAdapter::contour_tol;

    // Coordinates and distances beyond this are refused: squared lengths and areas of larger ones overflow.
    static constexpr double largest_coordinate = 1e150;

    // Whether `in` and an offset by `distance` (named `argument` in messages) stay within
    // largest_coordinate; a fault naming the file or the argument when not.
    static bool within_range(const GeometryInput& in, double distance, const std::string& argument,
                             Session& session);

    // The region of `in`, oriented; empty after a fault (an open polyline) told to the session. `refusal`
    // ends the fault's text, saying what the user may do instead ("offset open polylines with --each").
    static std::optional<RegionOffset> prepare(const GeometryInput& in, const std::string& refusal,
                                               Session& session);

    // The boundaries, oriented by nesting.
    const velAbsPolyArcLinecoDListPrgcoPrgcoDList& boundaries() const { return *m_boundaries; }
    int size() const { return m_size; }
    // The XY box of the boundaries; empty without any.
    const giBox2& box() const { return m_box; }

    // The region offset by `distance` (positive grows the material: outer boundaries grow, holes shrink)
    // into `out`, which is cleared first: anticlockwise outer boundaries and clockwise holes.
    void offset(double distance, const OffsetCorners& corners,
                velAbsPolyArcLinecoDListPrgcoPrgcoDList& out) const;

private:
    RegionOffset();

    std::unique_ptr<velAbsPolyArcLinecoDListPrgcoPrgcoDList> m_boundaries;
    int m_size = 0;
    giBox2 m_box;
};

} // namespace arcline::cli
