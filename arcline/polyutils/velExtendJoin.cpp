#include "arcline/polyutils/velExtendJoin.h"

#include <cmath>
#include <numbers>

namespace {

giPoint3 centre_of(const velAbsSpan& span) {
    giPoint3 centre, mid;
    double radius = 0.0;
    span.get_centre_mid_radius(centre, mid, radius);
    return centre;
}

} // namespace

int velExtendJoin::lines(velAbsSpan& before, velAbsSpan& after, const velCornerGeometry& corner) {
    const giPoint3 X = before.end_point() + corner.T1 * corner.extension;
    before.copy_to_end_point(X);
    after.copy_to_start_point(X);
    return 1;
}

int velExtendJoin::along_circles(const velAbsSpancoPrf& before, const velAbsSpancoPrf& after) {
    const bool arc_before = before->is_of_class_arc() != 0, arc_after = after->is_of_class_arc() != 0;
    double r_before = 0.0, r_after = 0.0;
    velAbsSpancoPrf on_before, on_after; // the continuations
    if (arc_before) on_before = create_arc_for_circle(*before, r_before, 0);
    if (arc_after) on_after = create_arc_for_circle(*after, r_after, 1);
    if (!arc_before) {
        const giPoint3 E = before->end_point();
        on_before = before->create_line_span(E, E + before->end_vector() * std::fabs(r_after));
    }
    if (!arc_after) {
        const giPoint3 S = after->start_point();
        on_after = after->create_line_span(S - after->start_vector() * std::fabs(r_before), S);
    }
    double t_before[2], t_after[2];
    const int n = on_before->intersect(on_after, t_before, t_after, 2);
    if (n == 0) return 0;
    // The crossing nearest to the end of `before`: the smaller parameter on its continuation.
    const double t = n == 2 ? std::fmin(t_before[0], t_before[1]) : t_before[0];
    const giPoint3 X = on_before->parameter_point(t);
    const giPoint3 c_before = centre_of(*before), c_after = centre_of(*after);
    before->copy_to_end_point(X);
    after->copy_to_start_point(X);
    if (arc_before) before->set_bulge(find_bulge_factor(before->start_point(), X, c_before, r_before));
    if (arc_after) after->set_bulge(find_bulge_factor(X, after->end_point(), c_after, r_after));
    return 1;
}

velAbsSpancoPrf velExtendJoin::create_arc_for_circle(const velAbsSpan& span, double& r, int which) {
    giPoint3 centre, mid;
    span.get_centre_mid_radius(centre, mid, r);
    if (span.get_bulge() < 0.0) r = -r;
    // The point of the circle opposite the mid point. (Reflecting M through the centre equals stepping
    // 2r across from M along the normal of the mean tangent, and stays defined for a half circle, whose
    // end tangents cancel.)
    const giPoint3 Q(2.0 * centre.x - mid.x, 2.0 * centre.y - mid.y, mid.z);
    const giPoint3 S = span.start_point(), E = span.end_point();
    return which == 0 ? span.create_arc_span(E, S, Q) : span.create_arc_span(S, E, Q);
}

double velExtendJoin::find_bulge_factor(const giPoint3& P0, const giPoint3& P1, const giPoint3& centre,
                                        double r) {
    const double ax = P0.x - centre.x, ay = P0.y - centre.y, bx = P1.x - centre.x, by = P1.y - centre.y;
    // Signed angle from P0 to P1 about the centre, in (-pi, pi], then taken round in the arc's sense.
    double angle = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    if (r < 0.0) angle = -angle;
    if (angle < 0.0) angle += 2.0 * std::numbers::pi;
    const double b = std::tan(angle / 4.0);
    return r < 0.0 ? -b : b;
}
