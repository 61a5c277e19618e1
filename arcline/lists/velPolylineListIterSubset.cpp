#include "arcline/lists/velPolylineListIterSubset.h"

UT_IMPLEMENT_TYPE_ID(velPolylineListIterSubset, velPolylineListIter, velPolylineListIter)

namespace {
std::shared_ptr<const std::vector<int>> copy_of(const itIterator<int>& indices) {
    auto out = std::make_shared<std::vector<int>>();
    const std::unique_ptr<itIterator<int>> it = indices.clone();
    it->reset();
    while (++*it)
        out->push_back(it->current());
    return out;
}
} // namespace

velPolylineListIterSubset::velPolylineListIterSubset(const itIterator<int>& indices,
                                                     const velPolylineListIter& underlying)
    : m_underlying(underlying), m_indices(copy_of(indices)) {
    m_underlying->reset();
}

int velPolylineListIterSubset::size() const {
    return static_cast<int>(m_indices->size());
}

void velPolylineListIterSubset::reset() {
    m_index = -1;
    m_underlying->reset();
}

int velPolylineListIterSubset::operator++() {
    if (m_index + 1 >= size()) {
        reset();
        return 0;
    }
    set_index(m_index + 1);
    return 1;
}

int velPolylineListIterSubset::num_pos() const {
    return m_underlying->num_pos();
}

giPoint3 velPolylineListIterSubset::get_pos(int i) const {
    return m_underlying->get_pos(i);
}

int velPolylineListIterSubset::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velPolylineListIterSubset::get_mid_pos(int i) const {
    return m_underlying->get_mid_pos(i);
}

double velPolylineListIterSubset::get_bulge(int i) const {
    return m_underlying->get_bulge(i);
}

giBox2 velPolylineListIterSubset::span_box(int i, vel2dBox kind) const {
    return m_underlying->span_box(i, kind);
}

giBox3 velPolylineListIterSubset::span_box(int i, vel3dBox kind) const {
    return m_underlying->span_box(i, kind);
}

giBox2 velPolylineListIterSubset::box(vel2dBox kind) const {
    return m_underlying->box(kind);
}

giBox3 velPolylineListIterSubset::box(vel3dBox kind) const {
    return m_underlying->box(kind);
}

int velPolylineListIterSubset::index() const {
    return m_index;
}

void velPolylineListIterSubset::set_index(int k) {
    if (k < 0 || k >= size()) {
        reset();
        return;
    }
    m_index = k;
    m_underlying->set_index((*m_indices)[static_cast<std::size_t>(k)]);
}

velPolylineListIterSubset* velPolylineListIterSubset::create_new() const {
    return new velPolylineListIterSubset(*this);
}

int velPolylineListIterSubset::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
