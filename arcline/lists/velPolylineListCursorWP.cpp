#include "arcline/lists/velPolylineListCursorWP.h"

#include "arcline/platform/utAssert.h"

#include <string>

namespace {
bool same_direction(const giUnitVec3& a, const giUnitVec3& b, double tol) {
    return giPoint3(a.vector()).coincident(giPoint3(b.vector()), tol);
}

bool same_workplane(const giWorkplane3& a, const giWorkplane3& b, double tol) {
    return a.origin().coincident(b.origin(), tol) && same_direction(a.xaxis(), b.xaxis(), tol) &&
           same_direction(a.yaxis(), b.yaxis(), tol) && same_direction(a.zaxis(), b.zaxis(), tol);
}
} // namespace

velPolylineListCursorWP::velPolylineListCursorWP(const giWorkplane3& workplane, utPtrWrap,
                                                 velPolylineListCursor* inner)
    : m_workplane(workplane), m_inner(inner) {
    set_iterator(new velPolylineListIterWP(workplane, inner->iterator(), ut_ptr_wrap), 1);
}

velPolylineListCursorWP::velPolylineListCursorWP(const giWorkplane3& workplane, utPtrClaim,
                                                 velPolylineListCursor* inner)
    : velPolylineListCursorWP(workplane, ut_ptr_wrap, inner) {
    m_owned.reset(inner);
}

// The base deletes the reading iterator after this body; it only refers to the inner cursor's iterator and
// is not used again, so the inner cursor may go first.
velPolylineListCursorWP::~velPolylineListCursorWP() = default;

void velPolylineListCursorWP::create_polyline(int size_hint) {
    m_inner->create_polyline(size_hint);
}

void velPolylineListCursorWP::create_polyline() {
    m_inner->create_polyline();
}

const velPolylineListIter* velPolylineListCursorWP::local_source(const velPolylineListIter& src,
                                                                 const char* function) const {
    const velPolylineListIterWP* wp = velPolylineListIterWP::ut_dynamic_cast(&src);
    if (wp == nullptr) {
        const std::string message = std::string(function) + "() The source is not a velPolylineListIterWP";
        UT_REPORT_REFUSAL(message.c_str(), function);
        return nullptr;
    }
    if (!same_workplane(wp->get_workplane(), m_workplane, same_workplane_tol)) {
        const std::string message = std::string(function) + "() The source is over another workplane";
        UT_REPORT_REFUSAL(message.c_str(), function);
        return nullptr;
    }
    return &wp->underlying_iterator();
}

void velPolylineListCursorWP::add_pos(const velPolylineListIter& src, int i) {
    if (const velPolylineListIter* local = local_source(src, "velPolylineListCursorWP::add_pos"))
        m_inner->add_pos(*local, i);
}

void velPolylineListCursorWP::add_interpolated_pos(const velPolylineListIter& src, double t) {
    if (const velPolylineListIter* local = local_source(src, "velPolylineListCursorWP::add_interpolated_pos"))
        m_inner->add_interpolated_pos(*local, t);
}

void velPolylineListCursorWP::add_span(const velPolylineListIter& src, double t0, double t1) {
    const velPolylineListIter* local = local_source(src, "velPolylineListCursorWP::add_span");
    if (local == nullptr) return;
    add_start_point_if_apart(src, t0);
    m_inner->add_span(*local, t0, t1);
}

void velPolylineListCursorWP::remove() {
    m_inner->remove();
}

void velPolylineListCursorWP::move_polyline_after(velPolylineListCursor& other) {
    auto* wp = dynamic_cast<velPolylineListCursorWP*>(&other);
    if (wp == nullptr) {
        UT_REPORT_REFUSAL("velPolylineListCursorWP::move_polyline_after() The other cursor is not a "
                          "velPolylineListCursorWP",
                          "velPolylineListCursorWP::move_polyline_after");
        return;
    }
    if (!same_workplane(wp->m_workplane, m_workplane, same_workplane_tol)) {
        UT_REPORT_REFUSAL("velPolylineListCursorWP::move_polyline_after() The other cursor is over another "
                          "workplane",
                          "velPolylineListCursorWP::move_polyline_after");
        return;
    }
    m_inner->move_polyline_after(*wp->m_inner);
}

velPolylineListCursorWP* velPolylineListCursorWP::create_empty() const {
    return new velPolylineListCursorWP(m_workplane, ut_ptr_claim, m_inner->create_empty());
}
