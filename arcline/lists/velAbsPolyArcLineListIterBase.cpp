#include "arcline/lists/velAbsPolyArcLineListIterBase.h"

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

velAbsContourcoPrf velAbsPolyArcLineListIterBase::get_current() {
    if (!m_current) return {};
    return std::make_shared<velPolyArcLineAdapter>(*m_current);
}
