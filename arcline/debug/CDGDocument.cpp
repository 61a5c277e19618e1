#include "arcline/debug/CDGDocument.h"

#include "arcline/polyline/velTolerances.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace lumet {

namespace {

// ---- Packing -----------------------------------------------------------------------------------------

// Collects a little-endian bit stream and writes it 6 bits at a time; the last group is padded with zeros.
class Packer {
public:
    // Appends the low `bits` bits of value (bits <= 32).
    Packer& put(std::uint64_t value, int bits) {
        m_acc |= value << m_count;
        m_count += bits;
        while (m_count >= 6) {
            m_out += CDGDocument::alphabet[m_acc & 63u];
            m_acc >>= 6;
            m_count -= 6;
        }
        return *this;
    }
    Packer& put_single(double v) { return put(std::bit_cast<std::uint32_t>(static_cast<float>(v)), 32); }
    std::string finish() {
        if (m_count > 0) m_out += CDGDocument::alphabet[m_acc & 63u];
        m_acc = 0;
        m_count = 0;
        return std::move(m_out);
    }

private:
    std::string m_out;
    std::uint64_t m_acc = 0;
    int m_count = 0;
};

int hex_nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// A free text field: a line break would end the record, so it becomes a space.
void append_text(std::string& out, std::string_view text) {
    for (const char c : text)
        out += (c == '\n' || c == '\r') ? ' ' : c;
}

// One record, code letter first, fields in the order they are appended.
class Record {
public:
    explicit Record(char code) { m_s += code; }
    Record& pt(const P3& p) {
        m_s += CDGDocument::pointToBase64(p);
        return *this;
    }
    Record& col(std::string_view colour) {
        m_s += CDGDocument::colorToBase64(colour);
        return *this;
    }
    Record& par(const ParamPair& v, bool a, bool b) {
        m_s += CDGDocument::paramsToBase64(v, a, b);
        return *this;
    }
    Record& mat(Matrix16 m) {
        m_s += CDGDocument::matrixToBase64(m);
        return *this;
    }
    Record& txt(std::string_view t) {
        append_text(m_s, t);
        return *this;
    }
    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

// ---- Geometry of the derived records ----------------------------------------------------------------

struct V3 {
    double x, y, z;
};
V3 sub(const P3& a, const P3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Three points count as collinear when the sine of the angle at the end point is below this.
constexpr double collinear_sine = velTol::collinear;

// Centre of the circle through a, b and c; b when the points are collinear (or coincide).
P3 circumcentre(const P3& a, const P3& b, const P3& c) {
    const V3 u = sub(a, c), v = sub(b, c);
    const V3 n = cross(u, v);
    const double nn = dot(n, n), uu = dot(u, u), vv = dot(v, v);
    if (nn <= collinear_sine * collinear_sine * uu * vv || nn == 0.0) return b;
    const V3 w{uu * v.x - vv * u.x, uu * v.y - vv * u.y, uu * v.z - vv * u.z};
    const V3 d = cross(w, n);
    const double s = 1.0 / (2.0 * nn);
    return {c.x + d.x * s, c.y + d.y * s, c.z + d.z * s};
}

// The start of a full circle: the point of the circle in the direction of the coordinate axis least aligned
// with the normal (X first on ties). A zero normal takes X.
P3 circle_start(const P3& centre, const P3& normal, double radius) {
    const V3 n{normal.x, normal.y, normal.z};
    const double nn = dot(n, n);
    if (nn == 0.0) return {centre.x + radius, centre.y, centre.z};
    const std::array<V3, 3> axes{V3{1, 0, 0}, V3{0, 1, 0}, V3{0, 0, 1}};
    const std::array<double, 3> along{std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)};
    std::size_t k = 0;
    for (std::size_t i = 1; i < 3; ++i)
        if (along[i] < along[k]) k = i;
    const V3& e = axes[k];
    const double f = dot(e, n) / nn;
    V3 u{e.x - f * n.x, e.y - f * n.y, e.z - f * n.z};
    const double len = std::sqrt(dot(u, u));
    u = {u.x / len, u.y / len, u.z / len};
    return {centre.x + radius * u.x, centre.y + radius * u.y, centre.z + radius * u.z};
}

Record arc_record(const P3& centre, const P3& start, const P3& normal, const ParamPair& first, bool helix,
                  const ParamPair* values, std::string_view colour, std::string_view label) {
    Record r(values ? 'a' : 'A');
    r.pt(centre).pt(start).pt(normal).par(first, true, helix);
    if (values) r.par(*values, true, true).par(*values, false, false);
    r.col(colour).txt(label);
    return r;
}

Record circle_record(const P3& centre, const P3& normal, double radius, std::string_view colour,
                     std::string_view label) {
    return arc_record(centre, circle_start(centre, normal, radius), normal, {2.0 * std::numbers::pi, 0.0},
                      false, nullptr, colour, label);
}

// ---- The table of documents ---------------------------------------------------------------------------

struct Document {
    std::ofstream stream;
    std::uint32_t depth = 0;    // nodes pushed and not yet popped
    bool open = false;          // between the opening step and closeDoc
    bool implicit_node = false; // the last export opened a node of its own
};

void put_record(Document& d, std::string_view record) {
    d.stream << '\n' << record;
}

// Ends the node that the previous export opened for itself.
void close_implicit_node(Document& d) {
    if (!d.implicit_node) return;
    d.implicit_node = false;
    put_record(d, "O");
    if (d.depth > 0) --d.depth;
}

void close_document(Document& d) {
    close_implicit_node(d);
    d.stream << '\n';
    d.stream.flush();
    d.stream.close();
    d.stream.clear();
    d.open = false;
    d.depth = 0;
}

struct Table {
    std::mutex lock;
    // Keyed by file name, so that "trace" and "trace.cdg" are one document. Nodes of an unordered_map
    // never move, which keeps the stream references handed out valid.
    std::unordered_map<std::string, Document> docs;
    bool immediate_started = false;

