#include "arcline/intersect/velCrossingcoPageArr.h"

#include <sstream>
#include <string>

utOstream& operator<<(utOstream& os, const velCrossingcoPageArr& arr) {
    os << "coPageArr {\n";
    os << "  size " << arr.size() << '\n';
    for (const velCrossing& c : arr) {
        // Each crossing in the target's number format, its lines indented.
        std::ostringstream text;
        text.copyfmt(os.stream());
        text << c;
        std::istringstream lines(text.str());
        for (std::string line; std::getline(lines, line);)
            os << "  " << line << '\n';
    }
    return os << "}\n";
}

std::ostream& operator<<(std::ostream& os, const velCrossingcoPageArr& arr) {
    utOstream out(os);
    out << arr;
    return os;
}
