#include "arcline/debug/velDebugGeometryChannels.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/platform/dbgLevel.h"

#include <deque>
#include <mutex>

namespace {

// Where a person reads how to turn channels on and look at their pictures.
constexpr const char* help = "docs/debug.md#channels";

// In the order they are registered. The legends of channels whose algorithms live in other libraries of
// the kernel say no more than on and off.
constexpr velDebugGeometryChannels::Channel table[] = {
    {"CoinFitUtils", "0=Off, 1=On", help},
    {"ContourTree", "0=Off, 1=On", help},
    {"MillToolUtils", "0=Off, 1=On", help},
    {"MinimumCircle", "0=Off, 1=On", help},
    {"Offsetter", "0=New, 1=Contour Check, 2=Node Check", help},
    {"PictureOffset", "0=Off, 1=On", help},
    {"PolyArcLineOffsetter", "0=New, 1=Check", help},
    {"PolylineEmbed", "0=Off, 1=On", help},
    {"SweepOffsetter", " 0,1=Off; 2=On; 3=Extra", help},
    {"arclinesorter", "0=Off, 2=detailed sorter information", help},
    {"closest_points", "Closest points between polylines", help},
    {"compare_coin_fitting", "0=Off, 1=On", help},
    {"velAbsPolyArcLineListUtils", "0=Off, 1=On", help},
    {"velAbsProfileMerger", "0=Off, 1=On", help},
    {"velAnnealStateNonReversible", "0=Off, 1=On", help},
    {"velContourFilter", "0=Off, 1=On", help},
    {"velEmbeddedRasterMachiner", "0=Off, 1=On", help},
    {"velEquiPotentialCurveJoiner", "0=Off, 1=On", help},
    {"velFaceAndCurves", "0=Off, 1=On", help},
    {"velFastFlowlineRailFunc", "0=Off, 1=On", help},
    {"velFlowLinePotentialFinder", "0=Off, 1=On", help},
    {"velTefoPointDataKernelStream", "0=Off, 1=On", help},
    {"velMappedPolylineOffset", "0=Off, 1=On", help},
    {"velPatchworkCreator", "0=Off, 1=On", help},
    {"velPictureSorter", "0=Off, 1=On", help},
    {"velPictureUtils", "0=Off, 1=On", help},
    {"velPolylineListUtils", "0=Off, 2=on", help},
    {"velPolylineUtils", "0=Off, 2=on", help},
    {"velPotentialFinder", "0=Off, 1=On", help},
    {"velPotentialGradientContinueCurve", "0=Off, 1=On", help},
    {"velPotentialGridCache", "0=Off, 1=On", help},
    {"velTriangleSlicingUtils_block_slice_picture", "0=Off, 1=On", help},
    {"velTriangleSlicingUtils_embed_triblock_slice", "0=Off, 1=On", help},
    {"vellinkpolyline", "0,1=Off; 2=On", help},
    {"veloffsetter", "0=Off, 2=detailed sorter information, 3=all voronoi offsets", help},
    {"embedded_curves", "0=Off, 1=On", help},
    {"flowline_inter_drive_curves", "0=Off, 1=On", help},
    {"flowline_solver", "0=Off, 1=On", help},
    {"g2_smooth", "0=Off, 1=On", help},
    {"implicitcurvefinder", "0,1=Off, 2=on", help},
    {"intersect", "0=Off, 1=intersection problems", help},
    {"modelboundary", "0=Off, 1=On", help},
    {"polychopper", "polyline chopper | 0,1=off; 2=on; 3=more", help},
    {"polyutils", "0=Off, 2=on", help},
    {"visibility", "0=Off, 1=on", help},
    {"vrnCoinFit", "0=Off, 1=On", help},
    {"vrnConvexHull", "0=Off, 1=On", help},
    {"vrnConvexSpiral", "0=Off, 1=On", help},
    {"vrnInterface", "0=Off, 1=On", help},
    {"vrnPolylineLinker", "0=Off, 1=On", help},
    {"vrnSpongeOffsetter", "0=Off, 1=On", help},
};

// The channels, never destroyed, like the manager they are registered with (held here so that leak
// checkers see them reachable).
std::deque<velDebugGeometry>* kernel_channels = nullptr;
dbgLevel* plain_boolean_level = nullptr;

// Made when the library is loaded, so that hosts find the channels before anything else asks for them.
const bool defined_at_load = (velDebugGeometryChannels::define(), true);

} // namespace

std::span<const velDebugGeometryChannels::Channel> velDebugGeometryChannels::channels() {
    return table;
}

void velDebugGeometryChannels::define() {
    static std::once_flag once;
    std::call_once(once, [] {
        kernel_channels = new std::deque<velDebugGeometry>;
        for (const Channel& c : table)
            kernel_channels->emplace_back(c.name, c.legend, c.help);
        plain_boolean_level = new dbgLevel(boolean_level, boolean_description, help, 0, boolean_source);
    });
}