    Table() = default;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    // Documents still open when the process ends are closed as closeDoc closes them.
    ~Table() {
        for (auto& [name, d] : docs)
            if (d.open) close_document(d);
    }
};

Table& table() {
    static Table t;
    return t;
}

// The opening step, under the lock of the table.
Document& open_document_locked(Table& t, std::string_view doc, bool append) {
    Document& d = t.docs[CDGDocument::fileName(doc)];
    if (d.open) {
        close_implicit_node(d);
        return d;
    }
    d.depth = 0;
    d.open = true;
    d.implicit_node = false;
    d.stream.clear();
    const std::string file = CDGDocument::fileName(doc);
    if (append) {
        // A missing or empty file is begun, so that it is a document too.
        std::error_code ec;
        const bool fresh = !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
        d.stream.open(file, std::ios::binary | std::ios::app);
        if (fresh) d.stream << CDGDocument::header;
    } else {
        d.stream.open(file, std::ios::binary | std::ios::trunc);
        d.stream << CDGDocument::header;
    }
    return d;
}

Document& open_document(std::string_view doc, bool append = false) {
    Table& t = table();
    const std::lock_guard<std::mutex> guard(t.lock);
    return open_document_locked(t, doc, append);
}

// The common road of every export: open, the entity's own node when asked for, the record.
std::ofstream& emit(std::string_view doc, std::optional<std::string_view> node, const Record& record) {
    Document& d = open_document(doc);
    if (node) {
        put_record(d, Record('U').txt(*node).str());
        ++d.depth;
        d.implicit_node = true;
    }
    put_record(d, record.str());
    return d.stream;
}

// ---- Immediate mode -----------------------------------------------------------------------------------

void start_immediate_locked(Table& t) {
    std::ofstream f(std::string(CDGDocument::immediate_file), std::ios::binary | std::ios::trunc);
    f << CDGDocument::header << '\n';
    t.immediate_started = true;
}

void immediate(const Record& record) {
    Table& t = table();
    const std::lock_guard<std::mutex> guard(t.lock);
    if (!t.immediate_started) start_immediate_locked(t);
    const std::filesystem::path file(CDGDocument::immediate_file);
    std::error_code ec;
    const bool fresh = !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
    std::ofstream f(file, std::ios::binary | std::ios::app);
    if (fresh) f << CDGDocument::header << '\n';
    f << record.str() << '\n';
}

} // namespace

// ---- Encodings ------------------------------------------------------------------------------------------

std::string CDGDocument::floatToBase64(double value) {
    return Packer().put_single(value).finish();
}

std::string CDGDocument::pointToBase64(double x, double y, double z) {
    return Packer().put_single(x).put_single(y).put_single(z).finish();
}

std::string CDGDocument::paramsToBase64(const ParamPair& pair, bool a, bool b) {
    return Packer()
        .put_single(pair.first)
        .put_single(pair.second)
        .put(a ? 1 : 0, 1)
        .put(b ? 1 : 0, 1)
        .finish();
}

std::string CDGDocument::colorToBase64(std::string_view colour) {
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t at = k + 1; // after the '#'
        if (at < colour.size()) value |= static_cast<std::uint64_t>(hex_nibble(colour[at])) << (4 * k);
    }
    return Packer().put(value, 24).finish();
}

