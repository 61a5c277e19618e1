#include "arcline/platform/giBox2.h"

#include "arcline/platform/giBox3.h"
#include "arcline/platform/giLength.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giUnitVec2.h"
#include "arcline/platform/giUnitVec3.h"
#include "arcline/platform/giVector2.h"
#include "arcline/platform/giVector3.h"
#include "arcline/platform/giWorkplane2.h"
#include "arcline/platform/giWorkplane3.h"
#include "arcline/platform/giXform3.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace giPrimitives_test {

namespace {

#define EXPECT_P3_NEAR(p, qx, qy, qz, tol)                                                                   \
    EXPECT_TRUE(std::abs((p).x - (qx)) <= (tol) && std::abs((p).y - (qy)) <= (tol) &&                        \
                std::abs((p).z - (qz)) <= (tol))                                                             \
        << (p).x << ' ' << (p).y << ' ' << (p).z

constexpr double dbl_max = 1.7976931348623157e308;

} // namespace

// Other code tests these markers by value, so the values themselves are the contract.
TEST(giPrimitives, UnsetAndEmptyMarkers) {
    EXPECT_EQ(giPoint3().x, -dbl_max);
    EXPECT_EQ(giPoint2().x, -dbl_max);
    EXPECT_TRUE(giPoint3::unset().is_unset() && !giPoint3(0, 0, 0).is_unset());
    EXPECT_EQ(giBox2().min().x, dbl_max);
    EXPECT_EQ(giBox3().min().x, dbl_max);
    EXPECT_FALSE(giBox2({0, 0}, {0, 0}).empty());
    EXPECT_EQ(giUnitVec3().x(), -dbl_max);
    EXPECT_TRUE(giUnitVec3(giVector3(0, 0, 0)).invalid());
    EXPECT_TRUE(giUnitVec2(0.0, 0.0).invalid());
    EXPECT_TRUE(giUnitVec2(giAxisZ).invalid());
    EXPECT_TRUE(giUnitVec3(1e300, 1e300, 0).invalid()); // the length overflows
    EXPECT_EQ(giUnitVec3(3, 0, 4), giUnitVec3(0.6, 0, 0.8));
    EXPECT_EQ(giUnitVec3(giAxisY), giUnitVec3(0, 1, 0));
    EXPECT_EQ(giUnitVec2(giAxisX).vector(), giVector2(1, 0));
}

TEST(giPrimitives, VectorLengthsAndComparisons) {
    giVector3 v(3, 4, 12);
    EXPECT_EQ(v.length_squared(), 169.0);
    EXPECT_EQ(v.length(), 13.0);
    v.set(1, 0, 0); // empties the cached length
    EXPECT_EQ(v.length(), 1.0);
    giVector3 w(0, 3, 4), zero;
    EXPECT_EQ(w.unitize(), 5.0);
    EXPECT_EQ(w, giVector3(0, 0.6, 0.8));
    EXPECT_EQ(zero.unitize(), 0.0);
    EXPECT_EQ(zero, giVector3(0, 0, 0));
    EXPECT_EQ(giVector3(1, 0, 0).cross(giVector3(0, 1, 0)), giVector3(0, 0, 1));

    giVector2 u(6, 8);
    EXPECT_EQ(u.length_squared(), 100.0);
    EXPECT_EQ(u.length(), 10.0);
    EXPECT_EQ(u.cross(giVector2(0, 1)), 6.0);
    EXPECT_EQ(u.right_normal(), giVector2(8, -6));

    const giLength a = giLength::from_squared(4.0), b(2.5), c(2.0);
    EXPECT_TRUE(a < b && b > a && a == c && a <= c && a >= c);
    EXPECT_EQ(a.value(), 2.0);
    EXPECT_EQ(static_cast<double>(giLength::from_squared(9.0)), 3.0);

    const giPoint3 p(1, 2, 3), q(4, 6, 3);
    EXPECT_TRUE(p.coincident(q, 5.0));
    EXPECT_FALSE(p.coincident(q, 4.999));
    EXPECT_FALSE(p.coincident(giPoint3(1, 2, 3 + 1e-15), 0.0)); // tolerance 0: equal coordinates only
    EXPECT_EQ(p.interpolate(q, 0.5), giPoint3(2.5, 4, 3));
    EXPECT_EQ(giPoint2(1, 2).xyz(7), giPoint3(1, 2, 7));
}

