#include "utilsTestKit.h"

#include "arcline/polyline/utils/velPolylineLink.h"

namespace velPolylineLink_test {

using namespace utiltest;

TEST(velPolylineLink, EndsAndStraightLength) {
    const One a(std::vector<V>{{{0, 0, 0}, {}}, {{10, 0, 0}, {}}});
    const One b(std::vector<V>{{{0, 4, 0}, {}}, {{10, 4, 0}, giPoint3{5, 9, 0}}});
    const velPolylineLink link(velPolylinePosition(&a.it, 0.3), velPolylinePosition(&b.it, 0.5));
    EXPECT_EQ(link.start(), velPolylinePosition(&a.it, 0.3));
    EXPECT_EQ(link.end().iterator(), &b.it);
    EXPECT_DOUBLE_EQ(link.length(), std::hypot(2.0, 9.0));
    velPolylineLink copy;
    EXPECT_EQ(copy.start().valid(), 0);
    copy = link;
    EXPECT_EQ(copy.end(), link.end());
}

} // namespace velPolylineLink_test
