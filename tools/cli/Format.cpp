#include "tools/cli/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace arcline::cli::format {

std::string shortest(double v) {
    char text[32];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

std::string json_number(double v) {
    return std::isfinite(v) ? shortest(v) : "null";
}

std::string json_string(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", static_cast<unsigned>(c));
                out += u;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
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

std::string where(const std::string& path, int line) {
    std::string out = path;
    if (line > 0) {
        out += ':';
        out += std::to_string(line);
    }
    return out;
}

std::string xml_escape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
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

} // namespace arcline::cli::format
