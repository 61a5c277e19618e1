#include "arcline/debug/giBox3velDbg.h"

#include "arcline/debug/velDebugGeometryUtils.h"

void giBox3velDbg::calculate() {
    clear();
    if (!m_box.empty()) add(velDebugGeometryUtils::box_drawing(m_box));
}
