#include "arcline/polyline/utils/velPolylinePositionWithCache.h"

#include <cfloat>

velPolylinePositionWithCache&
velPolylinePositionWithCache::operator=(const velPolylinePositionWithCache& other) {
    if (this != &other) {
        velPolylinePosition::operator=(other);
        m_point = other.m_point;
        m_tangent_before = other.m_tangent_before;
        m_tangent_after = other.m_tangent_after;
    }
    return *this;
}

velPolylinePositionWithCache& velPolylinePositionWithCache::operator=(const velPolylinePosition& other) {
    velPolylinePosition::operator=(other);
    clear_caches();
    return *this;
}

void velPolylinePositionWithCache::become(const velPolylineListIter* iter, double t) {
    velPolylinePosition::become(iter, t);
    clear_caches();
}

void velPolylinePositionWithCache::become(const velPolylineListIter* iter, int index, double t) {
    velPolylinePosition::become(iter, index, t);
    clear_caches();
}

void velPolylinePositionWithCache::set_invalid() {
    velPolylinePosition::set_invalid();
    clear_caches();
}

giPoint3 velPolylinePositionWithCache::point() const {
    if (absent(m_point)) m_point = velPolylinePosition::point();
    return m_point;
}

giUnitVec3 velPolylinePositionWithCache::tangent_before() const {
    if (m_tangent_before.invalid()) m_tangent_before = velPolylinePosition::tangent_before();
    return m_tangent_before;
}

giUnitVec3 velPolylinePositionWithCache::tangent_after() const {
    if (m_tangent_after.invalid()) m_tangent_after = velPolylinePosition::tangent_after();
    return m_tangent_after;
}

void velPolylinePositionWithCache::set_cached_data() const {
    if (!valid()) return;
    point();
    tangent_before();
    tangent_after();
}

void velPolylinePositionWithCache::clear_caches() {
    m_point = giPoint3();
    m_tangent_before = giUnitVec3();
    m_tangent_after = giUnitVec3();
}

bool velPolylinePositionWithCache::absent(const giPoint3& p) {
    return p.x == -DBL_MAX || p.x == DBL_MAX || p.y == DBL_MAX || p.z == DBL_MAX;
}
