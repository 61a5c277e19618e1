#pragma once
// One record of a debug geometry document as CDGReader decodes it (see CDGDocument for the records and
// their fields). Packed values come back as they were stored: singles widened to double.

#include "arcline/debug/P3.h"

#include <string>
#include <vector>

namespace lumet {

struct CDGRecord {
    // A parameters field: two values and two flag bits.
    struct Params {
        double u = 0.0;
        double v = 0.0;
        bool a = false;
        bool b = false;
        bool operator==(const Params&) const = default;
    };

    // The code letter.
    char code = 0;
    // Point fields in record order.
    std::vector<P3> points;
    // The 16 elements of a matrix field (X and W records), in the order written.
    std::vector<double> matrix;
    // Parameters fields in record order.
    std::vector<Params> params;
    // Colour fields as "#" and six lower-case hexadecimal digits, the digit order of the text written.
    std::vector<std::string> colours;
    // The free text that ends the record (label, node name, information); empty for records without one.
    std::string text;
};

} // namespace lumet
