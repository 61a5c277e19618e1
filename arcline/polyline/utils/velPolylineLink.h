#pragma once
// The two ends of a link move between polylines: a start and an end position, held by value.

#include "arcline/polyline/utils/velPolylinePosition.h"

class velPolylineLink {
public:
    // Two invalid positions.
    velPolylineLink() = default;
    velPolylineLink(const velPolylinePosition& start, const velPolylinePosition& end)
        : m_start(start), m_end(end) {}
    velPolylineLink(const velPolylineLink& other) = default;
    velPolylineLink& operator=(const velPolylineLink& other) = default;

    velPolylinePosition start() const { return m_start; }
    velPolylinePosition end() const { return m_end; }
    // Straight distance between the points of the two ends.
    double length() const;

private:
    velPolylinePosition m_start;
    velPolylinePosition m_end;
};
