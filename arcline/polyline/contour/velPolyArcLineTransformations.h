#pragma once
// Transformed and translated copies of poly-arc-lines and lists, and the same in place. Points are mapped
// one by one: positions, and arcs by their mid points, so an arc stays an arc through the images of its
// three points (a similarity maps it onto the image arc; a general affine map does not keep circles, and
// the result is then the arc through the three mapped points).

#include "arcline/lists/velAbsPolyArcLineVecListIter.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giXform3.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

#include <memory>

class velPolyArcLineTransformations {
public:
    // A new poly-arc-line of p's storage class holding the image of p.
    static std::unique_ptr<velAbsPolyArcLine> make_transformed(const velAbsPolyArcLine& p,
                                                               const giXform3& xf);
    // One new velPolyArcLineDouble per polyline of the list (iterated from reset()), holding its image; the
    // iterator is left undefined. Empty polylines give empty ones.
    static velAbsPolyArcLineVec make_transformed(velPolylineListIter& iter, const giXform3& xf);
    static std::unique_ptr<velAbsPolyArcLine> make_translated(const velAbsPolyArcLine& p, const giVector3& v);
    static velAbsPolyArcLineVec make_translated(velPolylineListIter& iter, const giVector3& v);
    // Maps p's points in place (nothing for an empty line). A class that refuses an edited image (a line at
    // one height moved to another) is refilled from make_transformed instead.
    static void transform(velAbsPolyArcLine& p, const giXform3& xf);
    static void translate(velAbsPolyArcLine& p, const giVector3& v);

private:
    velPolyArcLineTransformations() = default;
};
