#pragma once
// The two ends of a trimmed piece: its start point and flag, its end point and flag.

#include "arcline/lists/velPolylineTrimmings.h"
#include "arcline/platform/giPoint3.h"

class velTrimmedPolylineEndData {
public:
    void become(const giPoint3& start, int start_flag, const giPoint3& end, int end_flag) {
        m_start = start;
        m_start_flag = start_flag;
        m_end = end;
        m_end_flag = end_flag;
    }
    const giPoint3& start_point() const { return m_start; }
    int start_flag() const { return m_start_flag; }
    const giPoint3& end_point() const { return m_end; }
    int end_flag() const { return m_end_flag; }

private:
    giPoint3 m_start;
    int m_start_flag = velPolylineTrimmings::no_flag;
    giPoint3 m_end;
    int m_end_flag = velPolylineTrimmings::no_flag;
};
