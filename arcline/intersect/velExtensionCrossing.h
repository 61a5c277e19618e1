#pragma once
// A place where an open curve, extended at its ends, meets another curve: the index of the curve met, the
// parameter on it, where it lies (velExtensionCrossingType), the identifier of the crossing paired with it
// (set once the pairs are known; -1 until then) and whether it still counts (active until set_inactive()).
//
// A value record; vectors of them are sorted by operator<: by curve index, then by parameter.

#include "arcline/intersect/velExtensionCrossingType.h"

class velExtensionCrossing {
public:
    velExtensionCrossing(int index, double param, velExtensionCrossingType type)
        : m_index(index), m_param(param), m_type(type) {}

    int index() const { return m_index; }
    double param() const { return m_param; }
    velExtensionCrossingType type() const { return m_type; }
    int paired_id() const { return m_paired_id; }
    void set_paired_id(int id) { m_paired_id = id; }
    bool active() const { return m_active; }
    void set_inactive() { m_active = false; }

    bool clockwise() const { return m_type == velExtensionCrossingClockwise; }
    bool on_closed_curve() const {
        return m_type == velExtensionCrossingClockwise || m_type == velExtensionCrossingAnticlockwise;
    }
    bool on_start_extension() const { return m_type == velExtensionCrossingStartExtension; }
    bool on_end_extension() const { return m_type == velExtensionCrossingEndExtension; }
    bool on_extension() const { return on_start_extension() || on_end_extension(); }

    // By curve index, then by parameter; the other fields play no part.
    bool operator<(const velExtensionCrossing& o) const {
        return m_index < o.m_index || (m_index == o.m_index && m_param < o.m_param);
    }

private:
    int m_index;
    double m_param;
    velExtensionCrossingType m_type;
    int m_paired_id = -1;
    bool m_active = true;
};
