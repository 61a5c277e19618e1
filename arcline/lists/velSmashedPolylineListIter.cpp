#include "arcline/lists/velSmashedPolylineListIter.h"

#include "arcline/lists/velTrimmedPolylineListIter.h"

#include "arcline/platform/Interpolate.h"

#include <cmath>

UT_IMPLEMENT_TYPE_ID(velSmashedPolylineListIter, velPolylineListIter, velPolylineListIter)

namespace {
// The parameter of the point at fraction f of the sweep of the arc from s through m to e. The arc's
// parameter is its bulge form: at u = 2t - 1 the point lies 2 atan(u b) round from the mid point, b being
// the sagitta over half the chord, and the sweep is 4 atan(b). No sagitta (a flat arc or a zero chord):
// the chord's own fraction.
double sweep_fraction_to_parameter(const giPoint3& s, const giPoint3& m, const giPoint3& e, double f) {
    giVector3 chord = e - s;
    const double length = chord.unitize();
    if (length == 0.0) return f;
    giVector3 sag = m - s.interpolate(e, 0.5);
    sag = sag - chord * sag.dot(chord);
    const double b = sag.length() / (0.5 * length);
    if (b == 0.0) return f;
    const double half_sweep = 2.0 * std::atan(b);
    const double u = std::tan(0.5 * (2.0 * half_sweep * f - half_sweep)) / b;
    return 0.5 * (u + 1.0);
}
} // namespace

velSmashedPolylineListIter::velSmashedPolylineListIter(const velPolylineListIter& underlying,
                                                       double tolerance)
    : velForwardingListIter(underlying), m_tolerance(tolerance), m_table(make_table(underlying, tolerance)) {}

std::shared_ptr<const velSmashedPolylineListIter::Table>
velSmashedPolylineListIter::make_table(const velPolylineListIter& underlying, double tolerance) {
    auto table = std::make_shared<Table>();
    Interpolate chords(tolerance, 0);
    const std::unique_ptr<velPolylineListIter> it(underlying.create_new());
    it->reset();
    while (++*it) {
        table->first.push_back(static_cast<int>(table->parameters.size()));
        const int n = it->num_pos();
        if (n == 0) continue;
        for (int i = 0; i + 1 < n; ++i) {
            table->parameters.push_back(i);
            if (it->span_linear(i)) continue;
            const giPoint3 s = it->get_pos(i), m = it->get_mid_pos(i), e = it->get_pos(i + 1);
            const int count = chords.arc(s, m, e);
            for (int j = 1; j < count; ++j)
                table->parameters.push_back(
                    i + sweep_fraction_to_parameter(s, m, e, static_cast<double>(j) / count));
        }
        table->parameters.push_back(n - 1);
    }
    table->first.push_back(static_cast<int>(table->parameters.size()));
    return table;
}

int velSmashedPolylineListIter::first_entry() const {
    const int k = m_underlying->index();
    if (k < 0 || k + 1 >= static_cast<int>(m_table->first.size())) return -1;
    return m_table->first[static_cast<std::size_t>(k)];
}

int velSmashedPolylineListIter::num_pos() const {
    const int k = m_underlying->index();
    if (k < 0 || k + 1 >= static_cast<int>(m_table->first.size())) return 0;
    return m_table->first[static_cast<std::size_t>(k) + 1] - m_table->first[static_cast<std::size_t>(k)];
}

giPoint3 velSmashedPolylineListIter::get_pos(int i) const {
    return m_underlying->get_interpolated_pos(
        m_table->parameters[static_cast<std::size_t>(first_entry() + i)]);
}

double velSmashedPolylineListIter::underlying_parameter(double x) const {
    const int n = num_pos();
    if (!(x >= 0.0) || x > n - 1) return 0.0;
    const double fk = std::floor(x);
    const auto entry = static_cast<std::size_t>(first_entry() + static_cast<int>(fk));
    const double p = m_table->parameters[entry];
    if (x == fk) return p;
    return p + (x - fk) * (m_table->parameters[entry + 1] - p);
}

velSmashedPolylineListIter* velSmashedPolylineListIter::create_new() const {
    return new velSmashedPolylineListIter(*this);
}

void velSmashedPolylineListIter::get_underlying_trimming_iter(velTrimmedPolylineListIter& trimmed,
                                                              velTrimmedPolylineListIter& out) {
    auto* smashed = ut_dynamic_cast(&trimmed.underlying_iter());
    if (smashed == nullptr) {
        out.become(trimmed.underlying_iter());
        for (int k = 0; k < trimmed.underlying_iter().size(); ++k) {
            const velPolylineTrimmings* r = trimmed.trimmings_of(k);
            out.set_trimmings(r != nullptr ? *r : velPolylineTrimmings(k));
        }
        return;
    }
    out.become(smashed->underlying_iterator());
    std::unique_ptr<velSmashedPolylineListIter> walker(smashed->create_new());
    for (int k = 0; k < walker->size(); ++k) {
        const velPolylineTrimmings* r = trimmed.trimmings_of(k);
        velPolylineTrimmings mapped(k);
        if (r != nullptr) {
            walker->set_index(k);
            auto u = [&](double x) { return walker->underlying_parameter(x); };
            const double last = u(r->original_end());
            // The whole polyline, then the gaps between the kept ranges cut out in ascending order, each from
            // the last segment, which holds it.
            mapped.reset(0.0, last);
            double gap_start = 0.0;
            for (int i = 0; i <= r->num_segs(); ++i) {
                const double gap_end = i < r->num_segs() ? u(r->segment_start(i)) : last;
                if (gap_end > gap_start) {
                    mapped.trim_underlying_parameter(mapped.num_segs() - 1, gap_start, gap_end,
                                                     velPolylineTrimmings::no_flag,
                                                     velPolylineTrimmings::no_flag);
                }
                if (i < r->num_segs()) gap_start = u(r->segment_end(i));
                if (mapped.num_segs() == 0) break;
            }
        }
        out.set_trimmings(mapped);
    }
}

void velSmashedPolylineListIter::copy_trimming_iter(velTrimmedPolylineListIter& trimmed,
                                                    velPolylineListCursor& cursor) {
    velTrimmedPolylineListIter underlying;
    get_underlying_trimming_iter(trimmed, underlying);
    underlying.copy(cursor);
}
