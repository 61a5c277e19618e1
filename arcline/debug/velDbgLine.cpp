#include "arcline/debug/velDbgLine.h"

#include "arcline/debug/velDebugGeometryUtils.h"

void velDbgLine::calculate() {
    clear();
    add(velDebugGeometryUtils::line_drawing(m_a, m_b));
}
