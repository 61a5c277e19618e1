#include "arcline/lists/velTrimmedPolylineListIter.h"

#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velTPLIWithoutClosureBreaks.h"
#include "arcline/polyline/spans/velArc2Utils.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

UT_IMPLEMENT_TYPE_ID(velTrimmedPolylineListIter, velPolylineListIter, velPolylineListIter)

velTrimmedPolylineListIter::velTrimmedPolylineListIter() : m_rec(m_records.end()) {}

velTrimmedPolylineListIter::velTrimmedPolylineListIter(const velPolylineListIter& underlying)
    : m_owned(underlying.create_new()), m_underlying(m_owned.get()), m_rec(m_records.end()) {
    init();
}

velTrimmedPolylineListIter::velTrimmedPolylineListIter(utPtrWrap, velPolylineListIter& underlying)
    : m_underlying(&underlying), m_rec(m_records.end()) {
    init();
}

velTrimmedPolylineListIter::velTrimmedPolylineListIter(const velTrimmedPolylineListIter& other)
    : velPolylineListIter(other), m_owned(other.m_underlying ? other.m_underlying->create_new() : nullptr),
      m_underlying(m_owned.get()), m_records(other.m_records), m_rec(m_records.end()),
      m_num_underlying(other.m_num_underlying) {
    // The copy stands where the original stands.
    if (other.m_rec != other.m_records.end() && !other.m_entered_removed) {
        m_rec = std::next(m_records.begin(), std::distance(other.m_records.begin(), other.m_rec));
        m_poly = other.m_poly;
        m_seg = other.m_seg;
        m_before = other.m_before;
    }
}

velTrimmedPolylineListIter& velTrimmedPolylineListIter::operator=(const velTrimmedPolylineListIter& other) {
    if (this != &other) {
        velTrimmedPolylineListIter copy(other);
        std::swap(m_owned, copy.m_owned);
        m_underlying = m_owned.get();
        m_records.swap(copy.m_records);
        m_rec = copy.m_rec == copy.m_records.end() ? m_records.end() : copy.m_rec; // list swap keeps nodes
        m_num_underlying = copy.m_num_underlying;
        m_poly = copy.m_poly;
        m_seg = copy.m_seg;
        m_before = copy.m_before;
        m_entered_removed = false;
        m_size = -1;
    }
    return *this;
}

velTrimmedPolylineListIter::~velTrimmedPolylineListIter() = default;

void velTrimmedPolylineListIter::become(const velPolylineListIter& underlying) {
    m_owned.reset(underlying.create_new());
    m_underlying = m_owned.get();
    init();
}

void velTrimmedPolylineListIter::become(utPtrWrap, velPolylineListIter& underlying) {
    m_owned.reset();
    m_underlying = &underlying;
    init();
}

void velTrimmedPolylineListIter::init() {
    m_records.clear();
    m_num_underlying = m_underlying->size();
    m_underlying->reset();
    while (++*m_underlying)
        m_records.emplace_back(m_underlying->index(), 0.0, m_underlying->num_pos() - 1.0);
    reset();
}

// ---------------------------------------------------------------------------------------------------------
// Walking the pieces

int velTrimmedPolylineListIter::size() const {
    if (m_size < 0) {
        int n = 0;
        for (const auto& r : m_records)
            n += r.num_segs();
        m_size = n;
    }
    return m_size;
}

void velTrimmedPolylineListIter::reset() {
    if (m_underlying) m_underlying->reset();
    m_rec = m_records.end();
    m_poly = -1;
    m_seg = -1;
    m_before = 0;
    m_entered_removed = false;
}

void velTrimmedPolylineListIter::enter(Records::iterator rec) {
    m_rec = rec;
    m_poly = rec->index();
    m_seg = rec->num_segs() - 1;
    m_entered_removed = false;
    m_underlying->set_index(m_poly);
}

int velTrimmedPolylineListIter::operator++() {
    if (m_entered_removed) {
        // The previous record went away under the current piece; m_rec is already the next one.
        if (m_rec == m_records.end()) {
            reset();
            return 0;
        }
        enter(m_rec);
        return 1;
    }
    if (m_rec == m_records.end()) {
        if (m_records.empty()) return 0;
        m_before = 0;
        enter(m_records.begin());
        return 1;
    }
    if (--m_seg >= 0) return 1;
    m_before += m_rec->num_segs();
    if (std::next(m_rec) == m_records.end()) {
        reset();
        return 0;
    }
    enter(std::next(m_rec));
    return 1;
}