std::string CDGDocument::matrixToBase64(Matrix16 m) {
    std::string out;
    for (std::size_t i = 0; i < 15; i += 3)
        out += pointToBase64(m[i], m[i + 1], m[i + 2]);
    out += pointToBase64(m[15], 0.0, 0.0);
    return out;
}

std::string CDGDocument::fileName(std::string_view doc) {
    constexpr std::string_view ext = ".cdg";
    std::string name(doc);
    if (!doc.ends_with(ext)) name += ext;
    return name;
}

// ---- Document and nodes -------------------------------------------------------------------------------

std::ofstream& CDGDocument::createDoc(std::string_view doc, bool append) {
    return open_document(doc, append).stream;
}

std::ofstream& CDGDocument::pushNode(std::string_view doc, std::string_view name) {
    Document& d = open_document(doc);
    put_record(d, Record('U').txt(name).str());
    ++d.depth;
    return d.stream;
}

std::ofstream& CDGDocument::pushColoredNode(std::string_view doc, std::string_view colour,
                                            std::string_view name) {
    Document& d = open_document(doc);
    put_record(d, Record('u').col(colour).txt(name).str());
    ++d.depth;
    return d.stream;
}

std::ofstream& CDGDocument::popNode(std::string_view doc) {
    Document& d = open_document(doc);
    if (d.depth > 0) {
        put_record(d, "O");
        --d.depth;
    }
    return d.stream;
}

std::ofstream& CDGDocument::popAllNodes(std::string_view doc) {
    Document& d = open_document(doc);
    for (; d.depth > 0; --d.depth)
        put_record(d, "O");
    return d.stream;
}

std::ofstream& CDGDocument::setTransform(std::string_view doc, Matrix16 matrix) {
    return emit(doc, std::nullopt, Record('X').mat(matrix));
}

std::ofstream& CDGDocument::clearTransform(std::string_view doc) {
    return emit(doc, std::nullopt, Record('x'));
}

// ---- Entities ----------------------------------------------------------------------------------------

namespace {
Record point_record(const P3& p, std::string_view colour, std::string_view label) {
    return std::move(Record('P').pt(p).col(colour).txt(label));
}
Record line_record(const P3& a, const P3& b, std::string_view colour, std::string_view label) {
    return std::move(Record('L').pt(a).pt(b).col(colour).txt(label));
}
Record line_values_record(const P3& a, const P3& b, const ParamPair& values, std::string_view colour,
                          std::string_view label) {
    return std::move(
        Record('l').pt(a).pt(b).col(colour).par(values, true, true).par(values, false, false).txt(label));
}
Record vector_record(const P3& base, const P3& dir, std::string_view colour, std::string_view label) {
    return std::move(Record('V').pt(base).pt(dir).col(colour).txt(label));
}
Record four_point_arc(const P3& a, const P3& b, const P3& c, const P3& d, std::string_view colour,
                      std::string_view label) {
    return std::move(Record('F').pt(a).pt(b).pt(c).pt(d).col(colour).txt(label));
}
Record triangle_record(const P3& a, const P3& b, const P3& c, std::string_view label) {
    return std::move(Record('T').pt(a).pt(b).pt(c).txt(label));
}
Record workplane_record(Matrix16 m, std::string_view label) {
    return std::move(Record('W').mat(m).txt(label));
}
} // namespace

