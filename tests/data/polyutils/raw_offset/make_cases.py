# Writes the inputs and the table `cases` of RawOffset/EdgeCases: exact properties from their formulas.
import math
pi = math.pi
r2 = math.sqrt(2.0)
def g(v):
    r = repr(float(v))
    return r[:-2] if r.endswith('.0') else r
def write(name, recs):
    out = ['velGeometryIO 1']
    for rec in recs:
        if rec[0] == 'p': out.append('p %s %s 0' % (g(rec[1]), g(rec[2])))
        else: out.append('a %s %s 0 %s %s 0' % (g(rec[1]), g(rec[2]), g(rec[3]), g(rec[4])))
    out += ['s', 'e']
    open(name + '.txt', 'w').write('\n'.join(out))
P = lambda pts: [('p', x, y) for x, y in pts]
write('square_cw', P([(0, 0), (0, 10), (10, 10), (10, 0), (0, 0)]))
write('square_ccw', P([(0, 0), (10, 0), (10, 10), (0, 10), (0, 0)]))
write('right_angle', P([(-10, 0), (0, 0), (0, 10)]))  # turning left: positive offsets lie outside
write('zigzag', P([(-10, 0), (0, 0), (0, 10), (10, 10)]))
write('turn_back', P([(0, 0), (10, 0), (2, 0)]))
write('there_and_back', P([(0, 0), (10, 0), (0, 0)]))
write('lens', [('p', -1, 0), ('a', 0, -0.5, 1, 0), ('a', 0, 0.5, -1, 0)])  # radius 1.25 about (0, +-0.75)
# A line into the origin, a clockwise arc of radius 3 about (-3, 0) sweeping 20 degrees, the tangent line on.
sw = 20.0 * pi / 180.0
at = lambda a: (-3.0 + 3.0 * math.cos(a), 3.0 * math.sin(a))
end, t, m = at(-sw), (-math.sin(sw), -math.cos(sw)), at(-sw / 2)
write('short_arc_corner', [('p', -10, 0), ('p', 0, 0), ('a', m[0], m[1], end[0], end[1]),
                           ('p', end[0] + t[0] * 10.0, end[1] + t[1] * 10.0)])
write('collapsing_arc', [('p', -5, -2), ('p', 0, 3), ('a', 3 / r2, 3 / r2, 3, 0), ('p', -2, -5)])
k = 5e-6
write('kinked', P([(0, 0), (10, 0), (10 + 10 * math.cos(k), 10 * math.sin(k))]))
X = float('nan')
chamfer_k = 1.0 - (r2 - 1.2) / math.cos(pi / 4)
chamfer_length = 20 + 2 * chamfer_k + r2 * (1 - chamfer_k)
R, sweep = 1.25, 4.0 * math.atan(0.5)
lens_area, lens_length = R * R * (sweep - math.sin(sweep)), 2.0 * R * sweep
lens_steiner = lens_area + lens_length + pi
sharp_lens_area = 2.0 * (2.25 * 2.25 * math.acos(0.75 / 2.25) - 0.75 * math.sqrt(4.5))
N, S = (0, 0, 0), (1, 0, 0)
C = lambda m: (1, 1, m)
rows = [
    ("square_plus6_vanishes", "square_cw", 6, N, -1, 0, 0, X, X, X, X),
    ("square_plus5_vanishes", "square_cw", 5, N, -1, 0, 0, X, X, X, X),
    ("square_plus4_side2", "square_cw", 4, N, 4, 0, 0, -4, 8, 2, 2),
    ("square_minus4_rounded", "square_cw", -4, N, 8, 4, 0, -(260 + 16 * pi), 40 + 8 * pi, 18, 18),
    ("square_minus4_sharp", "square_cw", -4, S, 4, 0, 0, -324, 72, 18, 18),
    ("ccw_square_plus4_rounded", "square_ccw", 4, N, 8, 4, 0, 260 + 16 * pi, 40 + 8 * pi, 18, 18),
    ("ccw_square_minus4_side2", "square_ccw", -4, N, 4, 0, 0, 4, 8, 2, 2),
    ("ccw_square_minus6_vanishes", "square_ccw", -6, N, -1, 0, 0, X, X, X, X),
    ("right_angle_chamfer_1_2", "right_angle", 1, C(1.2), 3, 0, 0, X, chamfer_length, 11, 11),
    ("right_angle_chamfer_limit_sqrt2_stays_sharp", "right_angle", 1, C(r2), 2, 0, 0, X, 22, 11, 11),
    ("right_angle_chamfer_no_limit", "right_angle", 1, C(-1), 2, 0, 0, X, 22, 11, 11),
    ("right_angle_chamfer_0_9_rounds", "right_angle", 1, C(0.9), 3, 1, 0, X, 20 + pi / 2, 11, 11),
    ("right_angle_sharp", "right_angle", 1, S, 2, 0, 0, X, 22, 11, 11),
    ("right_angle_rounded", "right_angle", 1, N, 3, 1, 0, X, 20 + pi / 2, 11, 11),
    ("right_angle_inside_temporary", "right_angle", -1, N, 3, 0, 1, X, 20 + r2, 10, 10),
    ("zigzag_inside_trimmed", "zigzag", -1, N, 4, 1, 0, X, 28 + pi / 2, 20, 10),
    ("turn_back_half_circle", "turn_back", 1, N, 3, 1, 0, X, 18 + pi, 11, 2),
    ("turn_back_half_circle_extend", "turn_back", 1, S, 3, 1, 0, X, 18 + pi, 11, 2),
    ("there_and_back_band", "there_and_back", 1, N, 4, 2, 0, 20 + pi, 20 + 2 * pi, 12, 2),
    ("lens_rounded", "lens", 1, N, 4, 4, 0, lens_steiner, lens_length + 2 * pi, 4, 3),
    ("lens_sharp", "lens", 1, S, 2, 2, 0, sharp_lens_area, X, 2 * math.sqrt(4.5), 3),
    ("lens_tangent_lines", "lens", 1, C(1.5), 6, 2, 0, X, X, 4.5, 3),
    ("lens_chamfer_1_1", "lens", 1, C(1.1), 8, 2, 0, X, X, 4.2, 3),
    ("lens_chamfer_below_offset_rounds", "lens", 1, C(0.5), 4, 4, 0, lens_steiner, X, 4, X),
    ("collapsed_arc", "collapsing_arc", 5, N, 5, 0, 3, X, X, X, X),
    ("untrimmed_arc_corner_split", "short_arc_corner", 1, N, 5, 3, 2, X, X, X, X),
    ("kink_gap_closed", "kinked", 1, N, 2, 0, 0, X, X, X, X),
]
head = open('cases').read().split('\n')
out = [l for l in head if l.startswith('#')]
for r in rows:
    n, inp, d, o = r[:4]
    out.append(' '.join([n, inp, g(d), str(o[0]), str(o[1]), g(o[2])] + [str(v) for v in r[4:7]] +
                        [repr(float(v)) for v in r[7:]]))
open('cases', 'w').write('\n'.join(out) + '\n')
