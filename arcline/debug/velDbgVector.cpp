#include "arcline/debug/velDbgVector.h"

#include "arcline/debug/velDebugGeometryUtils.h"

void velDbgVector::calculate() {
    clear();
    add(velDebugGeometryUtils::arrow_drawing(m_from, m_to));
}
