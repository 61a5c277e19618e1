#pragma once
// Turns something that is not a list of polylines (a point, a box, a text, a curve, a contour) into
// polylines for a debug channel. A converter is made cheaply from what it draws; the drawing is worked out
// by calculate(), which the channel calls only when its output goes somewhere:
//
//     velDbgCircle circle(centre, radius);
//     dbg.append(circle, "tool", 2);        // calculates only when the channel is active at level 2
//
// calculate() empties the converter's list and fills it anew; iterator() reads the list. Kinds: velDbgLine,
// velDbgVector, velDbgCircle, velDbgText, velDbgSinglePolyline, velDbgPolylineSection, giPoint2velDbg,
// giPoint3velDbg, giBox3velDbg, velAbsContourvelDbg, torCurvePtr3velDbg, torCurvePtr2velDbg.

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

#include <memory>

class velDebugGeometryConverter {
public:
    velDebugGeometryConverter(const velDebugGeometryConverter&) = delete;
    velDebugGeometryConverter& operator=(const velDebugGeometryConverter&) = delete;
    virtual ~velDebugGeometryConverter();

    // Empties the list and fills it with the drawing.
    virtual void calculate() = 0;
    // Reads the list that calculate() filled (empty before the first calculate()).
    velPolylineListIter& iterator() { return m_iter; }
    const velAbsPolyArcLinecoDListPrgcoPrgcoDList& polylines() const { return m_list; }

protected:
    velDebugGeometryConverter() : m_iter(m_list) {}

    // Empties the list; calculate() starts with it.
    void clear();
    // Appends a polyline (null adds nothing).
    void add(std::unique_ptr<velAbsPolyArcLine> polyline);
    // The list, for kinds that fill it through a cursor.
    velAbsPolyArcLinecoDListPrgcoPrgcoDList& list() { return m_list; }

private:
    velAbsPolyArcLinecoDListPrgcoPrgcoDList m_list;
    velAbsPolyArcLineListIter m_iter;
};
