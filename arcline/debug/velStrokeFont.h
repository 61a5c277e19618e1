#pragma once
// A small stroke font for debug pictures: every glyph is a few straight strokes on a grid 4 units wide and
// 6 units high (the cap height), with the baseline at 0; a few marks reach below it (',' to -1). Letters
// are capitals (lower case is drawn as upper case); digits, space and the common punctuation of labels and
// numbers are there. A character without a glyph is drawn as '?'.

#include <string_view>

class velStrokeFont {
public:
    // The strokes of `c`: groups of "x y" pairs separated by ';', one group per stroke (a polyline through
    // its points). Empty for a space.
    static std::string_view glyph(char c);

    static constexpr double cap_height = 6.0;
    // Distance from one character's origin to the next.
    static constexpr double advance = 5.0;
    // Distance from one line's baseline to the next.
    static constexpr double line_spacing = 9.0;

private:
    velStrokeFont() = default;
};