std::ofstream& CDGDocument::exportPoint(std::string_view doc, const P3& p, std::string_view colour,
                                        std::string_view label) {
    return emit(doc, std::nullopt, point_record(p, colour, label));
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, std::string_view node, const P3& p,
                                        std::string_view colour, std::string_view label) {
    return emit(doc, node, point_record(p, colour, label));
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, double x, double y, double z,
                                        std::string_view colour, std::string_view label) {
    return exportPoint(doc, P3(x, y, z), colour, label);
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, std::string_view node, double x, double y,
                                        double z, std::string_view colour, std::string_view label) {
    return exportPoint(doc, node, P3(x, y, z), colour, label);
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, double x, double y, std::string_view colour,
                                        std::string_view label) {
    return exportPoint(doc, P3(x, y, 0.0), colour, label);
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, std::string_view node, double x, double y,
                                        std::string_view colour, std::string_view label) {
    return exportPoint(doc, node, P3(x, y, 0.0), colour, label);
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, const P3& p, const ParamPair& values,
                                        std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt, Record('p').pt(p).col(colour).par(values, true, true).txt(label));
}
std::ofstream& CDGDocument::exportPoint(std::string_view doc, std::string_view node, const P3& p,
                                        const ParamPair& values, std::string_view colour,
                                        std::string_view label) {
    return emit(doc, node, Record('p').pt(p).col(colour).par(values, true, true).txt(label));
}

std::ofstream& CDGDocument::exportLine(std::string_view doc, const P3& a, const P3& b,
                                       std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt, line_record(a, b, colour, label));
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, std::string_view node, const P3& a, const P3& b,
                                       std::string_view colour, std::string_view label) {
    return emit(doc, node, line_record(a, b, colour, label));
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, double x0, double y0, double z0, double x1,
                                       double y1, double z1, std::string_view colour,
                                       std::string_view label) {
    return exportLine(doc, P3(x0, y0, z0), P3(x1, y1, z1), colour, label);
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, std::string_view node, double x0, double y0,
                                       double z0, double x1, double y1, double z1, std::string_view colour,
                                       std::string_view label) {
    return exportLine(doc, node, P3(x0, y0, z0), P3(x1, y1, z1), colour, label);
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, double x0, double y0, double x1, double y1,
                                       std::string_view colour, std::string_view label) {
    return exportLine(doc, P2(x0, y0), P2(x1, y1), colour, label);
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, std::string_view node, double x0, double y0,
                                       double x1, double y1, std::string_view colour,
                                       std::string_view label) {
    return exportLine(doc, node, P2(x0, y0), P2(x1, y1), colour, label);
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, const P3& a, const P3& b,
                                       const ParamPair& values, std::string_view colour,
                                       std::string_view label) {
    return emit(doc, std::nullopt, line_values_record(a, b, values, colour, label));
}
std::ofstream& CDGDocument::exportLine(std::string_view doc, std::string_view node, const P3& a, const P3& b,
                                       const ParamPair& values, std::string_view colour,
                                       std::string_view label) {
    return emit(doc, node, line_values_record(a, b, values, colour, label));
}

