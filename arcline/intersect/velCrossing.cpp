#include "arcline/intersect/velCrossing.h"

velCrossingCurve velCrossing::inverse(velCrossingCurve c) {
    switch (c) {
    case velCrossingCurve1:
        return velCrossingCurve2;
    case velCrossingCurve2:
        return velCrossingCurve1;
    default:
        return velCrossingCurveUnknown;
    }
}

velCrossing velCrossing::mirrored() const {
    return {m_point, m_index2, m_param2, m_index1, m_param1, inverse_start(), m_alternate != 0 ? 3 : 0};
}

bool velCrossing::operator==(const velCrossing& o) const {
    return m_index1 == o.m_index1 && m_index2 == o.m_index2 && m_param1 == o.m_param1 &&
           m_param2 == o.m_param2 && m_start == o.m_start && m_alternate == o.m_alternate &&
           m_point == o.m_point;
}

utOstream& operator<<(utOstream& os, const velCrossing& c) {
    os << "velCrossing {\n";
    if (c.invalid()) return os << "invalid\n}\n";
    os << "position 1: parameter " << c.param1() << " curve " << c.index1() << '\n';
    os << "position 2: parameter " << c.param2() << " curve " << c.index2() << '\n';
    os << "start curve ";
    switch (c.start()) {
    case velCrossingCurve1:
        os << "1";
        break;
    case velCrossingCurve2:
        os << "2";
        break;
    default:
        os << "unknown";
        break;
    }
    os << '\n';
    if (c.alternate() != 0) {
        os << "alternate";
        if (c.alternate() == 1) os << " before";
        if (c.alternate() == 2) os << " after";
        os << '\n';
    }
    os << "position " << c.point() << '\n';
    return os << "}\n";
}

std::ostream& operator<<(std::ostream& os, const velCrossing& c) {
    utOstream out(os);
    out << c;
    return os;
}
