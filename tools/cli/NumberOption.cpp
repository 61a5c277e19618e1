#include "tools/cli/NumberOption.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace arcline::cli {

CLI::Validator finite_number(const char* name, NumberSign sign) {
    return CLI::Validator(
        [sign](std::string& text) -> std::string {
            double v = 0.0;
            const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
            const char* end = text.data() + text.size();
            const std::from_chars_result r = std::from_chars(begin, end, v);
            const bool number = r.ec == std::errc() && r.ptr == end && std::isfinite(v);
            if (number && sign == NumberSign::any) return {};
            if (number && sign == NumberSign::non_negative && v >= 0.0) return {};
            if (number && sign == NumberSign::positive && v > 0.0) return {};
            const char* tail = sign == NumberSign::non_negative ? " of at least 0"
                               : sign == NumberSign::positive   ? " greater than 0"
                                                                : "";
            return "'" + text + "' is not a finite number" + tail;
        },
        name);
}

} // namespace arcline::cli
