#include "arcline/debug/CDGReader.h"

#include "arcline/debug/CDGDocument.h"

#include <array>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace lumet {

namespace {

// Index of each character in the alphabet, -1 outside it.
constexpr std::array<int, 256> make_index() {
    std::array<int, 256> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < CDGDocument::alphabet.size(); ++i)
        index[static_cast<unsigned char>(CDGDocument::alphabet[i])] = static_cast<int>(i);
    return index;
}
constexpr std::array<int, 256> char_index = make_index();

// Reads a packed field back as a little-endian bit stream.
class Unpacker {
public:
    explicit Unpacker(std::string_view packed) : m_in(packed) {}
    // The next `bits` bits (at most 32); false on a character outside the alphabet or the end of the field.
    bool take(int bits, std::uint64_t& value) {
        while (m_count < bits) {
            if (m_at >= m_in.size()) return false;
            const int v = char_index[static_cast<unsigned char>(m_in[m_at++])];
            if (v < 0) return false;
            m_acc |= static_cast<std::uint64_t>(v) << m_count;
            m_count += 6;
        }
        value = m_acc & ((std::uint64_t{1} << bits) - 1);
        m_acc >>= bits;
        m_count -= bits;
        return true;
    }
    bool take_single(double& value) {
        std::uint64_t bits = 0;
        if (!take(32, bits)) return false;
        value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        return true;
    }
    // The field is used up and its padding bits are zero.
    bool done() const { return m_at == m_in.size() && m_acc == 0; }

private:
    std::string_view m_in;
    std::size_t m_at = 0;
    std::uint64_t m_acc = 0;
    int m_count = 0;
};

// Field kinds of each record, in order: P point, C colour, R parameters, M matrix, T text (always last).
std::string_view layout(char code) {
    switch (code) {
    case 'U':
        return "T";
    case 'u':
        return "CT";
    case 'O':
        return "";
    case 'X':
        return "M";
    case 'x':
        return "";
    case 'P':
        return "PCT";
    case 'p':
        return "PCRT";
    case 'L':
        return "PPCT";
    case 'l':
        return "PPCRRT";
    case 'V':
        return "PPCT";
    case 'v':
        return "PPCRT";
    case 'A':
        return "PPPRCT";
    case 'a':
        return "PPPRRRCT";
    case 'F':
        return "PPPPCT";
    case 'E':
        return "PPPCT";
    case 'e':
        return "PPPRCT";
    case 'T':
        return "PPPT";
    case 't':
        return "PRRT";
    case 'W':
        return "MT";
    case 'I':
        return "T";
    default:
        return "?";
    }
}

bool fail(std::string* reason, std::string text) {
    if (reason) *reason = std::move(text);
    return false;
}

std::string describe(char code) {
    const auto u = static_cast<unsigned char>(code);
    if (u > 32 && u < 127) return std::string("'") + code + "'";
    static constexpr char hex[] = "0123456789abcdef";
    return std::string("0x") + hex[u >> 4] + hex[u & 15u];
}

} // namespace

std::optional<double> CDGReader::decodeNumber(std::string_view packed) {
    if (packed.size() != number_chars) return std::nullopt;
    Unpacker u(packed);
    double v = 0.0;
    if (!u.take_single(v) || !u.done()) return std::nullopt;
    return v;
}

std::optional<P3> CDGReader::decodePoint(std::string_view packed) {
    if (packed.size() != point_chars) return std::nullopt;
    Unpacker u(packed);
    P3 p;
    if (!u.take_single(p.x) || !u.take_single(p.y) || !u.take_single(p.z) || !u.done()) return std::nullopt;
    return p;
}

std::optional<CDGRecord::Params> CDGReader::decodeParams(std::string_view packed) {
    if (packed.size() != params_chars) return std::nullopt;
    Unpacker u(packed);
    CDGRecord::Params p;
    std::uint64_t a = 0, b = 0;
    if (!u.take_single(p.u) || !u.take_single(p.v) || !u.take(1, a) || !u.take(1, b) || !u.done())
        return std::nullopt;
    p.a = a != 0;
    p.b = b != 0;
    return p;
}

