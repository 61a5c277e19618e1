#pragma once
// Number and text formatting shared by the arcline program's outputs.

#include <string>
#include <string_view>

namespace arcline::cli::format {

// The shortest text that reads back as the same double ("0.1", "1e+300"); "nan", "inf" and "-inf" for the
// values that are not finite.
std::string shortest(double v);
// A page coordinate for SVG: at most `decimals` decimals, trailing zeros dropped ("12.5", "-3").
std::string fixed(double v, int decimals = 3);
// A path command with one page point: "M12.5 -3".
std::string command(char op, double x, double y);
// "3 loops", "1 loop": the count and the word that goes with it.
std::string plural(int n, const char* one, const char* many);
// "path:line", or "path" when the line is not known (0).
std::string where(const std::string& path, int line);

// `s` with every byte sequence that is not UTF-8 (stray continuation bytes, truncated or overlong
// sequences, surrogates, code points past U+10FFFF) replaced by U+FFFD. Valid text comes back unchanged.
std::string valid_utf8(std::string_view s);
// Text for XML character data and attribute values: valid_utf8, then & < > " ' escaped; control characters
// other than tab become spaces (XML 1.0 forbids them).
std::string xml_escape(std::string_view s);
// A word of an input file for a message: at most 32 characters, bytes outside printable ASCII as '?', in
// single quotes ('...' appended when cut).
std::string quoted(std::string_view word);

} // namespace arcline::cli::format
