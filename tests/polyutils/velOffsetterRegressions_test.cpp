// Offsets that once went wrong, each kept as a data file under tests/data/offsets/ named after what broke.

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"

#include <gtest/gtest.h>

#include <string>

namespace velOffsetterRegressions_test {

struct Loops {
    int outer = 0, holes = 0;
    double area = 0.0;
};

Loops offset_of(const std::string& file, double d, velOffsetter& offsetter) {
    velAbsPolyArcLineListCursor in, out;
    EXPECT_TRUE(velGeometryIO::read((std::string(ARCLINE_TEST_DATA_DIR) + "/offsets/" + file).c_str(), in));
    offsetter.offset(in.iterator(), out, d);
    Loops r;
    for (out.reset(); ++out;) {
        const double a = velPolylineUtils::area(out.iterator());
        r.area += a;
        ++(a > 0.0 ? r.outer : r.holes);
    }
    return r;
}

// A gear grown by 3 with chamfers beyond 3.5: its root arcs (radius below 3) collapse into temporary lines,
// and the chamfer joined to them folded back into every tooth, where the sort kept 120 triangular holes.
// The chamfered outline holds one loop and covers at least the rounded offset.
TEST(OffsetRegressions, ChamferBesideCollapsedRootsLeavesNoHoles) {
    const std::string file = "gear_chamfer_beside_collapsed_roots.txt";
    velOffsetter rounded;
    const Loops round = offset_of(file, 3.0, rounded);
    velOffsetter chamfered;
    chamfered.set_sharp_corners(1);
    chamfered.set_chamfer_corners(1, 3.5);
    const Loops chamfer = offset_of(file, 3.0, chamfered);
    EXPECT_EQ(round.outer, 1);
    EXPECT_EQ(round.holes, 0);
    EXPECT_EQ(chamfer.outer, 1);
    EXPECT_EQ(chamfer.holes, 0);
    EXPECT_GT(chamfer.area, round.area);
}

} // namespace velOffsetterRegressions_test
