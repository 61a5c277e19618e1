#pragma once
// A debug converter: one polyline of a list, copied exactly (arcs stay arcs): the current polyline of the
// iterator, or the polyline of an index. The iterator is not owned and must outlive the converter; it does
// not move. Nothing when there is no such polyline.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/lists/velPolylineListIter.h"

class velDbgSinglePolyline : public velDebugGeometryConverter {
public:
    explicit velDbgSinglePolyline(const velPolylineListIter& list) : m_list(list), m_index(list.index()) {}
    velDbgSinglePolyline(const velPolylineListIter& list, int index) : m_list(list), m_index(index) {}
    void calculate() override;

private:
    const velPolylineListIter& m_list;
    int m_index;
};
