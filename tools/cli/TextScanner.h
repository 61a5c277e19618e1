#pragma once
// Reads words and numbers from text the way a C++ text stream extracts them: white space, line breaks
// included, is skipped before each item, and a number is the longest prefix of the next word that reads as
// one (the rest of the word stays unread). It counts lines for messages: "\n", "\r\n" and a lone "\r" each
// end a line.

#include <string_view>

namespace arcline::cli {

class TextScanner {
public:
    explicit TextScanner(std::string_view text) : m_text(text) {}

    // The line of the next unread character, from 1.
    int line() const { return m_line; }
    // Skips white space; false at the end of the text.
    bool skip_space();
    // The next word (up to white space), not consumed; empty at the end.
    std::string_view peek_word();

    bool read_char(char& c);
    bool read_word(std::string_view& word);
    // A number as from_chars reads it from the start of the next word ("+" allowed before a digit). Out of
    // range, or no number there: false, nothing consumed. "inf" and "nan" read; the caller checks.
    bool read_double(double& v);
    bool read_int(int& v);

    // The unread rest of the current line, without its line break.
    std::string_view rest_of_line() const;
    // Past the next line break, or to the end.
    void skip_line();

    static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

private:
    template <class T>
    bool read_number(T& v);
    // Consumes one character, counting line ends.
    void advance();

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
};

} // namespace arcline::cli
