#pragma once
// An iterator that carries a vector at every position of its polylines (a tool axis, a surface normal).
// Consumers that keep one vector per position test for this kind and fall back to a default vector when the
// iterator they were given is of another kind. Implemented by callers of the library.

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giVector3.h"

class velPolylineListIterWithVector : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterWithVector, velPolylineListIter)

public:
    ~velPolylineListIterWithVector() override = default;
    // The vector attached to position i of the current polyline.
    virtual giVector3 get_vector(int i) const = 0;

protected:
    velPolylineListIterWithVector() = default;
    velPolylineListIterWithVector(const velPolylineListIterWithVector&) = default;
    velPolylineListIterWithVector& operator=(const velPolylineListIterWithVector&) = default;
};
