#include "arcline/polyline/velAbsPolyArcLine.h"

#include "arcline/platform/Interpolate.h"
#include "arcline/platform/giAngle.h"
#include "arcline/platform/torArc3Utils.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/velPolyLine.h"

#include <cfloat>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(velAbsPolyArcLine, CObject, 1)

namespace {
constexpr int base_schema = 1;
constexpr int max_page_factor = 10; // pages of at most 1024 elements
constexpr int max_stored_positions = (INT_MAX - 4) / 4;
} // namespace

velAbsPolyArcLine::velAbsPolyArcLine(const velAbsPolyArcLine& other)
    : CObject(other), m_num_pos(other.m_num_pos) {}

velAbsPolyArcLine::~velAbsPolyArcLine() = default;

void velAbsPolyArcLine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << base_schema << m_num_pos;
        return;
    }
    int schema = 0;
    ar >> schema;
    if (schema != base_schema) AfxThrowArchiveException(CArchiveException::badSchema);
    int n = 0;
    ar >> n;
    // A count no storage class could address (four floats a position in int indices) is damaged data.
    if (n < 0 || n > max_stored_positions) AfxThrowArchiveException(CArchiveException::badIndex);
    m_num_pos = n;
    invalidate_caches();
}

void velAbsPolyArcLine::reset() {
    m_num_pos = 0;
    invalidate_caches();
}

velAbsPolyArcLine* velAbsPolyArcLine::create_new() const {
    return nullptr;
}
velAbsPolyArcLine* velAbsPolyArcLine::create_empty() const {
    return nullptr;
}
int velAbsPolyArcLine::reserve(int) {
    return 0;
}
void velAbsPolyArcLine::add_pos(const giPoint3&) {}
void velAbsPolyArcLine::add_arc(const giPoint3&, const giPoint3&) {}
void velAbsPolyArcLine::edit_pos(int, const giPoint3&) {}
void velAbsPolyArcLine::edit_mid_pos(int, const giPoint3&) {}
int velAbsPolyArcLine::ok_to_add_pos(const giPoint3&) const {
    return 1;
}
int velAbsPolyArcLine::ok_to_add_arc(const giPoint3&, const giPoint3&) const {
    return 1;
}
int velAbsPolyArcLine::ok_to_edit_pos(int, const giPoint3&) const {
    return 1;
}
int velAbsPolyArcLine::ok_to_edit_mid_pos(int, const giPoint3&) const {
    return 1;
}
int velAbsPolyArcLine::span_linear(int) const {
    return 1;
}
void velAbsPolyArcLine::get_pos(int, giPoint3&) const {}
void velAbsPolyArcLine::get_mid_pos(int, giPoint3&) const {}
int velAbsPolyArcLine::can_hold_arcs() const {
    return 1;
}

bool velAbsPolyArcLine::is_no_mid_point(const giPoint3& mid) {
    return mid.x == -DBL_MAX || mid.x == DBL_MAX || mid.y == DBL_MAX || mid.z == DBL_MAX;
}

velAbsPolyArcLine::Caches& velAbsPolyArcLine::caches() const {
    if (!m_caches) m_caches = std::make_unique<Caches>();
    return *m_caches;
}

void velAbsPolyArcLine::invalidate_caches() {
    if (!m_caches) return;
    m_caches->box.make_empty();
    m_caches->length = -1.0;
    m_caches->polygon_tol = DBL_MAX;
}

double velAbsPolyArcLine::span_length(int i) const {
    giPoint3 s, e;
    span_start(i, s);
    span_end(i, e);
    if (span_linear(i)) return s.distance(e);
    giPoint3 m;
    span_middle(i, m);
    return velArc3Utils::arc_length(s, m, e);
}

double velAbsPolyArcLine::length() const {
    if (m_num_pos < 2) return 0.0;
    Caches& c = caches();
    if (c.length < 0.0) {
        double sum = 0.0;
        for (int i = 1; i < m_num_pos; ++i)
            sum += span_length(i);
        c.length = sum;
    }
    return c.length;
}

const giBox3& velAbsPolyArcLine::box() const {
    Caches& c = caches();
    if (c.box.empty() && m_num_pos > 0) {
        if (m_num_pos == 1) {
            giPoint3 p;
            get_pos(1, p);
            c.box.merge(p);
        } else {
            for (int i = 1; i < m_num_pos; ++i)
                span_box(i, c.box);
        }
    }
    return c.box;
}

void velAbsPolyArcLine::span_box(int i, giBox3& box) const {
    giPoint3 s, e;
    span_start(i, s);
    span_end(i, e);
    if (span_linear(i)) {
        box.merge(s);
        box.merge(e);
        return;
    }
    giPoint3 m;
    span_middle(i, m);
    box.merge(velArc3Utils::bbox(s, e, m));
}

