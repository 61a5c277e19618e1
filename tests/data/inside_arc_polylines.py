#!/usr/bin/env python3
"""Held-out cases of the inside test: random closed arc polylines and points near them, each point
classified outside (0), inside (1) or on the boundary (2) by exact rational arithmetic on the very doubles
that the files hold.

    python3 tests/data/inside_arc_polylines.py          # writes inside_arc_polylines.txt and
                                                        # inside_arc_points.txt beside this script

The polylines are written in the velGeometryIO record format; each line of the points file is
"polyline x y class" with the coordinates as Python's repr prints them (they read back bit for bit).

The arc of a span is the circle through its start, mid point and end as stored (doubles, XY). A point is
on the boundary when its exact distance from some span is at most ON_TOL / 2 (the library's on-boundary
tolerance is ON_TOL); inside when it is farther than 2 * ON_TOL from every span and the winding number of
the polyline around it is not zero (the non-zero rule); outside otherwise. Points whose exact distance
lies between ON_TOL / 2 and 2 * ON_TOL are not kept: there a floating-point distance may fairly say either.
Python's fractions module does the exact arithmetic (the script needs nothing else; it takes a few seconds
to a couple of minutes).
The winding number is the one of the chord polygon (upward and downward crossings of the ray to +x, a
vertex at the ray's height counting as below it) plus, for each arc, +-1 when the point lies strictly
inside the circle and strictly on the mid point's side of the chord (the region that the arc and its chord
enclose), signed by the arc's turning. A point exactly on a chord is taken as moved by (eps, eps^2), as
the crossing rule takes it.
"""

import math
import os
import random
from fractions import Fraction as F

ON_TOL = F(1e-10)
SEED = 14
POLYLINES = 40
POINTS = 10000

HERE = os.path.dirname(os.path.abspath(__file__))


def sign(x):
    return (x > 0) - (x < 0)


def cross(ax, ay, bx, by):
    return ax * by - ay * bx


def orient(a, b, c):
    return sign(cross(b[0] - a[0], b[1] - a[1], c[0] - a[0], c[1] - a[1]))


def circumcentre(a, b, c):
    bx, by = b[0] - a[0], b[1] - a[1]
    cx, cy = c[0] - a[0], c[1] - a[1]
    d = 2 * cross(bx, by, cx, cy)
    b2, c2 = bx * bx + by * by, cx * cx + cy * cy
    ux = (cy * b2 - by * c2) / d
    uy = (bx * c2 - cx * b2) / d
    return (a[0] + ux, a[1] + uy), ux * ux + uy * uy


