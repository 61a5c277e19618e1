#pragma once
// Writes the text of an SVG picture on an SvgPage: the root element with the page size, a background,
// nested groups and elements, and the scale bar and legend in the band under the drawing.

#include "tools/cli/SvgPage.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace arcline::cli {

class SvgDocument {
public:
    // `title` becomes the picture's <title> (escaped here); `background` a colour filling the page.
    SvgDocument(const SvgPage& page, std::string_view title, std::string_view background);

    // A <g> with the given attribute text (already escaped), closed by close_group.
    void open_group(std::string_view attributes);
    void close_group();
    // One element's text (already escaped), on a line of its own at the current depth.
    void element(std::string_view text);
    // A comment; "--" in the text is broken up, as comments may not hold it.
    void comment(std::string_view text);

    // The scale bar at the left of the band: a bar of SvgPage::scale_bar_length() model units with end
    // ticks and its length written above.
    void scale_bar(std::string_view colour);
    // Legend line `row` (from 0) at the right of the scale bar: a swatch of `colour` and `text`.
    void legend_entry(int row, std::string_view colour, std::string_view text, std::string_view text_colour);

    // Closes open groups and the root; the document's text.
    std::string finish();

    // Deepest indentation of the text (two spaces per level).
    static constexpr int max_indent = 8;
    // Height of one legend line, and the band a picture with `rows` legend lines needs.
    static constexpr double legend_row = 16.0;
    static double band_height(int rows) { return std::max(40.0, 14.0 + legend_row * rows); }

private:
    void line(std::string_view text);

    const SvgPage* m_page;
    std::string m_text;
    int m_depth = 1;
};

} // namespace arcline::cli
