#pragma once
// An iterator that carries the offsetters' record (velOffsetInfo) for every span of its polylines, so that
// a later offset stage can tell temporary spans from real ones and each span's source and side.

#include "arcline/lists/velOffsetInfo.h"
#include "arcline/lists/velPolylineListIter.h"

class velPolylineListIterWithOffsetFlags : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velPolylineListIterWithOffsetFlags, velPolylineListIter)

public:
    ~velPolylineListIterWithOffsetFlags() override = default;
    // Nonzero when span `span` of the current polyline is straight and temporary.
    virtual int temporary_line(int span) const = 0;
    // Nonzero when span `span` of the current polyline is an arc and temporary.
    virtual int temporary_arc(int span) const = 0;
    // The record of span `span` of the current polyline; a default record when it has none.
    virtual void get_offset_info(int span, velOffsetInfo& info) const = 0;

protected:
    velPolylineListIterWithOffsetFlags() = default;
    velPolylineListIterWithOffsetFlags(const velPolylineListIterWithOffsetFlags&) = default;
    velPolylineListIterWithOffsetFlags& operator=(const velPolylineListIterWithOffsetFlags&) = default;
};