void velAbsPolyArcLine::span_tangent(int i, double t, giUnitVec3& tangent) const {
    giPoint3 s, e;
    span_start(i, s);
    span_end(i, e);
    if (s.coincident(e, 0.0)) {
        tangent = giUnitVec3(); // no length, no direction
        return;
    }
    if (span_linear(i)) {
        tangent = giUnitVec3(e - s);
        return;
    }
    giPoint3 m;
    span_middle(i, m);
    tangent = giUnitVec3(torArc3Utils::derivative(s, m, e, 1, t));
}

void velAbsPolyArcLine::span_start_tangent(int i, giUnitVec3& tangent) const {
    span_tangent(i, 0.0, tangent);
    for (int k = i - 1; tangent.invalid() && k >= 1; --k)
        span_tangent(k, 1.0, tangent);
    for (int k = i + 1; tangent.invalid() && k < m_num_pos; ++k)
        span_tangent(k, 0.0, tangent);
    if (tangent.invalid()) tangent = giUnitVec3(giAxisX);
}

void velAbsPolyArcLine::span_end_tangent(int i, giUnitVec3& tangent) const {
    span_tangent(i, 1.0, tangent);
    for (int k = i + 1; tangent.invalid() && k < m_num_pos; ++k)
        span_tangent(k, 0.0, tangent);
    for (int k = i - 1; tangent.invalid() && k >= 1; --k)
        span_tangent(k, 1.0, tangent);
    if (tangent.invalid()) tangent = giUnitVec3(giAxisX);
}

void velAbsPolyArcLine::shuffle_points(int i, const giPoint3& p, const giPoint3& mid) {
    const int n = m_num_pos;
    if (n == 0) {
        // Nothing to move up: the new position is the line.
        add_pos(p);
        return;
    }
    giPoint3 q;
    get_pos(n, q);
    add_pos(q);
    for (int k = n; k >= i + 1; --k) {
        get_pos(k - 1, q);
        edit_pos(k, q);
        get_mid_pos(k - 1, q);
        edit_mid_pos(k, q);
    }
    edit_pos(i, p);
    edit_mid_pos(i, mid);
    invalidate_caches();
}

void velAbsPolyArcLine::insert_pos(int i, const giPoint3& p) {
    shuffle_points(i, p, giPoint3());
}

giPoint3 velAbsPolyArcLine::split_arc(int i, double f) {
    if (span_linear(i)) return giPoint3();
    giPoint3 s, m, e;
    span_start(i, s);
    span_middle(i, m);
    span_end(i, e);
    const double tp = velArc3Utils::distance_fraction_to_parameter(s, m, e, f);
    const double t1 = velArc3Utils::distance_fraction_to_parameter(s, m, e, f / 2.0);
    const double t2 = velArc3Utils::distance_fraction_to_parameter(s, m, e, f + (1.0 - f) / 2.0);
    const giPoint3 p = torArc3Utils::evaluate(s, m, e, tp);
    const giPoint3 first_mid = torArc3Utils::evaluate(s, m, e, t1);
    const giPoint3 second_mid = torArc3Utils::evaluate(s, m, e, t2);
    edit_mid_pos(i, first_mid);
    shuffle_points(i + 1, p, second_mid);
    return p;
}

namespace {

// The chords of one arc span into `out`: the first point of every chord, then the last chord's end. An arc
// that yields no chord contributes its end point.
int polygonize_arc(Interpolate& interp, const giPoint3& s, const giPoint3& m, const giPoint3& e,
                   velAbsPolyArcLine& out) {
    interp.arc(s, m, e, 1.0);
    giPoint3 a, b;
    int reads = 0;
    while (interp.read_line(a, b)) {
        out.add_pos(a);
        ++reads;
    }
    if (reads == 0) {
        out.add_pos(e);
        return 1;
    }
    out.add_pos(b);
    return reads;
}

} // namespace

int velAbsPolyArcLine::polygonize(double tol, int mode, velAbsPolyArcLine& out) const {
    const int spans = num_spans();
    if (spans == 0) return 0;
    giPoint3 s, m, e;
    if (span_linear(1)) {
        span_start(1, s);
        out.add_pos(s);
    }
    Interpolate interp(tol, mode);
    int count = 0;
    for (int i = 1; i <= spans; ++i) {
        span_end(i, e);
        if (span_linear(i)) {
            out.add_pos(e);
            ++count;
            continue;
        }
        // An arc writes its own start too, so after another span that point appears twice: a chord of
        // no length, which readers of polygonizations take in their stride.
        span_start(i, s);
        span_middle(i, m);
        count += polygonize_arc(interp, s, m, e, out);
    }
    return count;
}

int velAbsPolyArcLine::span_polygonize(int i, double tol, int mode, velAbsPolyArcLine& out) const {
    Interpolate interp(tol, mode);
    giPoint3 s, m, e;
    span_start(i, s);
    span_middle(i, m);
    span_end(i, e);
    return polygonize_arc(interp, s, m, e, out);
}

