#include "arcline/lists/velPolylineListIterAppend.h"

UT_IMPLEMENT_TYPE_ID(velPolylineListIterAppend, velPolylineListIter, velPolylineListIter)

velPolylineListIterAppend::velPolylineListIterAppend(const velPolylineListIter& first,
                                                     const velPolylineListIter& second)
    : m_first(first.create_new()), m_second(second.create_new()), m_current(m_first.get()) {
    m_first->reset();
}

velPolylineListIterAppend::velPolylineListIterAppend(const velPolylineListIterAppend& other)
    : velPolylineListIter(other), m_first(other.m_first->create_new()),
      m_second(other.m_second->create_new()), m_current(other.on_second() ? m_second.get() : m_first.get()) {}

velPolylineListIterAppend& velPolylineListIterAppend::operator=(const velPolylineListIterAppend& other) {
    if (this != &other) {
        std::unique_ptr<velPolylineListIter> first(other.m_first->create_new());
        std::unique_ptr<velPolylineListIter> second(other.m_second->create_new());
        m_first = std::move(first);
        m_second = std::move(second);
        m_current = other.on_second() ? m_second.get() : m_first.get();
    }
    return *this;
}

velPolylineListIterAppend::~velPolylineListIterAppend() = default;

int velPolylineListIterAppend::size() const {
    return m_first->size() + m_second->size();
}

void velPolylineListIterAppend::reset() {
    m_first->reset();
    m_current = m_first.get();
}

int velPolylineListIterAppend::operator++() {
    // Run off the end: start again from the first list, as an undefined iterator does.
    if (on_second() && m_second->undefined()) reset();
    if (!on_second()) {
        if (++*m_first) return 1;
        m_current = m_second.get();
        m_second->reset();
    }
    return ++*m_second;
}

velAbsContourcoPrf velPolylineListIterAppend::get_current() {
    return m_current->get_current();
}

int velPolylineListIterAppend::num_pos() const {
    return m_current->num_pos();
}

giPoint3 velPolylineListIterAppend::get_pos(int i) const {
    return m_current->get_pos(i);
}

int velPolylineListIterAppend::span_linear(int i) const {
    return m_current->span_linear(i);
}

giPoint3 velPolylineListIterAppend::get_mid_pos(int i) const {
    return m_current->get_mid_pos(i);
}

double velPolylineListIterAppend::get_bulge(int i) const {
    return m_current->get_bulge(i);
}

giBox2 velPolylineListIterAppend::span_box(int i, vel2dBox kind) const {
    return m_current->span_box(i, kind);
}

giBox3 velPolylineListIterAppend::span_box(int i, vel3dBox kind) const {
    return m_current->span_box(i, kind);
}

giBox2 velPolylineListIterAppend::box(vel2dBox kind) const {
    return m_current->box(kind);
}

giBox3 velPolylineListIterAppend::box(vel3dBox kind) const {
    return m_current->box(kind);
}

int velPolylineListIterAppend::index() const {
    const int k = m_current->index();
    if (k == -1) return -1;
    return on_second() ? k + m_first->size() : k;
}

void velPolylineListIterAppend::set_index(int k) {
    const int n_first = m_first->size();
    if (k < 0) {
        reset();
    } else if (k < n_first) {
        m_first->set_index(k);
        m_current = m_first.get();
    } else {
        m_second->set_index(k - n_first);
        m_current = m_second.get();
    }
}

velPolylineListIterAppend* velPolylineListIterAppend::create_new() const {
    return new velPolylineListIterAppend(*this);
}

int velPolylineListIterAppend::all_spans_linear() const {
    return m_first->all_spans_linear() && m_second->all_spans_linear();
}
