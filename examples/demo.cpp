// arcline demo: a few spans in bulge form and what the kernel measures on them.

#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velPolyArcLine.h"

#include <cstdio>

namespace {

struct DemoArc {
    const char* name;
    double p0[2], p1[2], bulge;
};

void describe(const DemoArc& a) {
    double mid[2], centre[2], radius, area;
    velCirbul::cbbump(a.p0, a.p1, a.bulge, mid);
    velCirbul::cbbucr(a.p0, a.p1, a.bulge, centre, radius);
    velCirbul::cbbuar(a.p0, a.p1, a.bulge, area);
    const giPoint3 s(a.p0[0], a.p0[1], 0.0), m(mid[0], mid[1], 0.0), e(a.p1[0], a.p1[1], 0.0);
    const giBox3 box = velArc3Utils::bbox(s, e, m);
    std::printf("%-22s bulge %-9g sweep %8.3f deg  radius %9.4f  centre (%g, %g)\n", a.name, a.bulge,
                velArc2Utils::arc_angle(a.bulge).degrees(), radius, centre[0], centre[1]);
    std::printf("%-22s mid (%g, %g)  length %.12g  area to chord %.12g\n", "", mid[0], mid[1],
                velArc3Utils::arc_length(s, m, e), area);
    std::printf("%-22s box (%g, %g) .. (%g, %g)\n", "", box.min().x, box.min().y, box.max().x, box.max().y);
}

} // namespace

int main() {
    const DemoArc arcs[] = {
        {"half circle", {0.0, 0.0}, {2.0, 0.0}, 1.0},
        {"quarter, clockwise", {0.0, 0.0}, {1.0, 1.0}, -0.41421356237309503},
        {"three quarters", {1.0, 0.0}, {0.0, -1.0}, 2.414213562373095},
        {"nearly straight", {0.0, 0.0}, {100.0, 0.0}, 1e-9},
        {"straight", {0.0, 0.0}, {3.0, 4.0}, 0.0},
    };
    std::printf("arcline demo: spans and their measures\n\n");
    for (const DemoArc& a : arcs)
        describe(a);

    // Where the half circle meets the three-quarter circle and the straight span.
    std::printf("\nintersections (parameter on each span and point):\n");
    for (int j : {2, 4}) {
        int count, coincident;
        double ta[velCirbul::max_intersections], tb[velCirbul::max_intersections];
        double pts[velCirbul::max_intersections][2];
        velCirbul::cbincb_g(arcs[0].p0, arcs[0].p1, arcs[0].bulge, 0.0, 1.0, arcs[j].p0, arcs[j].p1,
                            arcs[j].bulge, 0.0, 1.0, velCirbul::intersection_tol, count, ta, tb, pts,
                            coincident);
        std::printf("  %s x %s: %d point(s)\n", arcs[0].name, arcs[j].name, count);
        for (int i = 0; i < count; ++i) {
            std::printf("    t = %.12g, %.12g at (%.12g, %.12g)\n", ta[i], tb[i], pts[i][0], pts[i][1]);
        }
    }

    // Nearest point of the half circle to a point above it.
    const double q[2] = {1.0, 3.0};
    double d, t, nearest[2];
    velCirbul::cbdspt_g(arcs[0].p0, arcs[0].p1, arcs[0].bulge, 0.0, 1.0, q, 1e-10, d, t, nearest);
    std::printf("\nnearest point of the half circle to (1, 3): (%g, %g) at t = %g, distance %.12g\n",
                nearest[0], nearest[1], t, d);

    // A closed slot: two straight sides and two half circles, stored in single precision.
    velPolyArcLine slot;
    slot.add_pos(giPoint3(0.0, 0.0, 0.0));
    slot.add_pos(giPoint3(10.0, 0.0, 0.0));
    slot.add_arc(giPoint3(12.0, 2.0, 0.0), giPoint3(10.0, 4.0, 0.0));
    slot.add_pos(giPoint3(0.0, 4.0, 0.0));
    slot.add_arc(giPoint3(-2.0, 2.0, 0.0), giPoint3(0.0, 0.0, 0.0));
    const giBox3& box = slot.box();
    std::printf("\nslot: %d positions, %d spans, length %.9g (2 x 10 + 4 pi = %.9g)\n", slot.num_pos(),
                slot.num_spans(), slot.length(), 20.0 + 4.0 * 3.14159265358979323846);
    std::printf("  box (%g, %g) .. (%g, %g)\n", box.min().x, box.min().y, box.max().x, box.max().y);
    for (double tol : {0.1, 0.01, 0.001}) {
        std::printf("  polygonized within %g: %d points\n", tol, slot.get_polygonized_points(tol, 0)->size());
    }
    giPoint3 split = slot.split_arc(2, 0.5);
    std::printf("  right arc split at half its length: (%g, %g), now %d spans\n", split.x, split.y,
                slot.num_spans());
    return 0;
}
