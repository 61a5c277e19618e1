#include "tools/cli/TextScanner.h"

#include <charconv>
#include <system_error>

namespace arcline::cli {

void TextScanner::advance() {
    const char c = m_text[m_at++];
    if (c == '\n' || (c == '\r' && (m_at == m_text.size() || m_text[m_at] != '\n'))) ++m_line;
}

bool TextScanner::skip_space() {
    while (m_at < m_text.size() && is_space(m_text[m_at]))
        advance();
    return m_at < m_text.size();
}

std::string_view TextScanner::peek_word() {
    if (!skip_space()) return {};
    std::size_t end = m_at;
    while (end < m_text.size() && !is_space(m_text[end]))
        ++end;
    return m_text.substr(m_at, end - m_at);
}

bool TextScanner::read_char(char& c) {
    if (!skip_space()) return false;
    c = m_text[m_at++];
    return true;
}

bool TextScanner::read_word(std::string_view& word) {
    word = peek_word();
    m_at += word.size();
    return !word.empty();
}

template <class T>
bool TextScanner::read_number(T& v) {
    const std::string_view word = peek_word();
    if (word.empty()) return false;
    const char* first = word.data();
    const char* last = first + word.size();
    // from_chars takes no plus sign; a stream takes one before the digits.
    if (*first == '+' && first + 1 < last && ((first[1] >= '0' && first[1] <= '9') || first[1] == '.'))
        ++first;
    const std::from_chars_result r = std::from_chars(first, last, v);
    if (r.ec != std::errc()) return false;
    m_at += static_cast<std::size_t>(r.ptr - word.data());
    return true;
}

bool TextScanner::read_double(double& v) {
    return read_number(v);
}

bool TextScanner::read_int(int& v) {
    return read_number(v);
}

std::string_view TextScanner::rest_of_line() const {
    std::size_t end = m_at;
    while (end < m_text.size() && m_text[end] != '\n' && m_text[end] != '\r')
        ++end;
    return m_text.substr(m_at, end - m_at);
}

void TextScanner::skip_line() {
    while (m_at < m_text.size()) {
        const char c = m_text[m_at];
        advance();
        if (c == '\n') return;
        if (c == '\r') {
            if (m_at < m_text.size() && m_text[m_at] == '\n') advance();
            return;
        }
    }
}

} // namespace arcline::cli
