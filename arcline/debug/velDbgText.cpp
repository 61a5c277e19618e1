#include "arcline/debug/velDbgText.h"

#include "arcline/debug/velStrokeFont.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <charconv>
#include <cstdio>
#include <utility>

namespace {

giWorkplane3 at_point(const giPoint3& p) {
    return giWorkplane3(p, {1.0, 0.0, 0.0}, {0.0, 1.0, 0.0});
}

} // namespace

velDbgText::velDbgText(std::string text, double height, const giPoint3& at)
    : m_text(std::move(text)), m_height(height), m_plane(at_point(at)) {}
velDbgText::velDbgText(int value, double height, const giPoint3& at)
    : velDbgText(std::to_string(value), height, at) {}
velDbgText::velDbgText(double value, double height, const giPoint3& at)
    : velDbgText(format(value), height, at) {}
velDbgText::velDbgText(std::string text, double height, const giWorkplane3& plane)
    : m_text(std::move(text)), m_height(height), m_plane(plane) {}
velDbgText::velDbgText(int value, double height, const giWorkplane3& plane)
    : velDbgText(std::to_string(value), height, plane) {}
velDbgText::velDbgText(double value, double height, const giWorkplane3& plane)
    : velDbgText(format(value), height, plane) {}

std::string velDbgText::format(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

void velDbgText::calculate() {
    clear();
    const double unit = m_height / velStrokeFont::cap_height;
    double x = 0.0, y = 0.0;
    for (const char c : m_text) {
        if (c == '\n') {
            x = 0.0;
            y -= velStrokeFont::line_spacing;
            continue;
        }
        std::string_view strokes = velStrokeFont::glyph(c);
        while (!strokes.empty()) {
            const std::size_t end = strokes.find(';');
            const std::string_view stroke = strokes.substr(0, end);
            strokes = end == std::string_view::npos ? std::string_view() : strokes.substr(end + 1);
            auto line = std::make_unique<velPolyArcLineDouble>();
            // Pairs of numbers separated by spaces; from_chars does not depend on the locale.
            const char* p = stroke.data();
            const char* const stop = p + stroke.size();
            auto next = [&](double& v) {
                while (p < stop && *p == ' ')
                    ++p;
                const auto [after, ec] = std::from_chars(p, stop, v);
                if (ec != std::errc()) return false;
                p = after;
                return true;
            };
            double gx = 0.0, gy = 0.0;
            while (next(gx) && next(gy))
                line->add_pos(m_plane.to_world(giPoint3((x + gx) * unit, (y + gy) * unit, 0.0)));
            add(std::move(line));
        }
        x += velStrokeFont::advance;
    }
}
