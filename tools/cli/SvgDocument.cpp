#include "tools/cli/SvgDocument.h"

#include "tools/cli/Format.h"

#include <cstdio>

namespace arcline::cli {

using format::fixed;
using format::xml_escape;

namespace {

// Left edge of the legend: right of the longest scale bar (a quarter of the fitted size) and its label.
constexpr double legend_gap = 40.0;
constexpr double font_size = 12.0;

std::string quoted(double v) {
    std::string out = "\"";
    out += fixed(v);
    out += '"';
    return out;
}

} // namespace

SvgDocument::SvgDocument(const SvgPage& page, std::string_view title, std::string_view background)
    : m_page(&page) {
    m_text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=" +
             quoted(page.width()) + " height=" + quoted(page.height()) + " viewBox=\"0 0 " +
             fixed(page.width()) + " " + fixed(page.height()) +
             "\" font-family=\"sans-serif\" font-size=" + quoted(font_size) + ">\n";
    line("<title>" + xml_escape(title) + "</title>");
    line("<rect width=\"100%\" height=\"100%\" fill=\"" + xml_escape(background) + "\"/>");
}

void SvgDocument::line(std::string_view text) {
    // Indentation stops at a fixed depth, so deep nesting costs no more than shallow.
    m_text.append(2 * static_cast<std::size_t>(std::min(m_depth, max_indent)), ' ');
    m_text += text;
    m_text += '\n';
}

void SvgDocument::open_group(std::string_view attributes) {
    line(attributes.empty() ? std::string("<g>") : "<g " + std::string(attributes) + ">");
    ++m_depth;
}

void SvgDocument::close_group() {
    if (m_depth <= 1) return;
    --m_depth;
    line("</g>");
}

void SvgDocument::element(std::string_view text) {
    line(text);
}

void SvgDocument::comment(std::string_view text) {
    std::string t(text);
    for (std::size_t at; (at = t.find("--")) != std::string::npos;)
        t.replace(at, 2, "- -");
    line("<!-- " + t + " -->");
}

void SvgDocument::scale_bar(std::string_view colour) {
    const double len = m_page->scale_bar_length();
    const double x0 = m_page->margin();
    const double x1 = x0 + len * m_page->scale();
    const double y = m_page->band_top() + 26.0;
    constexpr double tick = 5.0;
    char label[32];
    std::snprintf(label, sizeof label, "%.6g", len);
    const std::string c = xml_escape(colour);
    open_group("class=\"scale-bar\" stroke=\"" + c + "\" fill=\"" + c + "\" data-length=\"" + label + "\"");
    line("<path d=\"M" + fixed(x0) + " " + fixed(y - tick) + "V" + fixed(y) + "H" + fixed(x1) + "V" +
         fixed(y - tick) + "\" fill=\"none\" stroke-width=\"1.5\"/>");
    line("<text x=" + quoted(0.5 * (x0 + x1)) + " y=" + quoted(y - 2.0 * tick) +
         " text-anchor=\"middle\" stroke=\"none\">" + label + "</text>");
    close_group();
}

void SvgDocument::legend_entry(int row, std::string_view colour, std::string_view text,
                               std::string_view text_colour) {
    const double x = m_page->margin() + m_page->scale_bar_length() * m_page->scale() + legend_gap;
    const double y = m_page->band_top() + 12.0 + legend_row * row;
    line("<rect x=" + quoted(x) + " y=" + quoted(y) + " width=\"18\" height=\"10\" fill=\"" +
         xml_escape(colour) + "\" fill-opacity=\"0.35\" stroke=\"" + xml_escape(colour) + "\"/>");
    line("<text x=" + quoted(x + 24.0) + " y=" + quoted(y + 9.5) + " fill=\"" + xml_escape(text_colour) +
         "\">" + xml_escape(text) + "</text>");
}

std::string SvgDocument::finish() {
    while (m_depth > 1)
        close_group();
    m_text += "</svg>\n";
    return std::move(m_text);
}

} // namespace arcline::cli
