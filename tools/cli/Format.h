#pragma once
// Number and text formatting shared by the arcline program's outputs.

#include <string>
#include <string_view>

namespace arcline::cli::format {

// The shortest text that reads back as the same double ("0.1", "1e+300"); "nan", "inf" and "-inf" for the
// values that are not finite.
std::string shortest(double v);
// A JSON number: shortest(v), or null when v is not finite (JSON has no infinities).
std::string json_number(double v);
// A JSON string literal with quotes; control characters as \u escapes, other bytes as they are.
std::string json_string(std::string_view s);
// A page coordinate for SVG: at most `decimals` decimals, trailing zeros dropped ("12.5", "-3").
std::string fixed(double v, int decimals = 3);
// A path command with one page point: "M12.5 -3".
std::string command(char op, double x, double y);
// "path:line", or "path" when the line is not known (0).
std::string where(const std::string& path, int line);
// Text for XML character data and attribute values: & < > " ' escaped; control characters other than tab
// become spaces (XML 1.0 forbids them).
std::string xml_escape(std::string_view s);

} // namespace arcline::cli::format
