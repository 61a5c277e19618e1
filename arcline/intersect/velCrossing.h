#pragma once
// The meeting of two polylines of a list, or of one polyline with itself, at one point: the indices of the
// two curves in the iterated list, the parameter on each (span index plus fraction), which curve starts
// there, whether it is an alternate crossing, and the point.
//
// A plain value record: copyable, compared field by field without tolerance. A crossing is invalid exactly
// when param1 is -DBL_MAX; the default crossing is invalid with index1 = -1.
//
// Alternate marks: 0 an ordinary crossing; 1 an alternate crossing "before" and 2 "after" (kept only when
// the intersection asks for them); 3 the mirrored record of an alternate crossing.

#include "arcline/intersect/velCrossingCurve.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/utOstream.h"

#include <cfloat>
#include <ostream>

class velCrossing {
public:
    // The value of param1 that marks an invalid crossing.
    static constexpr double invalid_parameter = -DBL_MAX;

    // Invalid: index1 = index2 = -1, both parameters -DBL_MAX, start unknown, alternate 0, unset point.
    velCrossing() = default;
    // Start unknown.
    velCrossing(const giPoint3& point, int index1, double param1, int index2, double param2, int alternate)
        : velCrossing(point, index1, param1, index2, param2, velCrossingCurveUnknown, alternate) {}
    velCrossing(const giPoint3& point, int index1, double param1, int index2, double param2,
                velCrossingCurve start, int alternate)
        : m_index1(index1), m_index2(index2), m_param1(param1), m_param2(param2), m_start(start),
          m_alternate(alternate), m_point(point) {}
    velCrossing(const velCrossing&) = default;
    velCrossing& operator=(const velCrossing&) = default;

    int index1() const { return m_index1; }
    int index2() const { return m_index2; }
    double param1() const { return m_param1; }
    double param2() const { return m_param2; }
    const giPoint3& point() const { return m_point; }
    velCrossingCurve start() const { return m_start; }
    void set_start(velCrossingCurve start) { m_start = start; }
    // The other curve: curve 1 gives curve 2 and back; unknown stays unknown.
    velCrossingCurve inverse_start() const { return inverse(m_start); }
    static velCrossingCurve inverse(velCrossingCurve c);
    int alternate() const { return m_alternate; }

    int invalid() const { return m_param1 == invalid_parameter; }
    // Marks the crossing invalid (param1 only; the other fields are kept).
    void set_invalid() { m_param1 = invalid_parameter; }

    // The same meeting seen from curve 2: curves and parameters exchanged, start inverted, the alternate
    // mark 3 when this one is an alternate crossing, else 0.
    velCrossing mirrored() const;

    // Field by field, exactly.
    bool operator==(const velCrossing& o) const;
    bool operator!=(const velCrossing& o) const { return !(*this == o); }

private:
    int m_index1 = -1;
    int m_index2 = -1;
    double m_param1 = invalid_parameter;
    double m_param2 = invalid_parameter;
    velCrossingCurve m_start = velCrossingCurveUnknown;
    int m_alternate = 0;
    giPoint3 m_point;
};

// Writes, one line each:
//     velCrossing {
//     position 1: parameter 2.5 curve 0
//     position 2: parameter 0.25 curve 1
//     start curve 1                      ("1", "2" or "unknown")
//     alternate before                   (only for alternate != 0: " before" for 1, " after" for 2)
//     position (1, 2, 0)
//     }
// or "velCrossing {", "invalid", "}" for an invalid crossing. Numbers take the stream's formatting.
utOstream& operator<<(utOstream& os, const velCrossing& c);
std::ostream& operator<<(std::ostream& os, const velCrossing& c);