std::ofstream& CDGDocument::exportVector(std::string_view doc, const P3& base, const P3& direction,
                                         std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt, vector_record(base, direction, colour, label));
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, std::string_view node, const P3& base,
                                         const P3& direction, std::string_view colour,
                                         std::string_view label) {
    return emit(doc, node, vector_record(base, direction, colour, label));
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, double x, double y, double z, double dx,
                                         double dy, double dz, std::string_view colour,
                                         std::string_view label) {
    return exportVector(doc, P3(x, y, z), P3(dx, dy, dz), colour, label);
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, std::string_view node, double x, double y,
                                         double z, double dx, double dy, double dz, std::string_view colour,
                                         std::string_view label) {
    return exportVector(doc, node, P3(x, y, z), P3(dx, dy, dz), colour, label);
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, double x, double y, double dx, double dy,
                                         std::string_view colour, std::string_view label) {
    return exportVector(doc, P2(x, y), P2(dx, dy), colour, label);
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, std::string_view node, double x, double y,
                                         double dx, double dy, std::string_view colour,
                                         std::string_view label) {
    return exportVector(doc, node, P2(x, y), P2(dx, dy), colour, label);
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, const P3& base, const P3& direction,
                                         const ParamPair& values, std::string_view colour,
                                         std::string_view label) {
    return emit(doc, std::nullopt,
                Record('v').pt(base).pt(direction).col(colour).par(values, true, true).txt(label));
}
std::ofstream& CDGDocument::exportVector(std::string_view doc, std::string_view node, const P3& base,
                                         const P3& direction, const ParamPair& values,
                                         std::string_view colour, std::string_view label) {
    return emit(doc, node, Record('v').pt(base).pt(direction).col(colour).par(values, true, true).txt(label));
}

std::ofstream& CDGDocument::exportArc(std::string_view doc, const P3& centre, const P3& start,
                                      const P3& normal, double sweep, std::string_view colour,
                                      std::string_view label) {
    return emit(doc, std::nullopt,
                arc_record(centre, start, normal, {sweep, 0.0}, false, nullptr, colour, label));
}
std::ofstream& CDGDocument::exportArc(std::string_view doc, std::string_view node, const P3& centre,
                                      const P3& start, const P3& normal, double sweep,
                                      std::string_view colour, std::string_view label) {
    return emit(doc, node, arc_record(centre, start, normal, {sweep, 0.0}, false, nullptr, colour, label));
}
std::ofstream& CDGDocument::exportArc(std::string_view doc, const P3& centre, const P3& start,
                                      const P3& normal, double sweep, const ParamPair& values,
                                      std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt,
                arc_record(centre, start, normal, {sweep, 0.0}, false, &values, colour, label));
}
std::ofstream& CDGDocument::exportArc(std::string_view doc, std::string_view node, const P3& centre,
                                      const P3& start, const P3& normal, double sweep,
                                      const ParamPair& values, std::string_view colour,
                                      std::string_view label) {
    return emit(doc, node, arc_record(centre, start, normal, {sweep, 0.0}, false, &values, colour, label));
}
std::ofstream& CDGDocument::exportArc(std::string_view doc, const P3& start, const P3& mid, const P3& end,
                                      const P3& centre, std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt, four_point_arc(start, mid, end, centre, colour, label));
}
std::ofstream& CDGDocument::exportArc(std::string_view doc, std::string_view node, const P3& start,
                                      const P3& mid, const P3& end, const P3& centre, std::string_view colour,
                                      std::string_view label) {
    return emit(doc, node, four_point_arc(start, mid, end, centre, colour, label));
}

