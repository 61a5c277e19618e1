#include "arcline/debug/giPoint3velDbg.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

void giPoint3velDbg::calculate() {
    clear();
    auto point = std::make_unique<velPolyArcLineDouble>();
    point->add_pos(m_p);
    add(std::move(point));
}