int velTrimmedPolylineListIter::index() const {
    if (m_rec == m_records.end() || m_entered_removed) return -1;
    return m_before + (m_rec->num_segs() - 1 - m_seg);
}

void velTrimmedPolylineListIter::set_index(int k) {
    if (k < 0) {
        reset();
        return;
    }
    auto it = m_records.begin();
    int before = 0;
    // Forward jumps walk on from the current record.
    if (m_rec != m_records.end() && !m_entered_removed && k >= m_before) {
        it = m_rec;
        before = m_before;
    }
    for (; it != m_records.end(); ++it) {
        const int s = it->num_segs();
        if (k < before + s) {
            m_before = before;
            enter(it);
            m_seg = before + s - k - 1;
            return;
        }
        before += s;
    }
    reset();
}

void velTrimmedPolylineListIter::drop_record_if_empty() {
    mark_size_unknown();
    if (m_rec->num_segs() > 0) return;
    m_rec = m_records.erase(m_rec);
    m_entered_removed = true;
}

const velPolylineTrimmings* velTrimmedPolylineListIter::current_trimmings() const {
    return m_rec == m_records.end() || m_entered_removed ? nullptr : &*m_rec;
}

const velPolylineTrimmings* velTrimmedPolylineListIter::trimmings_of(int k) const {
    for (const auto& r : m_records) {
        if (r.index() == k) return &r;
        if (r.index() > k) break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// The presented geometry

double velTrimmedPolylineListIter::position_parameter(int seg, int j) const {
    const velPolylineTrimmings& r = record();
    if (j == 0) return r.segment_start(seg);
    if (j == r.num_pos(seg) - 1) return r.segment_end(seg);
    return velPolylineTrimmings::floor_of(r.segment_start(seg)) + j;
}

giPoint3 velTrimmedPolylineListIter::piece_pos(int seg, int i) const {
    const velPolylineTrimmings& r = record();
    const double s = r.segment_start(seg);
    if (i > 0 && i < r.num_pos(seg) - 1) return m_underlying->get_pos(velPolylineTrimmings::floor_of(s) + i);
    const double u = i == 0 ? s : r.segment_end(seg);
    const int k = velPolylineTrimmings::floor_of(u);
    return u == k ? m_underlying->get_pos(k) : m_underlying->get_interpolated_pos(u);
}

int velTrimmedPolylineListIter::piece_span_linear(int seg, int i) const {
    return m_underlying->span_linear(velPolylineTrimmings::floor_of(record().segment_start(seg)) + i);
}

namespace {
// The fractions of underlying span k that span i of a piece [s, e] of n positions covers.
void span_fractions(double s, double e, int n, int i, double& u0, double& u1) {
    u0 = i == 0 ? s - velPolylineTrimmings::floor_of(s) : 0.0;
    u1 = i == n - 2 ? e - velPolylineTrimmings::ceil_of(e) + 1.0 : 1.0;
}
} // namespace

giPoint3 velTrimmedPolylineListIter::piece_mid_pos(int seg, int i) const {
    const velPolylineTrimmings& r = record();
    const int k = velPolylineTrimmings::floor_of(r.segment_start(seg)) + i;
    double u0, u1;
    span_fractions(r.segment_start(seg), r.segment_end(seg), r.num_pos(seg), i, u0, u1);
    if ((u0 == 0.0 && u1 == 1.0) || m_underlying->span_linear(k)) return m_underlying->get_mid_pos(k);
    return m_underlying->get_interpolated_pos(
        k + velArc2Utils::trimmed_mid_parameter(u0, u1, m_underlying->get_bulge(k)));
}

double velTrimmedPolylineListIter::piece_bulge(int seg, int i) const {
    const velPolylineTrimmings& r = record();
    const int k = velPolylineTrimmings::floor_of(r.segment_start(seg)) + i;
    if (m_underlying->span_linear(k)) return 0.0;
    double u0, u1;
    span_fractions(r.segment_start(seg), r.segment_end(seg), r.num_pos(seg), i, u0, u1);
    const double b = m_underlying->get_bulge(k);
    return u0 == 0.0 && u1 == 1.0 ? b : velArc2Utils::trimmed_bulge(u0, u1, b);
}

int velTrimmedPolylineListIter::num_pos() const {
    return piece_num_pos(m_seg);
}
giPoint3 velTrimmedPolylineListIter::get_pos(int i) const {
    return piece_pos(m_seg, i);
}
int velTrimmedPolylineListIter::span_linear(int i) const {
    return piece_span_linear(m_seg, i);
}
giPoint3 velTrimmedPolylineListIter::get_mid_pos(int i) const {
    return piece_mid_pos(m_seg, i);
}
double velTrimmedPolylineListIter::get_bulge(int i) const {
    return piece_bulge(m_seg, i);
}

giBox3 velTrimmedPolylineListIter::box(vel3dBox kind) const {
    giBox3 b = record().box(m_seg);
    if (b.empty()) {
        b = velPolylineListIter::box(kind);
        if (!b.empty()) record().set_box(m_seg, b);
    }
    return b;
}

void velTrimmedPolylineListIter::copy_pieces(velPolylineListCursor& cursor, int min_positions) {
    reset();
    cursor.reset();
    while (++*this) {
        const int n = num_pos();
        if (n < min_positions) continue;
        cursor.create_polyline();
        ++cursor;
        cursor.add_interpolated_pos(*m_underlying, position_parameter(m_seg, 0));
        for (int j = 0; j + 1 < n; ++j)
            cursor.add_span(*m_underlying, position_parameter(m_seg, j), position_parameter(m_seg, j + 1));
    }
}

void velTrimmedPolylineListIter::copy(velPolylineListCursor& cursor) {
    copy_pieces(cursor, 1);
}

void velTrimmedPolylineListIter::copy_omitting_trimmed_completely(velPolylineListCursor& cursor) {
    copy_pieces(cursor, 2);
}

// ---------------------------------------------------------------------------------------------------------
// Trimming

double velTrimmedPolylineListIter::bulge_at(int seg, double t) const {
    if (m_underlying->all_spans_linear()) return 0.0;
    const int n = record().num_pos(seg);
    const int k = std::max(0, std::min(static_cast<int>(std::floor(t)), n - 2));
    const int span = velPolylineTrimmings::floor_of(record().segment_start(seg)) + k;
    return m_underlying->span_linear(span) ? 0.0 : m_underlying->get_bulge(span);
}

void velTrimmedPolylineListIter::trim(double t0, double t1) {
    trim_with_flags(t0, t1, velPolylineTrimmings::no_flag, velPolylineTrimmings::no_flag);
}

void velTrimmedPolylineListIter::trim_with_flags(double t0, double t1, int start_flag, int end_flag) {
    record().trim(m_seg, t0, t1, bulge_at(m_seg, t0), bulge_at(m_seg, t1), start_flag, end_flag);
    drop_record_if_empty();
}

void velTrimmedPolylineListIter::trim_with_flags(const doublecoPageArr& params, const intcoPageArr& flags) {
    doublecoDynArr kept;
    trim_with_flags_in_reverse(params, flags, kept);
}

void velTrimmedPolylineListIter::trim_with_flags_in_reverse(const doublecoPageArr& params,
                                                            const intcoPageArr& flags, doublecoDynArr& kept) {
    velPolylineTrimmings& r = record();
    // Every range is converted while the piece is whole, then removed from the highest down, so that each
    // lies in the first part of what is left.
    struct Cut {
        double a, b;
        int fs, fe;
    };
    std::vector<Cut> cuts;
    for (int k = 0; k + 1 < params.size(); k += 2) {
        const double t0 = params.read(k), t1 = params.read(k + 1);
        const int fs = k + 1 < flags.size() ? flags.read(k) : velPolylineTrimmings::no_flag;
        const int fe = k + 1 < flags.size() ? flags.read(k + 1) : velPolylineTrimmings::no_flag;
        cuts.push_back({r.underlying_parameter(m_seg, t0, bulge_at(m_seg, t0)),
                        r.underlying_parameter(m_seg, t1, bulge_at(m_seg, t1)), fs, fe});
    }
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& x, const Cut& y) { return x.a > y.a; });
    const int before = r.num_segs();
    const double s = r.segment_start(m_seg);
    for (const Cut& c : cuts) {
        if (m_seg >= r.num_segs() || r.segment_start(m_seg) != s) break; // the piece is gone
        r.trim_underlying_parameter(m_seg, c.a, c.b, c.fs, c.fe);
    }
    const int became = r.num_segs() - before + 1; // segments m_seg .. m_seg + became - 1
    for (int i = m_seg; i < m_seg + became; ++i) {
        kept.append(r.segment_start(i));
        kept.append(r.segment_end(i));
    }
    drop_record_if_empty();
}

