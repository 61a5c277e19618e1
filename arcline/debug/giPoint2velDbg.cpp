#include "arcline/debug/giPoint2velDbg.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

void giPoint2velDbg::calculate() {
    clear();
    auto point = std::make_unique<velPolyArcLineDouble>();
    point->add_pos(m_p.xyz(0.0));
    add(std::move(point));
}
