#include "arcline/debug/velAbsContourvelDbg.h"

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyline/spans/velAbsSpan.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

void velAbsContourvelDbg::calculate() {
    clear();
    if (!m_contour) return;
    std::unique_ptr<velPolyArcLineDouble> line;
    giPoint3 last;
    for (int i = 1; i <= m_contour->size(); ++i) {
        const velAbsSpancoPrf span = m_contour->get_span(i);
        if (!span) continue;
        const giPoint3 start = span->start_point();
        // Exact comparison: the picture should show any gap the contour has.
        if (!line || !(start == last)) {
            add(std::move(line));
            line = std::make_unique<velPolyArcLineDouble>();
            line->add_pos(start);
        }
        last = span->end_point();
        if (span->is_arc_span() || span->is_temp_arc_span())
            line->add_arc(span->mid_point(), last);
        else
            line->add_pos(last);
    }
    add(std::move(line));
}
