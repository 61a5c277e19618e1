#pragma once
// That the part [tstart, tend] of a source segment goes to a destination segment.

class velSegmentTrimming {
public:
    velSegmentTrimming() = default;
    explicit velSegmentTrimming(double t) : m_tstart(t), m_tend(t) {}
    velSegmentTrimming(double tstart, double tend, int destination)
        : m_tstart(tstart), m_tend(tend), m_destination(destination) {}

    double tstart() const { return m_tstart; }
    double tend() const { return m_tend; }
    int destination_index() const { return m_destination; }

private:
    double m_tstart = 0.0;
    double m_tend = 0.0;
    int m_destination = -1;
};