std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, const P3& start, const P3& mid,
                                                const P3& end, std::string_view colour,
                                                std::string_view label) {
    return exportArc(doc, start, mid, end, circumcentre(start, mid, end), colour, label);
}
std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, std::string_view node, const P3& start,
                                                const P3& mid, const P3& end, std::string_view colour,
                                                std::string_view label) {
    return exportArc(doc, node, start, mid, end, circumcentre(start, mid, end), colour, label);
}
std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, double x0, double y0, double z0,
                                                double xm, double ym, double zm, double x1, double y1,
                                                double z1, std::string_view colour, std::string_view label) {
    return exportArcFromPoints(doc, P3(x0, y0, z0), P3(xm, ym, zm), P3(x1, y1, z1), colour, label);
}
std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, std::string_view node, double x0,
                                                double y0, double z0, double xm, double ym, double zm,
                                                double x1, double y1, double z1, std::string_view colour,
                                                std::string_view label) {
    return exportArcFromPoints(doc, node, P3(x0, y0, z0), P3(xm, ym, zm), P3(x1, y1, z1), colour, label);
}
std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, double x0, double y0, double xm,
                                                double ym, double x1, double y1, std::string_view colour,
                                                std::string_view label) {
    return exportArcFromPoints(doc, P2(x0, y0), P2(xm, ym), P2(x1, y1), colour, label);
}
std::ofstream& CDGDocument::exportArcFromPoints(std::string_view doc, std::string_view node, double x0,
                                                double y0, double xm, double ym, double x1, double y1,
                                                std::string_view colour, std::string_view label) {
    return exportArcFromPoints(doc, node, P2(x0, y0), P2(xm, ym), P2(x1, y1), colour, label);
}

std::ofstream& CDGDocument::exportHelix(std::string_view doc, const P3& centre, const P3& start,
                                        const P3& axis, double sweep, double rise, std::string_view colour,
                                        std::string_view label) {
    return emit(doc, std::nullopt,
                arc_record(centre, start, axis, {sweep, rise}, true, nullptr, colour, label));
}
std::ofstream& CDGDocument::exportHelix(std::string_view doc, std::string_view node, const P3& centre,
                                        const P3& start, const P3& axis, double sweep, double rise,
                                        std::string_view colour, std::string_view label) {
    return emit(doc, node, arc_record(centre, start, axis, {sweep, rise}, true, nullptr, colour, label));
}
std::ofstream& CDGDocument::exportHelix(std::string_view doc, const P3& centre, const P3& start,
                                        const P3& axis, double sweep, double rise, const ParamPair& values,
                                        std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt,
                arc_record(centre, start, axis, {sweep, rise}, true, &values, colour, label));
}
std::ofstream& CDGDocument::exportHelix(std::string_view doc, std::string_view node, const P3& centre,
                                        const P3& start, const P3& axis, double sweep, double rise,
                                        const ParamPair& values, std::string_view colour,
                                        std::string_view label) {
    return emit(doc, node, arc_record(centre, start, axis, {sweep, rise}, true, &values, colour, label));
}

std::ofstream& CDGDocument::exportCircle(std::string_view doc, const P3& centre, const P3& normal,
                                         double radius, std::string_view colour, std::string_view label) {
    return emit(doc, std::nullopt, circle_record(centre, normal, radius, colour, label));
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, std::string_view node, const P3& centre,
                                         const P3& normal, double radius, std::string_view colour,
                                         std::string_view label) {
    return emit(doc, node, circle_record(centre, normal, radius, colour, label));
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, const P2& centre, double radius,
                                         std::string_view colour, std::string_view label) {
    return exportCircle(doc, P3(centre), P3(0.0, 0.0, 1.0), radius, colour, label);
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, std::string_view node, const P2& centre,
                                         double radius, std::string_view colour, std::string_view label) {
    return exportCircle(doc, node, P3(centre), P3(0.0, 0.0, 1.0), radius, colour, label);
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, double cx, double cy, double cz, double nx,
                                         double ny, double nz, double radius, std::string_view colour,
                                         std::string_view label) {
    return exportCircle(doc, P3(cx, cy, cz), P3(nx, ny, nz), radius, colour, label);
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, std::string_view node, double cx, double cy,
                                         double cz, double nx, double ny, double nz, double radius,
                                         std::string_view colour, std::string_view label) {
    return exportCircle(doc, node, P3(cx, cy, cz), P3(nx, ny, nz), radius, colour, label);
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, double cx, double cy, double radius,
                                         std::string_view colour, std::string_view label) {
    return exportCircle(doc, P2(cx, cy), radius, colour, label);
}
std::ofstream& CDGDocument::exportCircle(std::string_view doc, std::string_view node, double cx, double cy,
                                         double radius, std::string_view colour, std::string_view label) {
    return exportCircle(doc, node, P2(cx, cy), radius, colour, label);
}

