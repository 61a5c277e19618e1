#include "arcline/debug/velDbgPolylineSection.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"

void velDbgPolylineSection::calculate() {
    clear();
    velAbsPolyArcLineListCursor cursor(list());
    m_section.copy_to(cursor);
}