const giFloatArray3coPageArrcoPrf& velAbsPolyArcLine::get_polygonized_points(double tol, int mode) const {
    Caches& cache = caches();
    const double c = cache.polygon_tol;
    if (cache.polygon && c > 0.0 && tol >= 0.9 * c && tol <= 2.0 * c) return cache.polygon;
    const int k = compute_page_factor(m_num_pos);
    auto points = std::make_shared<giFloatArray3coPageArr>(k, compute_num_pages(m_num_pos, k), 10);
    if (m_num_pos >= 2) {
        velPolyLine chords;
        polygonize(tol, mode, chords);
        giPoint3 p;
        for (int i = 1; i <= chords.num_pos(); ++i) {
            chords.get_pos(i, p);
            points->append(giFloatArray3(p));
        }
    } else if (m_num_pos == 1) {
        giPoint3 p;
        get_pos(1, p);
        points->append(giFloatArray3(p));
    }
    cache.polygon = std::move(points);
    cache.polygon_tol = tol;
    return cache.polygon;
}

bool velAbsPolyArcLine::operator==(const velAbsPolyArcLine& other) const {
    const int spans = num_spans();
    if (spans != other.num_spans()) return false;
    giPoint3 a, b;
    for (int i = 1; i <= spans; ++i) {
        const int linear = span_linear(i);
        if (linear != other.span_linear(i)) return false;
        span_start(i, a);
        other.span_start(i, b);
        if (!a.coincident(b, 0.0)) return false;
        span_end(i, a);
        other.span_end(i, b);
        if (!a.coincident(b, 0.0)) return false;
        if (!linear) {
            span_middle(i, a);
            other.span_middle(i, b);
            if (!a.coincident(b, 0.0)) return false;
        }
    }
    return true;
}

void velAbsPolyArcLine::reverse() {
    const int n = m_num_pos;
    giPoint3 a, b;
    for (int i = 1; i <= n / 2; ++i) {
        get_pos(i, a);
        get_pos(n + 1 - i, b);
        edit_pos(i, b);
        edit_pos(n + 1 - i, a);
    }
    // An arc's mid point is the same point in both directions: it moves with its span unchanged.
    const int m = num_spans();
    for (int j = 1; j <= m / 2; ++j) {
        get_mid_pos(j, a);
        get_mid_pos(m + 1 - j, b);
        edit_mid_pos(j, b);
        edit_mid_pos(m + 1 - j, a);
    }
    invalidate_caches();
}

double velAbsPolyArcLine::bulge_factor(int i) const {
    if (span_linear(i)) return 0.0;
    giPoint3 s, m, e;
    span_start(i, s);
    span_middle(i, m);
    span_end(i, e);
    // The angle A at the mid point between the directions to the ends is pi - sweep / 2, so
    // cot(A / 2) = tan(sweep / 4).
    const double A = giAngle::unsigned_angle(s - m, e - m).radians();
    return 1.0 / std::tan(A / 2.0);
}

int velAbsPolyArcLine::compute_page_factor(int n) {
    int k = 1;
    while (k < max_page_factor && (1 << k) < n)
        ++k;
    return k;
}

int velAbsPolyArcLine::compute_num_pages(int n, int k) {
    const int page = 1 << k;
    return n <= 0 ? 1 : (n + page - 1) / page;
}

void velAbsPolyArcLine::Serialize_giFloatArray3(CArchive& ar, giFloatArray3& f) {
    if (ar.IsStoring()) {
        ar << f.x << f.y << f.z;
    } else {
        ar >> f.x >> f.y >> f.z;
    }
}

void velAbsPolyArcLine::serialize_triples(CArchive& ar, velPolylineArray<giFloatArray3>& elements,
                                          int per_pos, int short_by) {
    constexpr int schema = 1;
    auto count = [&] { return m_num_pos > 0 ? per_pos * m_num_pos - short_by : 0; };
    if (ar.IsStoring()) {
        ar << schema;
        velAbsPolyArcLine::Serialize(ar);
        for (int i = 0, n = count(); i < n; ++i) {
            giFloatArray3 f = elements.read(i);
            Serialize_giFloatArray3(ar, f);
        }
        return;
    }
    int word = 0;
    ar >> word;
    if (word != schema) AfxThrowArchiveException(CArchiveException::badSchema);
    velAbsPolyArcLine::Serialize(ar);
    elements.reset(compute_page_factor(m_num_pos));
    try {
        for (int i = 0, n = count(); i < n; ++i) {
            giFloatArray3 f;
            Serialize_giFloatArray3(ar, f);
            elements.write(i, f);
        }
    } catch (...) {
        // A short or damaged record leaves an empty line, not a count without its points.
        reset();
        throw;
    }
    invalidate_caches();
}

CArchive& operator>>(CArchive& ar, velAbsPolyArcLine*& line) {
    return ReadObjectAs(ar, line);
}

void velAbsPolyArcLine::remove_last_pos() {
    if (m_num_pos == 0) return;
    set_num_pos(m_num_pos - 1);
    invalidate_caches();
}
