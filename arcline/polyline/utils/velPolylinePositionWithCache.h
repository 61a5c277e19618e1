#pragma once
// A polyline position that keeps its point and its two tangents once computed, for positions evaluated often
// (crossings compared and sorted many times). The caches are filled by the reading members and emptied by
// every change of the position; copies of a cached position take the caches along.
//
// A cached value is absent while its x is -DBL_MAX (the point also while any coordinate is +DBL_MAX). A
// tangent that is unset by nature (a polyline of zero length) therefore stays absent and is recomputed when
// asked.

#include "arcline/polyline/utils/velPolylinePosition.h"

class velPolylinePositionWithCache : public velPolylinePosition {
public:
    velPolylinePositionWithCache() = default;
    velPolylinePositionWithCache(const velPolylineListIter* iter, double t) : velPolylinePosition(iter, t) {}
    velPolylinePositionWithCache(const velPolylineListIter* iter, int index, double t)
        : velPolylinePosition(iter, index, t) {}
    // From a plain position: caches empty.
    explicit velPolylinePositionWithCache(const velPolylinePosition& other) : velPolylinePosition(other) {}
    // Caches copied.
    velPolylinePositionWithCache(const velPolylinePositionWithCache& other) = default;
    velPolylinePositionWithCache& operator=(const velPolylinePositionWithCache& other);

    // Assignment from a plain position (or through a base reference), become and set_invalid empty the
    // caches.
    velPolylinePositionWithCache& operator=(const velPolylinePosition& other) override;
    void become(const velPolylineListIter* iter, double t) override;
    void become(const velPolylineListIter* iter, int index, double t) override;
    void set_invalid() override;
    giPoint3 point() const override;
    giUnitVec3 tangent_before() const override;
    giUnitVec3 tangent_after() const override;

    // Fills whichever cache is absent; nothing for an invalid position.
    void set_cached_data() const;

    // What the caches hold now, absent values included (for callers that must not trigger evaluation).
    const giPoint3& cached_point() const { return m_point; }
    const giUnitVec3& cached_tangent_before() const { return m_tangent_before; }
    const giUnitVec3& cached_tangent_after() const { return m_tangent_after; }

private:
    void clear_caches();
    static bool absent(const giPoint3& p);

    mutable giPoint3 m_point;
    mutable giUnitVec3 m_tangent_before;
    mutable giUnitVec3 m_tangent_after;
};
