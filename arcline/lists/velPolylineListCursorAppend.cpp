#include "arcline/lists/velPolylineListCursorAppend.h"

#include "arcline/platform/utAssert.h"

#include <string>

velPolylineListCursorAppend::velPolylineListCursorAppend(velPolylineListCursor* inner)
    : velPolylineListCursor(ut_ptr_wrap, &inner->iterator()), m_inner(inner) {}

velPolylineListCursorAppend::~velPolylineListCursorAppend() = default;

void velPolylineListCursorAppend::create_polyline(int size_hint) {
    m_inner->create_polyline(size_hint);
}

void velPolylineListCursorAppend::create_polyline() {
    m_inner->create_polyline();
}

const velPolylineListIter* velPolylineListCursorAppend::current_part(const velPolylineListIter& src,
                                                                     const char* function) {
    const velPolylineListIterAppend* append = velPolylineListIterAppend::ut_dynamic_cast(&src);
    if (append == nullptr) {
        const std::string message =
            std::string(function) + "() The source is not a velPolylineListIterAppend";
        UT_REPORT_REFUSAL(message.c_str(), function);
        return nullptr;
    }
    return &append->current_iterator();
}

void velPolylineListCursorAppend::add_pos(const velPolylineListIter& src, int i) {
    if (const velPolylineListIter* part = current_part(src, "velPolylineListCursorAppend::add_pos"))
        m_inner->add_pos(*part, i);
}

void velPolylineListCursorAppend::add_interpolated_pos(const velPolylineListIter& src, double t) {
    if (const velPolylineListIter* part =
            current_part(src, "velPolylineListCursorAppend::add_interpolated_pos"))
        m_inner->add_interpolated_pos(*part, t);
}

void velPolylineListCursorAppend::add_span(const velPolylineListIter& src, double t0, double t1) {
    const velPolylineListIter* part = current_part(src, "velPolylineListCursorAppend::add_span");
    if (part == nullptr) return;
    add_start_point_if_apart(src, t0);
    m_inner->add_span(*part, t0, t1);
}

void velPolylineListCursorAppend::remove() {
    m_inner->remove();
}

void velPolylineListCursorAppend::move_polyline_after(velPolylineListCursor& other) {
    auto* append = dynamic_cast<velPolylineListCursorAppend*>(&other);
    m_inner->move_polyline_after(append != nullptr ? *append->m_inner : other);
}

velPolylineListCursor* velPolylineListCursorAppend::create_empty() const {
    return m_inner->create_empty();
}