std::optional<std::string> CDGReader::decodeColour(std::string_view packed) {
    if (packed.size() != colour_chars) return std::nullopt;
    Unpacker u(packed);
    std::uint64_t value = 0;
    if (!u.take(24, value) || !u.done()) return std::nullopt;
    static constexpr char hex[] = "0123456789abcdef";
    std::string text = "#";
    for (int k = 0; k < 6; ++k)
        text += hex[(value >> (4 * k)) & 15u];
    return text;
}

bool CDGReader::parseRecord(std::string_view line, CDGRecord& out, std::string* reason) {
    out = CDGRecord{};
    if (line.empty()) return fail(reason, "empty record");
    out.code = line[0];
    const std::string_view kinds = layout(out.code);
    if (kinds == "?") return fail(reason, "unknown record code " + describe(out.code));
    std::string_view rest = line.substr(1);
    const std::string name = std::string("'") + out.code + "' record: ";
    for (const char kind : kinds) {
        switch (kind) {
        case 'P': {
            const auto p =
                rest.size() >= point_chars ? decodePoint(rest.substr(0, point_chars)) : std::nullopt;
            if (!p) return fail(reason, name + "bad point");
            out.points.push_back(*p);
            rest.remove_prefix(point_chars);
            break;
        }
        case 'C': {
            const auto c =
                rest.size() >= colour_chars ? decodeColour(rest.substr(0, colour_chars)) : std::nullopt;
            if (!c) return fail(reason, name + "bad colour");
            out.colours.push_back(*c);
            rest.remove_prefix(colour_chars);
            break;
        }
        case 'R': {
            const auto r =
                rest.size() >= params_chars ? decodeParams(rest.substr(0, params_chars)) : std::nullopt;
            if (!r) return fail(reason, name + "bad parameters");
            out.params.push_back(*r);
            rest.remove_prefix(params_chars);
            break;
        }
        case 'M': {
            for (int k = 0; k < 6; ++k) {
                const auto p =
                    rest.size() >= point_chars ? decodePoint(rest.substr(0, point_chars)) : std::nullopt;
                if (!p) return fail(reason, name + "bad matrix");
                for (const double v : {p->x, p->y, p->z})
                    out.matrix.push_back(v);
                rest.remove_prefix(point_chars);
            }
            out.matrix.resize(16); // the last point carries element 15 and two zeros
            break;
        }
        case 'T':
            out.text = std::string(rest);
            rest = {};
            break;
        default:
            break;
        }
    }
    if (!rest.empty()) return fail(reason, name + "unexpected characters after the fields");
    return true;
}

bool CDGReader::parse(std::string_view text, std::vector<CDGRecord>& out, Fault* fault) {
    int line_no = 0;
    auto next_line = [&](std::string_view& line) {
        if (text.empty()) return false;
        const std::size_t br = text.find('\n');
        line = text.substr(0, br);
        text = br == std::string_view::npos ? std::string_view() : text.substr(br + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ++line_no;
        return true;
    };
    auto report = [&](int line, std::string reason) {
        if (fault) *fault = Fault{line, std::move(reason)};
        return false;
    };
    std::string_view line;
    if (!next_line(line) || line != CDGDocument::header) return report(1, "no \"CDG1\" header");
    while (next_line(line)) {
        if (line.empty()) continue;
        CDGRecord record;
        std::string reason;
        if (!parseRecord(line, record, &reason)) return report(line_no, reason);
        out.push_back(std::move(record));
    }
    return true;
}

bool CDGReader::read(const std::string& path, std::vector<CDGRecord>& out, Fault* fault) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (fault) *fault = Fault{0, "cannot open " + path};
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parse(text, out, fault);
}

} // namespace lumet
