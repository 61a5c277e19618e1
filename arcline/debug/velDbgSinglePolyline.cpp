#include "arcline/debug/velDbgSinglePolyline.h"

#include "arcline/lists/velAbsPolyArcLineListCursor.h"

void velDbgSinglePolyline::calculate() {
    clear();
    if (m_index < 0 || m_index >= m_list.size()) return;
    const std::unique_ptr<velPolylineListIter> walk(m_list.create_new());
    walk->set_index(m_index);
    if (walk->index() != m_index || walk->num_pos() < 1) return;
    velAbsPolyArcLineListCursor cursor(list());
    walk->copy_single(cursor);
}
