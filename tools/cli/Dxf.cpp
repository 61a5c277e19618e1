#include "tools/cli/Dxf.h"

#include "arcline/lists/velPolylineListIter.h"
#include "arcline/polyline/spans/velArc3Utils.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/Format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <system_error>

namespace arcline::cli {

namespace {

using format::quoted;

// ---- Vectors and DXF's object coordinate systems --------------------------------------------------------

struct V3 {
    double x = 0.0, y = 0.0, z = 0.0;
};
V3 operator+(const V3& a, const V3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator-(const V3& a, const V3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator*(double s, const V3& a) {
    return {s * a.x, s * a.y, s * a.z};
}
double dot(const V3& a, const V3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 cross(const V3& a, const V3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 unit(const V3& a) {
    const double l = std::sqrt(dot(a, a));
    return l > 0.0 ? (1.0 / l) * a : V3{0.0, 0.0, 1.0};
}
V3 v3(const giPoint3& p) {
    return {p.x, p.y, p.z};
}
giPoint3 gi(const V3& v) {
    return {v.x, v.y, v.z};
}

// The object coordinate system of an entity with normal (extrusion) n, by DXF's arbitrary axis rule. The
// normal +Z is the world system itself, mapped without rounding.
class Ocs {
public:
    explicit Ocs(const V3& normal) : m_n(unit(normal)) {
        m_world = m_n.x == 0.0 && m_n.y == 0.0 && m_n.z == 1.0;
        constexpr double limit = 1.0 / 64.0;
        m_ax = unit(std::abs(m_n.x) < limit && std::abs(m_n.y) < limit ? cross({0, 1, 0}, m_n)
                                                                       : cross({0, 0, 1}, m_n));
        m_ay = unit(cross(m_n, m_ax));
    }
    bool world() const { return m_world; }
    const V3& normal() const { return m_n; }
    V3 to_world(const V3& p) const { return m_world ? p : p.x * m_ax + p.y * m_ay + p.z * m_n; }
    V3 to_ocs(const V3& p) const { return m_world ? p : V3{dot(p, m_ax), dot(p, m_ay), dot(p, m_n)}; }

private:
    V3 m_n, m_ax, m_ay;
    bool m_world = true;
};

// Cosine and sine of an angle in degrees, exact at multiples of 90 degrees.
void direction(double degrees, double& c, double& s) {
    double a = std::fmod(degrees, 360.0);
    if (a < 0.0) a += 360.0;
    if (a == 0.0 || a == 90.0 || a == 180.0 || a == 270.0) {
        const int q = static_cast<int>(a / 90.0);
        static constexpr double cs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        c = cs[q][0];
        s = cs[q][1];
        return;
    }
    const double r = a * std::numbers::pi / 180.0;
    c = std::cos(r);
    s = std::sin(r);
}

// ---- Group pairs ----------------------------------------------------------------------------------------

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

struct Group {
    int code = 0;
    std::string_view value; // trimmed
    int line = 0;           // line of the value
};

class GroupReader {
public:
    explicit GroupReader(std::string_view text) : m_text(text) {}

    // The next pair; false at the end of the text or after a fault.
    bool next(Group& g, Diagnostics& diag) {
        std::string_view code_line, value_line;
        if (!line(code_line)) return false;
        const int code_at = m_line;
        const std::string_view code = trim(code_line);
        const std::from_chars_result r = std::from_chars(code.data(), code.data() + code.size(), g.code);
        if (code.empty() || r.ec != std::errc() || r.ptr != code.data() + code.size())
            return diag.fail(code_at, "DXF group code " + quoted(code) + " is not a number");
        if (!line(value_line))
            return diag.fail(code_at, "DXF group " + std::to_string(g.code) + " has no value");
        g.value = trim(value_line);
        g.line = m_line;
        return true;
    }

private:
    // The next line without its line break ("\n", "\r\n" or "\r").
    bool line(std::string_view& out) {
        if (m_at >= m_text.size()) return false;
        std::size_t end = m_at;
        while (end < m_text.size() && m_text[end] != '\n' && m_text[end] != '\r')
            ++end;
        out = m_text.substr(m_at, end - m_at);
        m_at = end;
        if (m_at < m_text.size() && m_text[m_at] == '\r') ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '\n' && (m_at == end || m_text[m_at - 1] == '\r')) ++m_at;
        ++m_line;
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 0;
};

// ---- Entities -------------------------------------------------------------------------------------------

struct Entity {
    std::string type;
    int line = 0; // of its "0" group's value
    std::vector<Group> groups;
};

// A vertex of a 2D polyline in its object coordinate system, with the bulge of the span after it.
struct Vertex {
    double x = 0.0, y = 0.0, z = 0.0;
    double bulge = 0.0;
};

class Builder {
public:
    Builder(Dxf::List& out, Diagnostics& diag) : m_out(out), m_diag(diag) {}

    // The number of group `code`, or `fallback` when the entity has none. False after a fault.
    bool number(const Entity& e, int code, double& v, double fallback = 0.0) {
        v = fallback;
        for (const Group& g : e.groups)
            if (g.code == code) return parse(e, g, v);
        return true;
    }
    bool parse(const Entity& e, const Group& g, double& v) {
        const char* first = g.value.data();
        const char* last = first + g.value.size();
        if (first != last && *first == '+') ++first;
        const std::from_chars_result r = std::from_chars(first, last, v);
        if (g.value.empty() || r.ec != std::errc() || r.ptr != last)
            return m_diag.fail(g.line, e.type + " group " + std::to_string(g.code) + ": " + quoted(g.value) +
                                           " is not a number");
        if (!std::isfinite(v))
            return m_diag.fail(g.line, e.type + " group " + std::to_string(g.code) + ": " + quoted(g.value) +
                                           " is not finite");
        return true;
    }
    bool point(const Entity& e, int code, V3& p) {
        return number(e, code, p.x) && number(e, code + 10, p.y) && number(e, code + 20, p.z);
    }
    bool normal(const Entity& e, V3& n) {
        if (!number(e, 210, n.x, 0.0) || !number(e, 220, n.y, 0.0) || !number(e, 230, n.z, 1.0)) return false;
        if (dot(n, n) == 0.0) n = {0.0, 0.0, 1.0}; // no direction: the default
        return true;
    }

    void line(const Entity& e) {
        V3 a, b;
        if (!point(e, 10, a) || !point(e, 11, b)) return;
        auto p = std::make_shared<velPolyArcLineDouble>();
        p->add_pos(gi(a));
        p->add_pos(gi(b));
        append(std::move(p));
    }

    void point_entity(const Entity& e) {
        V3 a;
        if (!point(e, 10, a)) return;
        auto p = std::make_shared<velPolyArcLineDouble>();
        p->add_pos(gi(a));
        append(std::move(p));
    }

    // ARC (sweep from start to end angle, anticlockwise about the normal) and CIRCLE.
    void arc(const Entity& e, bool circle) {
        V3 c, n;
        double r = 0.0, a0 = 0.0, a1 = 360.0;
        if (!point(e, 10, c) || !number(e, 40, r) || !normal(e, n)) return;
        if (!circle && (!number(e, 50, a0) || !number(e, 51, a1))) return;
        if (!(r > 0.0)) {
            m_diag.warn(e.line, e.type + " of radius " + format::shortest(r) + " skipped");
            return;
        }
        double sweep = circle ? 360.0 : std::fmod(a1 - a0, 360.0);
        if (sweep <= 0.0) sweep += 360.0; // equal angles: the whole circle
        const Ocs ocs(n);
        auto at = [&](double degrees) {
            double cs = 0.0, sn = 0.0;
            direction(degrees, cs, sn);
            return gi(ocs.to_world({c.x + r * cs, c.y + r * sn, c.z}));
        };
        auto p = std::make_shared<velPolyArcLineDouble>();
        p->add_pos(at(a0));
        if (sweep >= 360.0) { // two halves: three points with equal ends make no arc
            p->add_arc(at(a0 + 90.0), at(a0 + 180.0));
            p->add_arc(at(a0 + 270.0), at(a0));
        } else {
            p->add_arc(at(a0 + 0.5 * sweep), at(circle ? a0 + sweep : a1));
        }
        append(std::move(p));
    }

    void lwpolyline(const Entity& e) {
        V3 n;
        double flags = 0.0, elevation = 0.0, count = -1.0;
        if (!normal(e, n) || !number(e, 70, flags) || !number(e, 38, elevation) || !number(e, 90, count))
            return;
        std::vector<Vertex> vertices;
        for (const Group& g : e.groups) {
            double v = 0.0;
            if (g.code != 10 && g.code != 20 && g.code != 42) continue;
            if (!parse(e, g, v)) return;
            if (g.code == 10) {
                vertices.push_back({v, 0.0, elevation, 0.0});
            } else if (vertices.empty()) {
                m_diag.fail(g.line,
                            "LWPOLYLINE group " + std::to_string(g.code) + " before its first vertex");
                return;
            } else {
                (g.code == 20 ? vertices.back().y : vertices.back().bulge) = v;
            }
        }
        if (count >= 0.0 && count != static_cast<double>(vertices.size()) &&
            !m_diag.warn(e.line, "LWPOLYLINE announces " + format::shortest(count) + " vertices and holds " +
                                     std::to_string(vertices.size())))
            return;
        polyline2d(e, vertices, (static_cast<long long>(flags) & 1) != 0, Ocs(n));
    }

    // POLYLINE and its VERTEX entities.
    void polyline(const Entity& head, const std::vector<Entity>& vertex_entities) {
        V3 n, dummy;
        double flags = 0.0;
        if (!normal(head, n) || !number(head, 70, flags) || !point(head, 10, dummy)) return;
        const long long f = static_cast<long long>(flags);
        if (f & (16 | 64)) {
            unread("POLYLINE (polygon or polyface mesh)", head.line);
            return;
        }
        const bool three_d = (f & 8) != 0;
        std::vector<Vertex> vertices;
        for (const Entity& v : vertex_entities) {
            V3 p;
            double bulge = 0.0, vflags = 0.0;
            if (!point(v, 10, p) || !number(v, 42, bulge) || !number(v, 70, vflags)) return;
            if (static_cast<long long>(vflags) & 16) continue; // a spline frame control point
            vertices.push_back({p.x, p.y, three_d ? p.z : dummy.z, three_d ? 0.0 : bulge});
        }
        polyline2d(head, vertices, (f & 1) != 0, three_d ? Ocs({0, 0, 1}) : Ocs(n));
    }

    void unread(const std::string& type, int line) {
        auto [it, fresh] = m_unread.try_emplace(type, 0, line);
        ++it->second.first;
    }

    // One warning per kind of entity not read, in the order of their first lines.
    void finish() {
        std::vector<std::pair<int, std::string>> kinds;
        for (const auto& [type, seen] : m_unread)
            kinds.emplace_back(seen.second, std::to_string(seen.first) + " " + type + " entit" +
                                                (seen.first == 1 ? "y" : "ies") +
                                                " not read (the first here)");
        std::sort(kinds.begin(), kinds.end());
        for (const auto& [line, text] : kinds)
            if (!m_diag.warn(line, text)) return;
    }

private:
    void append(velAbsPolyArcLinecoPrg line) {
        velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(m_out).insert_last(std::move(line));
    }

    // Vertices in the entity's object coordinate system, the bulge of each span on its first vertex.
    void polyline2d(const Entity& e, std::vector<Vertex> v, bool closed, const Ocs& ocs) {
        if (v.empty()) {
            m_diag.warn(e.line, e.type + " without vertices skipped");
            return;
        }
        const bool repeat =
            closed && v.size() > 1 &&
            (v.back().x != v.front().x || v.back().y != v.front().y || v.back().z != v.front().z);
        if (repeat) {
            v.push_back(v.front());
            v.back().bulge = 0.0;
        } else if (closed && v.size() > 1) {
            // Already ends on its start: the closing span is there.
        }
        auto world = [&](double x, double y, double z) { return gi(ocs.to_world({x, y, z})); };
        auto p = std::make_shared<velPolyArcLineDouble>();
        p->add_pos(world(v[0].x, v[0].y, v[0].z));
        for (std::size_t i = 1; i < v.size(); ++i) {
            const Vertex& a = v[i - 1];
            const Vertex& b = v[i];
            if (a.bulge == 0.0) {
                p->add_pos(world(b.x, b.y, b.z));
            } else {
                const double p0[2] = {a.x, a.y}, p1[2] = {b.x, b.y};
                double mid[2];
                velCirbul::cbbump(p0, p1, a.bulge, mid);
                p->add_arc(world(mid[0], mid[1], 0.5 * (a.z + b.z)), world(b.x, b.y, b.z));
            }
        }
        append(std::move(p));
    }

    Dxf::List& m_out;
    Diagnostics& m_diag;
    std::map<std::string, std::pair<int, int>> m_unread; // type: count, first line
};

// ---- Writing --------------------------------------------------------------------------------------------

class Writer {
public:
    std::string text;

    void group(int code, std::string_view value) {
        text += std::to_string(code);
        text += '\n';
        text += value;
        text += '\n';
    }
    void number(int code, double v) {
        char s[32];
        const std::to_chars_result r = std::to_chars(s, s + sizeof s, v, std::chars_format::general, 17);
        group(code, std::string_view(s, static_cast<std::size_t>(r.ptr - s)));
    }
    void integer(int code, long long v) { group(code, std::to_string(v)); }
    // The head of an entity: type, handle, layer.
    void entity(std::string_view type, std::string_view subclass) {
        group(0, type);
        handle();
        group(100, "AcDbEntity");
        group(8, "0");
        group(100, subclass);
    }
    void handle() {
        char s[20];
        const std::to_chars_result r = std::to_chars(s, s + sizeof s, m_next_handle++, 16);
        std::string h(s, r.ptr);
        for (char& c : h)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        group(5, h);
    }
    void normal(const Ocs& ocs) {
        if (ocs.world()) return;
        number(210, ocs.normal().x);
        number(220, ocs.normal().y);
        number(230, ocs.normal().z);
    }
    unsigned long long next_handle() const { return m_next_handle; }

private:
    unsigned long long m_next_handle = 0x100;
};

void write_line(Writer& w, const giPoint3& a, const giPoint3& b) {
    w.entity("LINE", "AcDbLine");
    w.number(10, a.x);
    w.number(20, a.y);
    w.number(30, a.z);
    w.number(11, b.x);
    w.number(21, b.y);
    w.number(31, b.z);
}

// An arc through three points as an ARC in its own plane (anticlockwise about its normal).
void write_arc(Writer& w, const giPoint3& s, const giPoint3& m, const giPoint3& e) {
    giPoint3 centre;
    double r = 0.0;
    velArc3Utils::get_centre_and_radius(s, e, m, centre, r);
    const V3 n = cross(v3(m) - v3(s), v3(e) - v3(m));
    if (!(r > 0.0) || dot(n, n) == 0.0) {
        write_line(w, s, e);
        return;
    }
    const Ocs ocs(n);
    const V3 c = ocs.to_ocs(v3(centre)), a = ocs.to_ocs(v3(s)), b = ocs.to_ocs(v3(e));
    constexpr double degrees = 180.0 / std::numbers::pi;
    w.entity("ARC", "AcDbCircle");
    w.number(10, c.x);
    w.number(20, c.y);
    w.number(30, c.z);
    w.number(40, r);
    w.normal(ocs);
    w.group(100, "AcDbArc");
    w.number(50, std::atan2(a.y - c.y, a.x - c.x) * degrees);
    w.number(51, std::atan2(b.y - c.y, b.x - c.x) * degrees);
}

} // namespace

bool Dxf::is_binary(std::string_view text) {
    return text.starts_with("AutoCAD Binary DXF");
}

bool Dxf::looks_like(std::string_view text) {
    if (is_binary(text)) return true;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trim(text.substr(at, end - at));
        if (!line.empty()) return line == "0" || line == "999";
        at = end + 1;
    }
    return false;
}

void Dxf::read(std::string_view text, List& out, Diagnostics& diag) {
    if (is_binary(text)) {
        diag.fail(1, "binary DXF is not read: save the drawing as ASCII DXF");
        return;
    }
    GroupReader in(text);
    Builder build(out, diag);
    Group g;
    bool have = in.next(g, diag);
    std::string section;
    bool eof = false, entities = false;
    std::optional<Entity> open_polyline; // a POLYLINE waiting for its SEQEND
    std::vector<Entity> vertices;
    auto close_polyline = [&](bool seqend) {
        if (!open_polyline) return;
        if (!seqend) diag.warn(open_polyline->line, "POLYLINE without SEQEND");
        build.polyline(*open_polyline, vertices);
        open_polyline.reset();
        vertices.clear();
    };
    while (have && !diag.failed()) {
        if (g.code != 0) { // the groups of a section's head, tables and blocks
            have = in.next(g, diag);
            continue;
        }
        const std::string type(g.value);
        const int line = g.line;
        if (type == "EOF") {
            eof = true;
            break;
        }
        if (type == "SECTION") {
            have = in.next(g, diag);
            if (have && g.code == 2) {
                section = g.value;
                entities = entities || section == "ENTITIES";
                have = in.next(g, diag);
            }
            continue;
        }
        Entity e{type, line, {}};
        have = in.next(g, diag);
        while (have && g.code != 0) {
            e.groups.push_back(g);
            have = in.next(g, diag);
        }
        if (diag.failed()) break;
        if (type == "ENDSEC") {
            close_polyline(false);
            section.clear();
            continue;
        }
        if (section != "ENTITIES") continue;
        if (type == "VERTEX") {
            if (open_polyline) {
                vertices.push_back(std::move(e));
            } else if (!diag.warn(line, "VERTEX without a POLYLINE skipped")) {
                break;
            }
            continue;
        }
        if (type == "SEQEND") {
            close_polyline(true);
            continue;
        }
        close_polyline(false);
        if (type == "LINE") {
            build.line(e);
        } else if (type == "ARC") {
            build.arc(e, false);
        } else if (type == "CIRCLE") {
            build.arc(e, true);
        } else if (type == "LWPOLYLINE") {
            build.lwpolyline(e);
        } else if (type == "POLYLINE") {
            open_polyline = std::move(e);
        } else if (type == "POINT") {
            build.point_entity(e);
        } else {
            build.unread(type, line);
        }
    }
    if (diag.failed()) return;
    close_polyline(false);
    build.finish();
    if (!entities && !diag.warn(0, "no ENTITIES section: no geometry")) return;
    if (!eof) diag.warn(0, "no EOF: the file may be cut short");
}

Dxf::Written Dxf::write(const velPolylineListIter& list) {
    Written result;
    Writer w;
    const std::unique_ptr<velPolylineListIter> it(list.create_new());
    int empty = 0, split = 0;
    std::string body;
    std::swap(w.text, body);
    for (it->reset(); ++*it;) {
        const int n = it->num_pos();
        if (n == 0) {
            ++empty;
            continue;
        }
        auto pos = [&](int i) { return it->get_pos(i); };
        if (n == 1) {
            w.entity("POINT", "AcDbPoint");
            w.number(10, pos(0).x);
            w.number(20, pos(0).y);
            w.number(30, pos(0).z);
            continue;
        }
        bool flat = true, straight = true;
        for (int i = 0; i < n; ++i) {
            flat = flat && pos(i).z == pos(0).z;
            if (i + 1 < n && !it->span_linear(i)) {
                straight = false;
                flat = flat && it->get_mid_pos(i).z == pos(0).z;
            }
        }
        const bool closed = n >= 3 && pos(n - 1) == pos(0);
        if (flat) {
            const int m = closed ? n - 1 : n;
            w.entity("LWPOLYLINE", "AcDbPolyline");
            w.integer(90, m);
            w.integer(70, closed ? 1 : 0);
            if (pos(0).z != 0.0) w.number(38, pos(0).z);
            for (int i = 0; i < m; ++i) {
                w.number(10, pos(i).x);
                w.number(20, pos(i).y);
                if (i + 1 < n && !it->span_linear(i)) {
                    const giPoint3 a = pos(i), b = pos(i + 1), mid = it->get_mid_pos(i);
                    const double p0[2] = {a.x, a.y}, p1[2] = {b.x, b.y}, pm[2] = {mid.x, mid.y};
                    double bulge = 0.0;
                    velCirbul::cbmpbu(p0, p1, pm, bulge);
                    if (bulge != 0.0) w.number(42, bulge);
                }
            }
        } else if (straight) {
            w.entity("POLYLINE", "AcDb3dPolyline");
            w.integer(66, 1);
            w.number(10, 0.0);
            w.number(20, 0.0);
            w.number(30, 0.0);
            w.integer(70, closed ? 9 : 8);
            for (int i = 0; i < (closed ? n - 1 : n); ++i) {
                w.entity("VERTEX", "AcDbVertex");
                w.group(100, "AcDb3dPolylineVertex");
                w.number(10, pos(i).x);
                w.number(20, pos(i).y);
                w.number(30, pos(i).z);
                w.integer(70, 32);
            }
            w.group(0, "SEQEND");
            w.handle();
            w.group(100, "AcDbEntity");
            w.group(8, "0");
        } else {
            ++split;
            for (int i = 0; i + 1 < n; ++i) {
                if (it->span_linear(i)) {
                    write_line(w, pos(i), pos(i + 1));
                } else {
                    write_arc(w, pos(i), it->get_mid_pos(i), pos(i + 1));
                }
            }
        }
    }
    std::swap(w.text, body);
    // The head, now that the handles are known.
    w.group(999, "arcline");
    w.group(0, "SECTION");
    w.group(2, "HEADER");
    w.group(9, "$ACADVER");
    w.group(1, "AC1015");
    w.group(9, "$HANDSEED");
    {
        char s[20];
        const std::to_chars_result r = std::to_chars(s, s + sizeof s, w.next_handle(), 16);
        std::string h(s, r.ptr);
        for (char& c : h)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        w.group(5, h);
    }
    w.group(0, "ENDSEC");
    w.group(0, "SECTION");
    w.group(2, "ENTITIES");
    w.text += body;
    w.group(0, "ENDSEC");
    w.group(0, "EOF");
    result.text = std::move(w.text);
    if (empty > 0)
        result.notes.push_back(std::to_string(empty) + " empty polyline(s) not written: DXF has none");
    if (split > 0)
        result.notes.push_back(std::to_string(split) +
                               " polyline(s) neither flat nor straight written as LINE and ARC entities, one "
                               "per span: DXF polylines hold arcs only in one plane");
    return result;
}

} // namespace arcline::cli