std::ofstream& CDGDocument::exportEllipse(std::string_view doc, const P3& centre, const P3& major_end,
                                          const P3& minor_end, std::string_view colour,
                                          std::string_view label) {
    return emit(doc, std::nullopt, Record('E').pt(centre).pt(major_end).pt(minor_end).col(colour).txt(label));
}
std::ofstream& CDGDocument::exportEllipse(std::string_view doc, std::string_view node, const P3& centre,
                                          const P3& major_end, const P3& minor_end, std::string_view colour,
                                          std::string_view label) {
    return emit(doc, node, Record('E').pt(centre).pt(major_end).pt(minor_end).col(colour).txt(label));
}
std::ofstream& CDGDocument::exportEllipse(std::string_view doc, const P3& centre, const P3& major_end,
                                          const P3& minor_end, const ParamPair& angles,
                                          std::string_view colour, std::string_view label) {
    return emit(
        doc, std::nullopt,
        Record('e').pt(centre).pt(major_end).pt(minor_end).par(angles, true, true).col(colour).txt(label));
}
std::ofstream& CDGDocument::exportEllipse(std::string_view doc, std::string_view node, const P3& centre,
                                          const P3& major_end, const P3& minor_end, const ParamPair& angles,
                                          std::string_view colour, std::string_view label) {
    return emit(
        doc, node,
        Record('e').pt(centre).pt(major_end).pt(minor_end).par(angles, true, true).col(colour).txt(label));
}

std::ofstream& CDGDocument::exportTriangle(std::string_view doc, const P3& a, const P3& b, const P3& c,
                                           std::string_view label) {
    return emit(doc, std::nullopt, triangle_record(a, b, c, label));
}
std::ofstream& CDGDocument::exportTriangle(std::string_view doc, std::string_view node, const P3& a,
                                           const P3& b, const P3& c, std::string_view label) {
    return emit(doc, node, triangle_record(a, b, c, label));
}
std::ofstream& CDGDocument::exportTriangle(std::string_view doc, double ax, double ay, double az, double bx,
                                           double by, double bz, double cx, double cy, double cz,
                                           std::string_view label) {
    return exportTriangle(doc, P3(ax, ay, az), P3(bx, by, bz), P3(cx, cy, cz), label);
}
std::ofstream& CDGDocument::exportTriangle(std::string_view doc, std::string_view node, double ax, double ay,
                                           double az, double bx, double by, double bz, double cx, double cy,
                                           double cz, std::string_view label) {
    return exportTriangle(doc, node, P3(ax, ay, az), P3(bx, by, bz), P3(cx, cy, cz), label);
}
std::ofstream& CDGDocument::exportTriangle(std::string_view doc, double ax, double ay, double bx, double by,
                                           double cx, double cy, std::string_view label) {
    return exportTriangle(doc, P2(ax, ay), P2(bx, by), P2(cx, cy), label);
}
std::ofstream& CDGDocument::exportTriangle(std::string_view doc, std::string_view node, double ax, double ay,
                                           double bx, double by, double cx, double cy,
                                           std::string_view label) {
    return exportTriangle(doc, node, P2(ax, ay), P2(bx, by), P2(cx, cy), label);
}

std::ofstream& CDGDocument::exportTool(std::string_view doc, const P3& tip, const ParamPair& shape,
                                       const ParamPair& size, std::string_view label) {
    return emit(doc, std::nullopt,
                Record('t').pt(tip).par(shape, true, true).par(size, true, true).txt(label));
}
std::ofstream& CDGDocument::exportTool(std::string_view doc, std::string_view node, const P3& tip,
                                       const ParamPair& shape, const ParamPair& size,
                                       std::string_view label) {
    return emit(doc, node, Record('t').pt(tip).par(shape, true, true).par(size, true, true).txt(label));
}

