#include "arcline/lists/velAbsPolyArcLineListCursor.h"

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"

#include "arcline/polyline/spans/velArc2Utils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cmath>

velAbsPolyArcLineListCursor::velAbsPolyArcLineListCursor()
    : m_owned_list(std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>()), m_list(m_owned_list.get()) {
    init_iterator();
}

velAbsPolyArcLineListCursor::velAbsPolyArcLineListCursor(velAbsPolyArcLinecoDListPrgcoPrgcoDList& list)
    : m_list(&list) {
    init_iterator();
}

velAbsPolyArcLineListCursor::velAbsPolyArcLineListCursor(utPtrClaim,
                                                         velAbsPolyArcLinecoDListPrgcoPrgcoDList* list)
    : m_owned_list(list), m_list(list) {
    init_iterator();
}

velAbsPolyArcLineListCursor::~velAbsPolyArcLineListCursor() = default;

void velAbsPolyArcLineListCursor::init_iterator() {
    m_reader = new velAbsPolyArcLineListIter(*m_list);
    set_iterator(m_reader, 1);
}

velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor velAbsPolyArcLineListCursor::writer() const {
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor c(*m_list);
    c.become(m_reader->list_iterator());
    return c;
}

void velAbsPolyArcLineListCursor::create_polyline() {
    velAbsPolyArcLinecoPrg p(m_prototype ? m_prototype->create_new() : new velPolyArcLineDouble);
    writer().insert_after(p);
}

void velAbsPolyArcLineListCursor::add_pos(const velPolylineListIter& src, int i) {
    current().add_pos(src.get_pos(i));
}

void velAbsPolyArcLineListCursor::add_interpolated_pos(const velPolylineListIter& src, double t) {
    current().add_pos(src.get_interpolated_pos(t));
}

void velAbsPolyArcLineListCursor::add_span(const velPolylineListIter& src, double t0, double t1) {
    const double tmin = std::min(t0, t1);
    const double tmax = std::max(t0, t1);
    const int i = static_cast<int>(std::floor(tmin));
    velAbsPolyArcLine& out = current();
    // Straight spans, and any span into storage that holds no arcs, end with the point at t1.
    if (src.span_linear(i) || !out.can_hold_arcs()) {
        velPolylineListCursor::add_span(src, t0, t1);
        return;
    }
    add_start_point_if_apart(src, t0);
    if (tmin == i && tmax == i + 1) {
        // The whole arc, either way round: the source's own mid point serves both directions.
        out.add_arc(src.get_mid_pos(i), src.get_pos(static_cast<int>(t1)));
        return;
    }
    const double tm = i + velArc2Utils::trimmed_mid_parameter(tmin - i, tmax - i, src.get_bulge(i));
    const giPoint3 mid = src.get_interpolated_pos(tm);
    const giPoint3 end = src.get_interpolated_pos(t1);
    if (!mid.coincident(end, arc_piece_tol)) {
        out.add_arc(mid, end);
        return;
    }
    // Too short for an arc: a straight span to the end, unless the polyline already ends there.
    const int n = out.num_pos();
    giPoint3 last;
    if (n > 0) out.get_pos(n, last);
    if (n == 0 || !end.coincident(last, 0.0)) out.add_pos(end);
}

void velAbsPolyArcLineListCursor::remove() {
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor w = writer();
    w.remove(); // onto the polyline before
    ++w;        // onto the one that followed, or the head
    m_reader->become(w);
}

void velAbsPolyArcLineListCursor::move_polyline_after(velPolylineListCursor& other) {
    if (&other == this || other.index() < 0) return;
    if (auto* same = dynamic_cast<velAbsPolyArcLineListCursor*>(&other)) {
        writer().insert_after(same->m_reader->current_shared());
        same->remove();
        return;
    }
    // Another storage: copy the geometry exactly, span by span.
    const velPolylineListIter& src = other.iterator();
    const int here = index();
    create_polyline();
    ++*this;
    velAbsPolyArcLine& out = current();
    copy_current_exactly(src, out);
    set_index(here);
    other.remove();
}

velPolylineListCursor* velAbsPolyArcLineListCursor::create_empty() const {
    auto* c = new velAbsPolyArcLineListCursor();
    if (m_prototype) c->set_arcline_type(*m_prototype);
    c->set_add_coincident_point_type(add_coincident_point_type());
    c->set_coincidence_check_tol(coincidence_check_tol());
    return c;
}

void velAbsPolyArcLineListCursor::set_arcline_type(const velAbsPolyArcLine& p) {
    m_prototype.reset(p.create_empty());
    m_reader->allow_arc_spans(m_prototype->can_hold_arcs());
}

velAbsPolyArcLine* velAbsPolyArcLineListCursor::current_polyarcline() {
    const int k = index();
    return k >= 0 && k < size() ? m_reader->current_shared().get() : nullptr;
}

const velAbsPolyArcLine* velAbsPolyArcLineListCursor::current_polyarcline() const {
    const int k = index();
    return k >= 0 && k < size() ? m_reader->current_shared().get() : nullptr;
}

velAbsContourcoPrf velAbsPolyArcLineListCursor::get_current() {
    if (!current_polyarcline()) return {};
    return std::make_shared<velPolyArcLineAdapter>(m_reader->current_shared());
}