def dist2(p, q):
    return (p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2


def segment_dist2(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    l2 = dx * dx + dy * dy
    if l2 == 0:
        return dist2(p, a)
    t = ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / l2
    t = min(max(t, F(0)), F(1))
    return dist2(p, (a[0] + t * dx, a[1] + t * dy))


def le_sqrt_diff(D, R, t):
    """|sqrt(D) - sqrt(R)| <= t, exactly."""
    def one(x, y, z):  # x <= y + 2 t sqrt(z) + t^2
        lhs = x - y - t * t
        return lhs <= 0 or lhs * lhs <= 4 * t * t * z
    return one(D, R, R) and one(R, D, D)


def sign_sum_sqrt(alpha, beta, q):
    """Sign of alpha + sqrt(q) * beta, q > 0."""
    sa, sb = sign(alpha), sign(beta)
    if sb == 0 or sa == sb:
        return sa if sa != 0 else sb
    if sa == 0:
        return sb
    lhs, rhs = alpha * alpha, q * beta * beta
    if lhs == rhs:
        return 0
    return sa if lhs > rhs else sb


def within(p, span, t):
    """Whether the exact distance from p to the span is at most t."""
    a, m, b = span
    if m is None or a == b or orient(a, b, m) == 0:
        if a == b and m is not None:
            return dist2(p, a) <= t * t  # a zero chord is a point
        return segment_dist2(p, a, b) <= t * t
    c, r2 = circumcentre(a, m, b)
    D = dist2(p, c)
    ends = min(dist2(p, a), dist2(p, b)) <= t * t
    if D == 0:
        return ends or le_sqrt_diff(0, r2, t)
    # The radial projection of p lies on the arc when it is on the mid point's side of the chord.
    ex, ey = b[0] - a[0], b[1] - a[1]
    alpha = cross(ex, ey, c[0] - a[0], c[1] - a[1])
    beta = cross(ex, ey, p[0] - c[0], p[1] - c[1])
    side = sign_sum_sqrt(alpha, beta, r2 / D)
    if side == orient(a, b, m):
        return ends or le_sqrt_diff(D, r2, t)
    return ends


def winding(p, spans):
    w = 0
    for a, m, b in spans:
        o = orient(a, b, p)
        if a[1] <= p[1]:
            if b[1] > p[1] and o > 0:
                w += 1
        elif b[1] <= p[1] and o < 0:
            w -= 1
        if m is None or a == b:
            continue
        om = orient(a, b, m)
        if om == 0:
            continue
        if o == 0:
            dy, dx = b[1] - a[1], b[0] - a[0]
            o = -sign(dy) if dy != 0 else sign(dx)
        if o != om:
            continue
        c, r2 = circumcentre(a, m, b)
        if dist2(p, c) < r2:
            w += 1 if om < 0 else -1
    return w


def classify(p, spans):
    """0 outside, 1 inside, 2 on the boundary, None in the ambiguous band."""
    if any(within(p, s, ON_TOL / 2) for s in spans):
        return 2
    if any(within(p, s, 2 * ON_TOL) for s in spans):
        return None
    return 1 if winding(p, spans) != 0 else 0


def bulge_mid(a, b, bulge):
    dx, dy = b[0] - a[0], b[1] - a[1]
    return (0.5 * (a[0] + b[0]) + 0.5 * bulge * dy, 0.5 * (a[1] + b[1]) - 0.5 * bulge * dx)


def random_polyline(rng):
    """Vertices round a centre at random radii (crossings allowed), random bulges: flat, ordinary and
    beyond half a turn; about a quarter of the spans straight."""
    n = rng.randint(3, 8)
    scale = 10 ** rng.uniform(-1, 2)
    cx, cy = rng.uniform(-1000, 1000), rng.uniform(-1000, 1000)
    angles = sorted(rng.uniform(0, 2 * math.pi) for _ in range(n))
    if rng.random() < 0.3:
        rng.shuffle(angles)  # a tangle
    pts = [(cx + scale * rng.uniform(0.3, 1) * math.cos(t), cy + scale * rng.uniform(0.3, 1) * math.sin(t))
           for t in angles]
    pts.append(pts[0])
    spans = []
    for a, b in zip(pts, pts[1:]):
        r = rng.random()
        if r < 0.25:
            spans.append((a, None, b))
            continue
        if r < 0.35:
            bulge = rng.choice([-1, 1]) * 10 ** rng.uniform(-7, -3)
        elif r < 0.85:
            bulge = rng.uniform(-1, 1)
        else:
            bulge = rng.choice([-1, 1]) * rng.uniform(1, 4)
        spans.append((a, bulge_mid(a, b, bulge), b))
    return spans


def point_on_span(rng, span):
    """A point of the span (floats) and the unit normal there."""
    a, m, b = span
    if m is None:
        t = rng.random()
        x, y = a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])
        dx, dy = b[0] - a[0], b[1] - a[1]
        L = math.hypot(dx, dy)
        return (x, y), (-dy / L, dx / L)
    # circumcentre in floats
    ax, ay = a
    bx, by = b[0] - ax, b[1] - ay
    mx, my = m[0] - ax, m[1] - ay
    d = 2 * (bx * my - by * mx)
    b2, m2 = bx * bx + by * by, mx * mx + my * my
    ux, uy = (my * b2 - by * m2) / d, (bx * m2 - mx * b2) / d
    c = (ax + ux, ay + uy)
    r = math.hypot(ux, uy)
    t0 = math.atan2(ay - c[1], ax - c[0])
    t1 = math.atan2(b[1] - c[1], b[0] - c[0])
    tm = math.atan2(m[1] - c[1], m[0] - c[0])
    # sweep from t0 through tm to t1
    ccw = (bx * my - by * mx) < 0  # mid point right of the chord: anticlockwise
    def ang(x):
        return x % (2 * math.pi)
    sweep = ang(t1 - t0) if ccw else -ang(t0 - t1)
    th = t0 + rng.random() * sweep
    p = (c[0] + r * math.cos(th), c[1] + r * math.sin(th))
    return p, (math.cos(th), math.sin(th))


def to_fraction(span):
    a, m, b = span
    fa = (F(a[0]), F(a[1]))
    fb = (F(b[0]), F(b[1]))
    fm = None if m is None else (F(m[0]), F(m[1]))
    return fa, fm, fb


def main():
    rng = random.Random(SEED)
    polylines = [random_polyline(rng) for _ in range(POLYLINES)]
    exact = [[to_fraction(s) for s in spans] for spans in polylines]
    points = []
    per = POINTS // POLYLINES
    for k, spans in enumerate(polylines):
        xs = [s[0][0] for s in spans]
        ys = [s[0][1] for s in spans]
        lo_x, hi_x, lo_y, hi_y = min(xs), max(xs), min(ys), max(ys)
        wx, wy = hi_x - lo_x, hi_y - lo_y
        kept = 0
        while kept < per:
            r = rng.random()
            if r < 0.5:
                p, n = point_on_span(rng, rng.choice(spans))
                off = rng.choice([0.0, 1e-12, -1e-12, 1e-6, -1e-6, 1e-3, -1e-3])
                p = (p[0] + off * n[0], p[1] + off * n[1])
            elif r < 0.6:
                p = rng.choice(spans)[0]
            elif r < 0.95:
                p = (rng.uniform(lo_x - 0.2 * wx, hi_x + 0.2 * wx), rng.uniform(lo_y - 0.2 * wy, hi_y + 0.2 * wy))
            else:
                p = (rng.uniform(-1e4, 1e4), rng.uniform(-1e4, 1e4))
            c = classify((F(p[0]), F(p[1])), exact[k])
            if c is None:
                continue
            points.append((k, p, c))
            kept += 1

    with open(os.path.join(HERE, "inside_arc_polylines.txt"), "w") as f:
        f.write("velGeometryIO 1")
        for spans in polylines:
            f.write("\np %r %r 0" % spans[0][0])
            for a, m, b in spans:
                if m is None:
                    f.write("\np %r %r 0" % b)
                else:
                    f.write("\na %r %r 0 %r %r 0" % (m + b))
            f.write("\ns")
        f.write("\ne")
    with open(os.path.join(HERE, "inside_arc_points.txt"), "w") as f:
        for k, p, c in points:
            f.write("%d %r %r %d\n" % (k, p[0], p[1], c))
    counts = [sum(1 for _, _, c in points if c == i) for i in range(3)]
    print("points: %d outside, %d inside, %d on the boundary" % tuple(counts))


if __name__ == "__main__":
    main()
