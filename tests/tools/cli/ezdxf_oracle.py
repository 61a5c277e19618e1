"""The outside DXF reader and writer of the arcline program's tests, through ezdxf (Debian python3-ezdxf).

  dump IN.dxf      prints, as JSON, the polylines that ezdxf sees in IN's model space: a list of
                   {"kind": ENTITY, "positions": [[x, y, z], ...], "mids": [[x, y, z] or null, ...]} in
                   world coordinates, a mid point per span (null for straight spans); arcs of circles and
                   arcs run anticlockwise about their normal, circles start at angle 0.
  resave IN OUT    reads IN and writes it again with ezdxf.
  make OUT         writes a drawing of every entity kind that arcline reads, and a spline it does not.
"""

import json
import math
import sys

import ezdxf
from ezdxf.math import OCS, Vec3


def bulge_mid(p0, p1, b):
    """Mid point of the arc from p0 to p1 (2D) with bulge b: right of the chord for b > 0."""
    cx, cy = 0.5 * (p0[0] + p1[0]), 0.5 * (p0[1] + p1[1])
    return (cx + 0.5 * b * (p1[1] - p0[1]), cy - 0.5 * b * (p1[0] - p0[0]))


def vec(v):
    return [v[0], v[1], v[2]]


def planar(points, bulges, closed, ocs, elevation):
    """Positions and mids in world coordinates of a 2D polyline given in its OCS."""
    pts = [(p[0], p[1]) for p in points]
    bs = list(bulges)
    if closed and len(pts) > 1 and pts[-1] != pts[0]:
        pts.append(pts[0])
    else:
        bs = bs[:len(pts) - 1]
    positions = [vec(ocs.to_wcs(Vec3(x, y, elevation))) for x, y in pts]
    mids = []
    for i in range(len(pts) - 1):
        b = bs[i] if i < len(bs) else 0.0
        if b == 0.0:
            mids.append(None)
        else:
            m = bulge_mid(pts[i], pts[i + 1], b)
            mids.append(vec(ocs.to_wcs(Vec3(m[0], m[1], elevation))))
    return positions, mids


def arc(center, radius, a0, sweep, ocs):
    def at(deg):
        r = math.radians(deg)
        return vec(ocs.to_wcs(Vec3(center[0] + radius * math.cos(r), center[1] + radius * math.sin(r), center[2])))
    if sweep >= 360.0:
        return [at(a0), at(a0 + 180.0), at(a0)], [at(a0 + 90.0), at(a0 + 270.0)]
    return [at(a0), at(a0 + sweep)], [at(a0 + 0.5 * sweep)]


def dump(path):
    doc = ezdxf.readfile(path)
    out, unread = [], {}
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "LINE":
            out.append({"kind": t, "positions": [vec(e.dxf.start), vec(e.dxf.end)], "mids": [None]})
        elif t == "POINT":
            out.append({"kind": t, "positions": [vec(e.dxf.location)], "mids": []})
        elif t in ("ARC", "CIRCLE"):
            ocs = OCS(e.dxf.extrusion)
            if t == "CIRCLE":
                a0, sweep = 0.0, 360.0
            else:
                a0 = e.dxf.start_angle
                sweep = (e.dxf.end_angle - a0) % 360.0 or 360.0
            p, m = arc(Vec3(e.dxf.center), e.dxf.radius, a0, sweep, ocs)
            out.append({"kind": t, "positions": p, "mids": m})
        elif t == "LWPOLYLINE":
            pts = list(e.get_points("xyb"))
            p, m = planar([(x, y) for x, y, _ in pts], [b for _, _, b in pts], e.closed, OCS(e.dxf.extrusion),
                          e.dxf.elevation)
            out.append({"kind": t, "positions": p, "mids": m})
        elif t == "POLYLINE" and (e.is_2d_polyline or e.is_3d_polyline):
            vs = list(e.vertices)
            if e.is_3d_polyline:
                p = [vec(v.dxf.location) for v in vs]
                if e.is_closed and len(p) > 1 and p[-1] != p[0]:
                    p.append(p[0])
                out.append({"kind": t, "positions": p, "mids": [None] * (len(p) - 1)})
            else:
                p, m = planar([v.dxf.location for v in vs], [v.dxf.bulge for v in vs], e.is_closed,
                              OCS(e.dxf.extrusion), e.dxf.elevation[2])
                out.append({"kind": t, "positions": p, "mids": m})
        else:
            unread[t] = unread.get(t, 0) + 1
    print(json.dumps({"polylines": out, "unread": unread}))


def make(path):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    msp.add_line((0, 0, 0), (10, 0, 1))
    msp.add_circle((20, 20), 2.5)
    msp.add_arc((0, 0), 5, 30, 300)
    msp.add_arc((-60, 0, 3), 1, 0, 180, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((1, 2, 3), 4, 10, 100, dxfattribs={"extrusion": (0.6, 0, 0.8)})
    msp.add_lwpolyline([(0, 10, 0, 0, 1), (4, 10, 0, 0, 0.5), (4, 14, 0, 0, 0), (0, 14, 0, 0, -0.25)],
                       format="xyseb", close=True, dxfattribs={"elevation": 2.0})
    msp.add_lwpolyline([(30, 0), (34, 0), (34, 4)])
    msp.add_polyline2d([(50, 0, -1), (52, 0, 0), (52, 3, 0.3)], format="xyb")
    msp.add_polyline3d([(0, 0, 0), (0, 0, 3), (1, 2, 3)], close=True)
    msp.add_point((7, 8, 9))
    msp.add_spline([(0, 0), (1, 1), (2, 0), (3, 1)])
    doc.saveas(path)


if __name__ == "__main__":
    if sys.argv[1] == "dump":
        dump(sys.argv[2])
    elif sys.argv[1] == "resave":
        ezdxf.readfile(sys.argv[2]).saveas(sys.argv[3])
    elif sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        sys.exit(__doc__)
