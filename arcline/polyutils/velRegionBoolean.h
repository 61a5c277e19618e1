#pragma once
// Union, intersection, difference and exclusive or of two regions, for callers who do not want to think
// about orientation. Each region is a list of closed boundaries in any orientation (polylines whose ends
// lie apart are closed by a straight span); boundaries are oriented by their nesting first (outermost
// anticlockwise, the ones directly inside clockwise, and so on), so that a list of nested boundaries means
// the usual region with holes and islands. The result always has anticlockwise outer boundaries and
// clockwise holes. These sit on velPolylineSorter's addition, subtraction and intersection, whose stricter
// orientation contracts they meet.
//
//     velAbsPolyArcLineListCursor out;
//     if (region_difference(part.iterator(), pocket.iterator(), out) != 0) { ... out holds the fallback ... }
//
// Each returns 0 on success; otherwise the code of the failed step (velPolylineSorter::boolean_code: 1
// stopped, 2 failed), out then holding the sorter's failure result; velPolylineSorter::non_finite_input
// for a coordinate that is not finite (refused, out empty).

class velPolylineListIter;
class velPolylineListCursor;

// The points in A or in B.
int region_union(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out);
// The points in A and in B.
int region_intersection(const velPolylineListIter& a, const velPolylineListIter& b,
                        velPolylineListCursor& out);
// The points in A and not in B.
int region_difference(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out);
// The points in exactly one of A and B: the union of the two differences.
int region_xor(const velPolylineListIter& a, const velPolylineListIter& b, velPolylineListCursor& out);
