#include "arcline/lists/velPolylineListIterWP.h"

#include "arcline/polyline/spans/velArc3Utils.h"

UT_IMPLEMENT_TYPE_ID(velPolylineListIterWP, velPolylineListIter, velPolylineListIter)

velPolylineListIterWP::velPolylineListIterWP(const giWorkplane3& workplane,
                                             const velPolylineListIter& underlying)
    : m_workplane(workplane), m_owned(underlying.create_new()), m_underlying(m_owned.get()) {}

velPolylineListIterWP::velPolylineListIterWP(const giWorkplane3& workplane, velPolylineListIter& underlying,
                                             utPtrWrap)
    : m_workplane(workplane), m_underlying(&underlying) {}

velPolylineListIterWP::velPolylineListIterWP(const velPolylineListIterWP& other)
    : velPolylineListIter(other), m_workplane(other.m_workplane), m_owned(other.m_underlying->create_new()),
      m_underlying(m_owned.get()) {}

velPolylineListIterWP& velPolylineListIterWP::operator=(const velPolylineListIterWP& other) {
    if (this != &other) {
        std::unique_ptr<velPolylineListIter> clone(other.m_underlying->create_new());
        m_workplane = other.m_workplane;
        m_owned = std::move(clone);
        m_underlying = m_owned.get();
    }
    return *this;
}

velPolylineListIterWP::~velPolylineListIterWP() = default;

int velPolylineListIterWP::size() const {
    return m_underlying->size();
}

void velPolylineListIterWP::reset() {
    m_underlying->reset();
}

int velPolylineListIterWP::operator++() {
    return ++*m_underlying;
}

int velPolylineListIterWP::num_pos() const {
    return m_underlying->num_pos();
}

giPoint3 velPolylineListIterWP::get_pos(int i) const {
    return m_workplane.to_world(m_underlying->get_pos(i));
}

int velPolylineListIterWP::span_linear(int i) const {
    return m_underlying->span_linear(i);
}

giPoint3 velPolylineListIterWP::get_mid_pos(int i) const {
    const giPoint3 local = m_underlying->get_mid_pos(i);
    // The no-mid-point marker of a straight span stays the marker.
    return local.is_unset() ? local : m_workplane.to_world(local);
}

double velPolylineListIterWP::get_bulge(int i) const {
    return m_underlying->get_bulge(i);
}

giBox2 velPolylineListIterWP::span_box(int i, vel2dBox kind) const {
    if (i < 0 || i > num_pos() - 2 || span_linear(i)) return velPolylineListIter::span_box(i, kind);
    return velArc3Utils::bbox(get_pos(i), get_pos(i + 1), get_mid_pos(i)).xy();
}

int velPolylineListIterWP::index() const {
    return m_underlying->index();
}

void velPolylineListIterWP::set_index(int k) {
    m_underlying->set_index(k);
}

velPolylineListIterWP* velPolylineListIterWP::create_new() const {
    return new velPolylineListIterWP(*this);
}

int velPolylineListIterWP::all_spans_linear() const {
    return m_underlying->all_spans_linear();
}
