#include "arcline/debug/velDebugGeometryConverter.h"

#include "arcline/platform/coDListcoCursor.h"

velDebugGeometryConverter::~velDebugGeometryConverter() = default;

void velDebugGeometryConverter::clear() {
    m_iter.reset();
    m_list.clear();
}

void velDebugGeometryConverter::add(std::unique_ptr<velAbsPolyArcLine> polyline) {
    if (!polyline) return;
    coDListcoCursor<velAbsPolyArcLinecoPrg>(m_list).insert_last(velAbsPolyArcLinecoPrg(std::move(polyline)));
}