void velTrimmedPolylineListIter::trim_whole_segment() {
    record().remove_segment(m_seg);
    drop_record_if_empty();
}

void velTrimmedPolylineListIter::trim_whole_segment_without_closure_breaks(velClosureFunction closed,
                                                                           void* data) {
    velPolylineTrimmings& r = record();
    const int last = r.num_segs() - 1;
    if (record_has_closure_break(r, closed, data) && (m_seg == 0 || m_seg == last)) {
        // The piece runs through the closing point: both its parts go. The next ++ reaches the piece
        // before the joined one (the counter then stands one above it).
        r.remove_segment(last);
        r.remove_segment(0);
        m_seg = m_seg == 0 ? 0 : last - 1;
        drop_record_if_empty();
        return;
    }
    trim_whole_segment();
}

void velTrimmedPolylineListIter::split(double t) {
    record().split(m_seg, t, bulge_at(m_seg, t));
    mark_size_unknown();
}

// ---------------------------------------------------------------------------------------------------------
// Whole-list operations

namespace {
// Number of positions of every polyline of the list, read through a clone.
std::vector<int> position_counts(const velPolylineListIter& it) {
    std::unique_ptr<velPolylineListIter> walker(it.create_new());
    std::vector<int> n(static_cast<std::size_t>(walker->size()), 0);
    walker->reset();
    while (++*walker) {
        if (walker->index() < static_cast<int>(n.size()))
            n[static_cast<std::size_t>(walker->index())] = walker->num_pos();
    }
    return n;
}
} // namespace

