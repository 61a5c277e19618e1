// The umbrella header compiles on its own and brings in the whole interface.
#include "arcline/arcline.h"

#include <gtest/gtest.h>

namespace umbrella_test {

TEST(Umbrella, BringsInThePolylineClasses) {
    velPolyArcLine line;
    line.add_pos(giPoint3(0.0, 0.0, 0.0));
    line.add_arc(giPoint3(1.0, -1.0, 0.0), giPoint3(2.0, 0.0, 0.0));
    EXPECT_EQ(line.num_spans(), 1);
    EXPECT_NEAR(line.length(), 3.141592653589793, 1e-6);
}

} // namespace umbrella_test