TEST(giPrimitives, WorkplanesAreOrthonormalAndRoundTrip) {
    std::mt19937_64 rng(61);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 100; ++i) {
        const giPoint3 o{1e4 * u(rng), 1e4 * u(rng), 1e4 * u(rng)},
            p{1e3 * u(rng), 1e3 * u(rng), 1e3 * u(rng)};
        const giWorkplane3 wp{o, {u(rng), u(rng), u(rng)}, {u(rng), u(rng), u(rng)}};
        const giVector3 x = wp.xaxis().vector(), y = wp.yaxis().vector(), z = wp.zaxis().vector();
        ASSERT_NEAR(x.dot(y), 0.0, 1e-12);
        ASSERT_NEAR(z.dot(x.cross(y)), 1.0, 1e-12); // right-handed
        const giPoint3 back = wp.to_work(wp.to_world(p));
        EXPECT_P3_NEAR(back, p.x, p.y, p.z, 1e-8);
        EXPECT_NEAR(wp.to_world(p).distance(o), p.distance({0, 0, 0}), 1e-8);
        const giVector3 v{u(rng), u(rng), u(rng)}, vb = wp.to_work(wp.to_world(v));
        EXPECT_P3_NEAR(giPoint3(vb), v.x(), v.y(), v.z(), 1e-14);

        const giWorkplane2 w2({o.x, o.y}, {u(rng), u(rng)});
        const giPoint2 b2 = w2.to_work(w2.to_world({p.x, p.y}));
        EXPECT_NEAR(b2.x, p.x, 1e-8);
        EXPECT_NEAR(b2.y, p.y, 1e-8);
        EXPECT_NEAR(w2.xaxis().cross(w2.yaxis()), 1.0, 1e-15); // y a quarter turn anticlockwise from x
    }
    const giWorkplane3 tilted({1, 2, 3}, {0, 1, 0}, {0, 0, 1}); // x -> Y, y -> Z, z -> X
    EXPECT_P3_NEAR(tilted.to_world(giPoint3(1, 2, 3)), 4, 3, 5, 1e-15);
}

TEST(giPrimitives, TransformsCompose) {
    const giPoint3 c(1, 2, 0), p(3, -1, 4);
    const giXform3 rot = giXform3::rotation_z(std::numbers::pi / 2, c);
    EXPECT_P3_NEAR(rot * giPoint3(2, 2, 5), 1, 3, 5, 1e-15); // a quarter turn anticlockwise about c
    const giXform3 sc = giXform3::scaling(3, c), tr = giXform3::translation({10, 0, -1});
    EXPECT_P3_NEAR(sc * p, 7, -7, 12, 1e-15);
    EXPECT_EQ(tr * giVector3(1, 2, 3), giVector3(1, 2, 3)); // vectors ignore the translation
    // (a * b) p = a (b p), and composition is not commutative.
    const giPoint3 t1 = sc * rot * tr * p, t2 = sc * (rot * (tr * p));
    EXPECT_P3_NEAR(t1, t2.x, t2.y, t2.z, 1e-13);
    EXPECT_GT((rot * tr * p).distance(tr * rot * p), 1.0);
    const double m[12] = {0, 1, 0, 5, 1, 0, 0, 6, 0, 0, 1, 7};
    EXPECT_EQ(giXform3(m)(1, 3), 6.0);
    EXPECT_P3_NEAR(giXform3(m) * giPoint3(1, 2, 3), 7, 7, 10, 0);
}

TEST(giPrimitives, Boxes) {
    giBox2 b;
    b.merge(giPoint2(1, 5));
    b.merge(giPoint2(-2, 7));
    b.merge(giBox2()); // an empty box changes nothing
    EXPECT_EQ(b, giBox2({-2, 5}, {1, 7}));
    EXPECT_EQ(b.xlength(), 3.0);
    EXPECT_EQ(b.centre(), giPoint2(-0.5, 6));
    EXPECT_DOUBLE_EQ(b.diagonal(), std::sqrt(13.0));
    EXPECT_EQ(b.point(1, 0), giPoint2(1, 5));
    EXPECT_TRUE(b.contains({1, 7}) && !b.contains({1.5, 7}) && b.contains({1.5, 7}, 0.5));
    EXPECT_FALSE(giBox2().contains({0, 0}, 1e300));
    EXPECT_TRUE(b.crosses(giBox2({1, 7}, {3, 9})) && b.crosses(giBox2({-3, 4}, {-2, 5}))); // touching corners
    EXPECT_FALSE(b.crosses(giBox2({1.1, 7}, {3, 9})));
    EXPECT_FALSE(b.crosses(giBox2()));
    giBox2 c = b;
    c.clip(giBox2({0, 0}, {10, 6}));
    EXPECT_EQ(c, giBox2({0, 5}, {1, 6}));
    c.clip(giBox2({5, 5}, {6, 6}));
    EXPECT_TRUE(c.empty());
    c = b;
    c.offset(-0.75);
    EXPECT_EQ(c, giBox2({-1.25, 5.75}, {0.25, 6.25}));
    c.offset(-0.3); // shrunk past itself
    EXPECT_TRUE(c.empty());
    c.offset(5);
    EXPECT_TRUE(c.empty());

    giBox3 d(giPoint3(0, 0, 0), giPoint3(1, 2, 3));
    d.merge(giPoint3(-1, 5, 1));
    EXPECT_EQ(d, giBox3({-1, 0, 0}, {1, 5, 3}));
    EXPECT_EQ(d.xy(), giBox2({-1, 0}, {1, 5}));
    EXPECT_EQ(d.point(0, 1, 1), giPoint3(-1, 5, 3));
    EXPECT_TRUE(d.contains({1, 5, 3}) && !d.contains({1, 5, 3.1}));
    EXPECT_TRUE(d.crosses(giBox3({1, 5, 3}, {2, 6, 4})));
    EXPECT_FALSE(d.crosses(giBox3({0, 0, 3.5}, {1, 1, 4})));
    giBox3 e = d;
    e.clip(giBox3({0, 1, 2}, {9, 9, 2.5}));
    EXPECT_EQ(e, giBox3({0, 1, 2}, {1, 5, 2.5}));
    e.offset(-0.3);
    EXPECT_TRUE(e.empty());
    EXPECT_TRUE(giBox3().xy().empty());
}

} // namespace giPrimitives_test
