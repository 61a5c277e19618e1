#include "tools/cli/Format.h"

#include <charconv>
#include <cstdint>
#include <system_error>

namespace arcline::cli::format {

std::string shortest(double v) {
    char text[32];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

std::string fixed(double v, int decimals) {
    char text[64];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return shortest(v); // too long for fixed notation: far off any page
    std::string out(text, r.ptr);
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0')
            out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0") out = "0";
    return out;
}

std::string command(char op, double x, double y) {
    std::string out(1, op);
    out += fixed(x);
    out += ' ';
    out += fixed(y);
    return out;
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string where(const std::string& path, int line) {
    std::string out = path;
    if (line > 0) {
        out += ':';
        out += std::to_string(line);
    }
    return out;
}

std::string valid_utf8(std::string_view s) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            out += s[i++];
            continue;
        }
        // Length of the sequence and the smallest code point it may hold (shorter forms are overlong).
        int len = 0;
        std::uint32_t cp = 0, least = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            len = 2, cp = b0 & 0x1Fu, least = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            len = 3, cp = b0 & 0x0Fu, least = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            len = 4, cp = b0 & 0x07u, least = 0x10000;
        }
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            ok = (b & 0xC0u) == 0x80u;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        ok = ok && cp >= least && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (ok) {
            out.append(s.substr(i, static_cast<std::size_t>(len)));
            i += static_cast<std::size_t>(len);
        } else {
            out += replacement; // one replacement per bad lead or stray byte
            ++i;
        }
    }
    return out;
}

std::string xml_escape(std::string_view s) {
    const std::string text = valid_utf8(s);
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += (static_cast<unsigned char>(c) < 0x20 && c != '\t') ? ' ' : c;
        }
    }
    return out;
}

std::string quoted(std::string_view word) {
    constexpr std::size_t most = 32;
    std::string out = "'";
    for (const char c : word.substr(0, most))
        out += (c >= ' ' && c < 127) ? c : '?';
    if (word.size() > most) out += "...";
    return out + "'";
}

} // namespace arcline::cli::format