void velTrimmedPolylineListIter::invert() {
    const std::vector<int> n = position_counts(*m_underlying);
    Records out;
    auto r = m_records.begin();
    for (int k = 0; k < static_cast<int>(n.size()); ++k) {
        const int last = n[std::size_t(k)] - 1;
        if (r != m_records.end() && r->index() == k) {
            velPolylineTrimmings t = *r++;
            t.invert(last);
            if (t.num_segs() > 0) out.push_back(std::move(t));
        } else {
            out.emplace_back(k, 0.0, double(last));
        }
    }
    m_records.swap(out);
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::add(velTrimmedPolylineListIter& other) {
    Records out;
    auto a = m_records.begin();
    auto b = other.m_records.begin();
    while (a != m_records.end() || b != other.m_records.end()) {
        if (b == other.m_records.end() || (a != m_records.end() && a->index() < b->index())) {
            out.push_back(*a++);
        } else if (a == m_records.end() || b->index() < a->index()) {
            out.push_back(*b++);
        } else {
            velPolylineTrimmings u;
            a->add(*b, u);
            out.push_back(std::move(u));
            ++a;
            ++b;
        }
    }
    m_records.swap(out);
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::subtract(velTrimmedPolylineListIter& other) {
    auto b = other.m_records.begin();
    for (auto a = m_records.begin(); a != m_records.end();) {
        while (b != other.m_records.end() && b->index() < a->index())
            ++b;
        if (b != other.m_records.end() && b->index() == a->index()) {
            velPolylineTrimmings d;
            a->subtract(*b, d);
            *a = std::move(d);
        }
        a = a->num_segs() == 0 ? m_records.erase(a) : std::next(a);
    }
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::set_trimmings(const velPolylineTrimmings& r) {
    auto at = m_records.begin();
    while (at != m_records.end() && at->index() < r.index())
        ++at;
    if (at != m_records.end() && at->index() == r.index()) at = m_records.erase(at);
    if (r.num_segs() > 0) m_records.insert(at, r);
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::set_all_trimmings(std::vector<velPolylineTrimmings> records) {
    m_records.clear();
    for (auto& r : records)
        if (r.num_segs() > 0) m_records.push_back(std::move(r));
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::defragment() {
    for (auto& r : m_records) {
        int i = 0;
        r.defragment(i);
    }
    mark_size_unknown();
    reset();
}

void velTrimmedPolylineListIter::defragment_current() {
    record().defragment(m_seg);
    mark_size_unknown();
}

// ---------------------------------------------------------------------------------------------------------
// Queries of the current polyline and piece

int velTrimmedPolylineListIter::is_trimmed(double t) const {
    const velPolylineTrimmings* r = current_trimmings();
    if (r == nullptr) return 1;
    for (int i = 0; i < r->num_segs(); ++i) {
        if (r->segment_start(i) <= t && t <= r->segment_end(i)) return 0;
    }
    return 1;
}

namespace {
bool covers_whole(const velPolylineTrimmings& r, int num_pos, double gap) {
    if (r.num_segs() == 0) return false;
    if (r.segment_start(0) > gap) return false;
    for (int i = 1; i < r.num_segs(); ++i) {
        if (r.segment_start(i) - r.segment_end(i - 1) > gap) return false;
    }
    return (num_pos - 1) - r.segment_end(r.num_segs() - 1) <= gap;
}
} // namespace

bool velTrimmedPolylineListIter::is_complete() const {
    const velPolylineTrimmings* r = current_trimmings();
    return r != nullptr && covers_whole(*r, m_underlying->num_pos(), complete_tol);
}

double velTrimmedPolylineListIter::underlying_parameter(double t) const {
    if (t == std::floor(t) && t >= 0 && t < num_pos()) return position_parameter(m_seg, static_cast<int>(t));
    return record().underlying_parameter(m_seg, t, bulge_at(m_seg, t));
}

double velTrimmedPolylineListIter::underlying_start() const {
    return record().segment_start(m_seg);
}
double velTrimmedPolylineListIter::underlying_end() const {
    return record().segment_end(m_seg);
}

int velTrimmedPolylineListIter::underlying_span(int i) const {
    return velPolylineTrimmings::floor_of(record().segment_start(m_seg)) + i;
}

int velTrimmedPolylineListIter::set_underlying_curve(int k) {
    reset();
    if (k < 0) return 0;
    int before = 0;
    for (auto it = m_records.begin(); it != m_records.end(); ++it) {
        if (it->index() == k) {
            m_before = before;
            enter(it);
            return 1;
        }
        if (it->index() > k) break;
        before += it->num_segs();
    }
    return 0;
}

void velTrimmedPolylineListIter::enable_edge_flags(int start_flag, int end_flag) {
    for (auto& r : m_records) {
        r.set_start_flag(0, start_flag);
        r.set_end_flag(0, end_flag);
    }
}

int velTrimmedPolylineListIter::edge_flags_enabled() const {
    return !m_records.empty() && m_records.front().any_flags();
}

int velTrimmedPolylineListIter::start_flag() const {
    return record().get_start_flag(m_seg);
}
int velTrimmedPolylineListIter::end_flag() const {
    return record().get_end_flag(m_seg);
}

void velTrimmedPolylineListIter::start_end(giPoint3& start, giPoint3& end) const {
    start = get_pos(0);
    end = get_pos(num_pos() - 1);
}

void velTrimmedPolylineListIter::start_end_data(velTrimmedPolylineEndData& data) const {
    giPoint3 s, e;
    start_end(s, e);
    data.become(s, start_flag(), e, end_flag());
}

int velTrimmedPolylineListIter::open_start(velClosureFunction closed, void* data) const {
    if (closed(*m_underlying, m_poly, data)) return 0;
    return m_seg == 0 && record().segment_start(0) == 0.0;
}

int velTrimmedPolylineListIter::open_end(velClosureFunction closed, void* data) const {
    if (closed(*m_underlying, m_poly, data)) return 0;
    return record().segment_end(m_seg) == record().original_end();
}

void velTrimmedPolylineListIter::set_underlying_open_end_start_and_end_flags_out_of_range(int start_flag,
                                                                                          int end_flag,
                                                                                          int polyline) {
    for (auto& r : m_records) {
        if (polyline >= 0 && r.index() != polyline) continue;
        if (velTPLIWithoutClosureBreaks::default_closure_function(*m_underlying, r.index(), nullptr))
            continue;
        if (r.segment_start(0) == 0.0) r.set_start_flag(0, start_flag);
        const int last = r.num_segs() - 1;
        if (r.segment_end(last) == r.original_end()) r.set_end_flag(last, end_flag);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Closure breaks

bool velTrimmedPolylineListIter::record_has_closure_break(const velPolylineTrimmings& r,
                                                          velClosureFunction closed, void* data) const {
    const int s = r.num_segs();
    return s >= 2 && r.segment_start(0) == 0.0 && r.segment_end(s - 1) == r.original_end() &&
           closed(*m_underlying, r.index(), data);
}

bool velTrimmedPolylineListIter::has_closure_break(velClosureFunction closed, void* data) const {
    const velPolylineTrimmings* r = current_trimmings();
    return r != nullptr && record_has_closure_break(*r, closed, data);
}

int velTrimmedPolylineListIter::size_without_closure_breaks(velClosureFunction closed, void* data) const {
    int n = 0;
    for (const auto& r : m_records)
        n += r.num_segs() - (record_has_closure_break(r, closed, data) ? 1 : 0);
    return n;
}

int velTrimmedPolylineListIter::index_without_closure_breaks(velClosureFunction closed, void* data) const {
    if (current_trimmings() == nullptr) return -1;
    int before = 0;
    for (auto it = m_records.begin(); it != m_rec; ++it)
        before += it->num_segs() - (record_has_closure_break(*it, closed, data) ? 1 : 0);
    const int s = m_rec->num_segs();
    // The first segment of a record with a closure break is part of the joined piece, presented first.
    if (m_seg == 0 && record_has_closure_break(*m_rec, closed, data)) return before;
    return before + (s - 1 - m_seg);
}

void velTrimmedPolylineListIter::set_index_without_closure_breaks(int k, velClosureFunction closed,
                                                                  void* data) {
    if (k < 0) {
        reset();
        return;
    }
    int before = 0, before_plain = 0;
    for (auto it = m_records.begin(); it != m_records.end(); ++it) {
        const int s = it->num_segs();
        const int presented = s - (record_has_closure_break(*it, closed, data) ? 1 : 0);
        if (k < before + presented) {
            m_before = before_plain;
            enter(it);
            m_seg = s - 1 - (k - before);
            return;
        }
        before += presented;
        before_plain += s;
    }
    reset();
}

double velTrimmedPolylineListIter::underlying_parameter_without_closure_breaks(double t,
                                                                               velClosureFunction closed,
                                                                               void* data) const {
    if (!enlarged_without_closure_breaks(closed, data)) return underlying_parameter(t);
    const int n_last = piece_num_pos(m_seg);
    if (t <= n_last - 1) return underlying_parameter(t);
    // Beyond the closing point: the first segment's own parameters.
    const double u = t - (n_last - 1);
    if (u == std::floor(u)) return position_parameter(0, static_cast<int>(u));
    return record().underlying_parameter(0, u, bulge_at(0, u));
}

double velTrimmedPolylineListIter::underlying_end_without_closure_breaks(velClosureFunction closed,
                                                                         void* data) const {
    return enlarged_without_closure_breaks(closed, data) ? record().segment_end(0) : underlying_end();
}

int velTrimmedPolylineListIter::enlarged_without_closure_breaks(velClosureFunction closed, void* data) const {
    return has_closure_break(closed, data) && m_seg == record().num_segs() - 1;
}

int velTrimmedPolylineListIter::removed_without_closure_breaks(velClosureFunction closed, void* data) const {
    return has_closure_break(closed, data) && m_seg == 0;
}

// ---------------------------------------------------------------------------------------------------------
// Further queries

int velTrimmedPolylineListIter::monotone_information(gi_Axis& axis) const {
    return record().get_monotone(m_seg, axis);
}

void velTrimmedPolylineListIter::longest_run_untrimmed_start_end(int& first, int& last) const {
    first = last = -1;
    const velPolylineTrimmings* r = current_trimmings();
    if (r == nullptr) return;
    int best = 0;
    for (int i = 0; i < r->num_segs(); ++i) {
        const int a = static_cast<int>(std::ceil(r->segment_start(i)));
        const int b = static_cast<int>(std::floor(r->segment_end(i)));
        if (b - a > best) {
            best = b - a;
            first = a;
            last = b;
        }
    }
}

void velTrimmedPolylineListIter::underlying_polyline_trimmed_index(intcoSet& indices) const {
    const std::vector<int> n = position_counts(*m_underlying);
    auto r = m_records.begin();
    for (int k = 0; k < static_cast<int>(n.size()); ++k) {
        while (r != m_records.end() && r->index() < k)
            ++r;
        const bool whole =
            r != m_records.end() && r->index() == k && covers_whole(*r, n[std::size_t(k)], 0.0);
        if (!whole) indices.add(k);
    }
}

void velTrimmedPolylineListIter::underlying_polyline_untrimmed_index(intcoSet& indices) const {
    const std::vector<int> n = position_counts(*m_underlying);
    for (const auto& r : m_records) {
        if (r.index() < static_cast<int>(n.size()) && covers_whole(r, n[std::size_t(r.index())], 0.0))
            indices.add(r.index());
    }
}
