#include "arcline/debug/velDbgCircle.h"

#include "arcline/debug/velDebugGeometryUtils.h"

void velDbgCircle::calculate() {
    clear();
    add(velDebugGeometryUtils::circle_drawing(m_centre, m_radius, m_normal));
}
