#pragma once
// Where a read of a geometry record file went wrong, for messages such as "shape.txt:12: 'a' record: number
// 4 of 6 is missing or malformed". velGeometryIO::read fills it when given one.

#include <string>

struct velGeometryIOFault {
    // The line of the fault, counted from 1; 0 when the read succeeded or the file could not be opened.
    int line = 0;
    // A short reason; empty when the read succeeded.
    std::string reason;

    bool empty() const { return reason.empty(); }
};
