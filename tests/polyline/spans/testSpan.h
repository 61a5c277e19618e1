#pragma once
// A plain span for the tests of velAbsSpan: it stores its start, mid and end points and its kind, and counts
// the calls of initialise_vectors(). Every setter of the interface empties the base's caches; the *_raw
// setters do not, so that tests can see what the caches hold.

#include "arcline/polyline/spans/velAbsSpan.h"

#include <memory>

class tSpan : public velAbsSpan {
public:
    enum Kind { line, temp_line, raster, arc, temp_arc, none };

    tSpan(Kind kind, const giPoint3& s, const giPoint3& e, const giPoint3& m = giPoint3())
        : m_kind(kind), m_s(s), m_e(e), m_m(m) {}
    tSpan(const tSpan&) = default;

    static std::shared_ptr<tSpan> make(Kind kind, const giPoint3& s, const giPoint3& e,
                                       const giPoint3& m = giPoint3()) {
        return std::make_shared<tSpan>(kind, s, e, m);
    }

    velAbsSpancoPrf create_new() const override { return std::make_shared<tSpan>(*this); }
    velAbsSpancoPrf create_arc_span(const giPoint3& S, const giPoint3& E, const giPoint3& M) const override {
        return make(arc, S, E, M);
    }
    velAbsSpancoPrf create_line_span(const giPoint3& S, const giPoint3& E) const override {
        return make(line, S, E);
    }
    velAbsSpancoPrf create_temp_line_span(const giPoint3& S, const giPoint3& E) const override {
        return make(temp_line, S, E);
    }
    void copy_to_start_point(const giPoint3& p) override {
        m_s = p;
        invalidate_cache();
    }
    int set_arcspan_mid_point(const giPoint3& p) override {
        if (!is_of_class_arc()) return 0;
        m_m = p;
        invalidate_cache();
        return 1;
    }
    void copy_to_end_point(const giPoint3& p) override {
        m_e = p;
        invalidate_cache();
    }
    void initialise_vectors() override { ++m_initialise_calls; }

    giPoint3 start_point() const override { return m_s; }
    giPoint3 mid_point() const override { return m_m; }
    giPoint3 end_point() const override { return m_e; }

    bool operator==(const velAbsSpan& other) const override {
        const auto* o = dynamic_cast<const tSpan*>(&other);
        return o && o->m_kind == m_kind && o->m_s == m_s && o->m_e == m_e && (m_kind < arc || o->m_m == m_m);
    }

    int is_line_span() const override { return m_kind == line; }
    int is_temp_line_span() const override { return m_kind == temp_line; }
    int is_raster_span() const override { return m_kind == raster; }
    int is_arc_span() const override { return m_kind == arc; }
    int is_temp_arc_span() const override { return m_kind == temp_arc; }
    void set_arc_span_temp_state(int temp) override {
        if (is_of_class_arc()) m_kind = temp ? temp_arc : arc;
    }

    void set_end_raw(const giPoint3& p) { m_e = p; }
    void set_mid_raw(const giPoint3& p) { m_m = p; }
    int initialise_calls() const { return m_initialise_calls; }

private:
    Kind m_kind;
    giPoint3 m_s, m_e, m_m;
    int m_initialise_calls = 0;
};