std::ofstream& CDGDocument::exportWorkplane(std::string_view doc, Matrix16 matrix, std::string_view label) {
    return emit(doc, std::nullopt, workplane_record(matrix, label));
}
std::ofstream& CDGDocument::exportWorkplane(std::string_view doc, std::string_view node, Matrix16 matrix,
                                            std::string_view label) {
    return emit(doc, node, workplane_record(matrix, label));
}

std::ofstream& CDGDocument::exportInformation(std::string_view doc, std::string_view text) {
    return emit(doc, std::nullopt, Record('I').txt(text));
}

// ---- The file ----------------------------------------------------------------------------------------

std::ofstream& CDGDocument::flushDoc(std::string_view doc) {
    Table& t = table();
    const std::lock_guard<std::mutex> guard(t.lock);
    Document& d = t.docs[fileName(doc)];
    if (d.open) {
        close_implicit_node(d);
        d.stream.flush();
    }
    return d.stream;
}

void CDGDocument::closeDoc(std::string_view doc) {
    Table& t = table();
    const std::lock_guard<std::mutex> guard(t.lock);
    const auto it = t.docs.find(fileName(doc));
    if (it != t.docs.end() && it->second.open) close_document(it->second);
}

std::ofstream& CDGDocument::getOFStream(std::string_view doc) {
    return open_document(doc).stream;
}

int CDGDocument::injectDoc(std::string_view doc, std::string_view source) {
    const std::string source_file = fileName(source);
    if (source_file == fileName(doc)) return 0;
    flushDoc(source);

    std::ifstream in(source_file, std::ios::binary);
    if (!in) return 0;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string_view rest(text);
    const std::size_t first_break = rest.find('\n');
    std::string_view first_line = rest.substr(0, first_break);
    if (first_line.ends_with('\r')) first_line.remove_suffix(1);
    if (first_line != header) return 0;
    rest = first_break == std::string_view::npos ? std::string_view() : rest.substr(first_break + 1);

    // Keep the copy's nodes balanced: depth counts the nodes the copy itself opened.
    std::vector<std::string_view> records;
    std::uint32_t depth = 0;
    while (!rest.empty()) {
        const std::size_t br = rest.find('\n');
        std::string_view line = rest.substr(0, br);
        rest = br == std::string_view::npos ? std::string_view() : rest.substr(br + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (line[0] == 'U' || line[0] == 'u') {
            ++depth;
        } else if (line[0] == 'O') {
            if (depth == 0) continue;
            --depth;
        }
        records.push_back(line);
    }
    Document& d = open_document(doc);
    for (const std::string_view r : records)
        put_record(d, r);
    for (; depth > 0; --depth)
        put_record(d, "O");
    return 1;
}

// ---- Immediate mode ----------------------------------------------------------------------------------

void CDGDocument::imStart() {
    Table& t = table();
    const std::lock_guard<std::mutex> guard(t.lock);
    start_immediate_locked(t);
}

void CDGDocument::imPushNode(std::string_view name) {
    immediate(Record('U').txt(name));
}

void CDGDocument::imPopNode() {
    immediate(Record('O'));
}

void CDGDocument::imPoint(const P3& p, std::string_view colour, std::string_view label) {
    immediate(point_record(p, colour, label));
}

void CDGDocument::imLine(const P3& a, const P3& b, std::string_view colour, std::string_view label) {
    immediate(line_record(a, b, colour, label));
}

void CDGDocument::imArc(const P3& a, const P3& b, const P3& c, const P3& d, std::string_view colour,
                        std::string_view label) {
    immediate(four_point_arc(a, b, c, d, colour, label));
}

void CDGDocument::imVector(const P3& base, const P3& direction, std::string_view colour,
                           std::string_view label) {
    immediate(vector_record(base, direction, colour, label));
}

void CDGDocument::imWorkplane(Matrix16 matrix, std::string_view label) {
    immediate(workplane_record(matrix, label));
}

} // namespace lumet
