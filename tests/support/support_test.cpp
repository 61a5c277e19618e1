// The shape cases of tests/data/shapes: properties follow every morph and the library measures agree.

#include "caseData.h"
#include "metamorphic.h"

#include "arcline/polyline/utils/velPolylineUtils.h"

namespace support_test {

namespace {

class ShapeCases : public ::testing::TestWithParam<std::string> {};

TEST_P(ShapeCases, PropertiesFollowEveryMorph) {
    const support::Case c = support::load_case("shapes", GetParam());
    EXPECT_TRUE(support::same_props(support::list_props_of(c.lines), c.expected, c.tol));
    support::for_each_morph(c.lines, [&](const support::Morph& m, const support::Polylines& in) {
        EXPECT_THAT(support::list_props_of(in), support::HasProps(m.props(c.expected), m.tol(c.tol)));
    });
}

TEST_P(ShapeCases, LibraryMeasuresAgreeOnEveryMorph) {
    const support::Case c = support::load_case("shapes", GetParam());
    support::for_each_morph(c.lines, [&](const support::Morph& m, const support::Polylines& in) {
        const support::Tol tol = m.tol(c.tol);
        for (const auto& line : in) {
            const support::Props want = support::props_of(*line);
            velSingleAbsArcLineListIter it(*line);
            ++it;
            support::Props got = want;
            got.length = velPolylineUtils::length(it);
            got.area = want.closed ? velPolylineUtils::area(it) : 0.0;
            got.box = it.box(vel_3d_box);
            EXPECT_TRUE(support::same_props(got, want, tol));
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Data, ShapeCases, ::testing::ValuesIn(support::case_names("shapes")),
                         [](const auto& info) { return info.param; });

} // namespace

} // namespace support_test
