#pragma once
// An iterator that says, for each end of its current polyline, whether that end may be joined to another
// polyline. The closer of gaps between polylines reads it; callers of the library implement it.

#include "arcline/lists/velPolylineListIter.h"

class velPolylineListIterWithClosureFlags : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterWithClosureFlags, velPolylineListIter)

public:
    ~velPolylineListIterWithClosureFlags() override = default;
    // Nonzero when the start of the current polyline must not be joined to another polyline.
    virtual int start_closure_flag() const = 0;
    // Nonzero when the end of the current polyline must not be joined to another polyline.
    virtual int end_closure_flag() const = 0;

protected:
    velPolylineListIterWithClosureFlags() = default;
    velPolylineListIterWithClosureFlags(const velPolylineListIterWithClosureFlags&) = default;
    velPolylineListIterWithClosureFlags& operator=(const velPolylineListIterWithClosureFlags&) = default;
};
