# Writes the convexity and containment cases of the list utilities' tests (convex/, contains/).
def g(v):
    r = repr(float(v))
    return r[:-2] if r.endswith('.0') else r
def write(path, recs):
    out = ['velGeometryIO 1']
    for rec in recs:
        if rec[0] == 'p': out.append('p %s %s %s' % tuple(g(c) for c in rec[1]))
        else: out.append('a %s %s %s %s %s %s' % tuple(g(c) for c in rec[1] + rec[2]))
    out += ['s', 'e']
    open(path, 'w').write('\n'.join(out))
def xy(pts, z=0): return [('p', (x, y, z)) for x, y in pts]
def rect(x0, y0, x1, y1, cw=False):
    return xy([(x0, y0), (x0, y1), (x1, y1), (x1, y0), (x0, y0)] if cw else [(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)])
def circle(cx, cy, r):
    return [('p', (cx + r, cy, 0)), ('a', (cx, cy + r, 0), (cx - r, cy, 0)), ('a', (cx, cy - r, 0), (cx + r, cy, 0))]
dent = xy([(0, 0), (1, 0.01), (2, 0), (2, 2), (0, 2), (0, 0)])
convex = [
    ('square', rect(0, 0, 3, 2), 0.0, 1), ('clockwise_square', rect(0, 0, 3, 2, True), 0.0, 1),
    ('circle', circle(0, 0, 2), 0.0, 1), ('L', xy([(0, 0), (2, 0), (2, 1), (1, 1), (1, 2), (0, 2), (0, 0)]), 0.0, 0),
    ('slight_dent', dent, 0.0, 0), ('slight_dent_within_2_degrees', dent, 2.0, 1),
    ('twice_round', xy([(0, 0), (2, 0), (2, 2), (0, 2), (0, 0), (2, 0), (2, 2)]), 0.0, 0),
    ('open_arc', [('p', (1, 0, 0)), ('a', (0, 1, 0), (-1, 0, 0))], 0.0, 1),
    ('S', [('p', (0, 0, 0)), ('a', (1, 1, 0), (2, 0, 0)), ('a', (3, -1, 0), (4, 0, 0))], 0.0, 0),
    ('vertical_square', [('p', (0, 0, 0)), ('p', (0, 0, 1)), ('p', (1, 0, 1)), ('p', (1, 0, 0))], 0.0, 1),
]
rows = ['# xy_projection_is_convex of one polyline within an angle (degrees).', '# name angle convex']
for n, recs, a, c in convex:
    write('convex/%s.txt' % n, recs)
    rows.append('%s %s %d' % (n, g(a), c))
open('convex/cases', 'w').write('\n'.join(rows) + '\n')
contains = [
    ('inside', xy([(1, 1), (3, 1), (3, 9)]), 1), ('through_the_hole', xy([(1, 5), (9, 5)]), 0),
    ('leaving_the_region', xy([(5, 1), (12, 1)]), 0), ('outside', xy([(20, 20), (30, 20)]), 0),
    ('along_the_boundary', xy([(0, 0), (10, 0), (10, 10)]), 1),
    ('just_outside_within_tol', xy([(2, -1e-4), (8, -1e-4)]), 1), ('an_arc_round_the_hole', circle(5, 5, 3), 1),
    ('an_arc_bulging_out', [('p', (2, 9, 0)), ('a', (5, 10.5, 0), (8, 9, 0))], 0),
    ('a_point_in_the_hole', xy([(5, 5)]), 0),
]
rows = ['# contains(square 0..10 with a clockwise hole 4..6, NAME, 1e-3).', '# name held']
for n, recs, h in contains:
    write('contains/%s.txt' % n, recs)
    rows.append('%s %d' % (n, h))
open('contains/cases', 'w').write('\n'.join(rows) + '\n')
# The filters' list: 0 a 10 x 10 square, 1 an open L of length 20, 2 empty, 3 one point, 4 a circle of
# radius 1, 5 a closed 0.5 x 50 rectangle, 6 a 5 x 5 square, 7 a closed spike out and back.
out = ['velGeometryIO 1']
for recs in [rect(0, 0, 10, 10), xy([(0, 0), (10, 0), (10, 10)]), [], xy([(3, 3)]), circle(20, 0, 1),
             rect(30, 0, 30.5, 50), rect(40, 0, 45, 5), xy([(50, 0), (55, 0), (50, 0)])]:
    for rec in recs:
        if rec[0] == 'p': out.append('p %s %s %s' % tuple(g(c) for c in rec[1]))
        else: out.append('a %s %s %s %s %s %s' % tuple(g(c) for c in rec[1] + rec[2]))
    out.append('s')
out.append('e')
open('filters.txt', 'w').write('\n'.join(out))
