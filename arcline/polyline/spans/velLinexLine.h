#pragma once
// Straight-line helpers: feet of points on lines and segments, closest points of two segments and the
// crossing of two segments. Parameters run from 0 at the first point to 1 at the second.

#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/polyline/velTolerances.h"

class velLinexLine {
public:
    // Tolerance on segment parameters: a foot within [-1e-5, 1 + 1e-5] counts as on the segment.
    static constexpr double param_tol = velTol::span_fraction;

    // Parameter of the foot of P on the line A + t (B - A) (0 when A = B).
    static void closest_point_on_infinite_line(const giPoint2& P, const giPoint2& A, const giPoint2& B,
                                               double& t);
    static void closest_point_on_infinite_line(const giPoint3& P, const giPoint3& A, const giPoint3& B,
                                               double& t);
    // That parameter clamped to [0, 1]; returns 1 when the unclamped value lay within [-1e-5, 1.00001].
    static int closest_point(const giPoint2& P, const giPoint2& A, const giPoint2& B, double& t);
    static int closest_point(const giPoint3& P, const giPoint3& A, const giPoint3& B, double& t);
    // Squared distance from P to segment AB at the clamped parameter of the foot; DBL_MAX when that
    // parameter is not a number: a degenerate segment (A = B, parameter 0 / 0), whatever P, or a NaN
    // coordinate.
    static double distance_to_line_squared(const giPoint2& P, const giPoint2& A, const giPoint2& B);
    static double distance_to_line_squared(const giPoint3& P, const giPoint3& A, const giPoint3& B);
    static double distance_to_line(const giPoint2& P, const giPoint2& A, const giPoint2& B);
    static double distance_to_line(const giPoint3& P, const giPoint3& A, const giPoint3& B);

    // Parameters s on AB and t on CD of the closest points of the two segments.
    static void closest_point(const giPoint3& A, const giPoint3& B, const giPoint3& C, const giPoint3& D,
                              double& s, double& t);
    static void closest_point(const giPoint2& A, const giPoint2& B, const giPoint2& C, const giPoint2& D,
                              double& s, double& t);

    // Crossing of the lines through AB and CD: s on AB, t on CD. Returns 1 when the crossing lies on both
    // segments within the parameter tolerance (parallel segments: when they touch within 1e-5).
    static int infinite_intersect(const giPoint2& A, const giPoint2& B, const giPoint2& C, const giPoint2& D,
                                  double& s, double& t);
    // infinite_intersect with s and t then clamped to [0, 1]; same result.
    static int intersect(const giPoint2& A, const giPoint2& B, const giPoint2& C, const giPoint2& D,
                         double& s, double& t);

private:
    velLinexLine() = default;
};
