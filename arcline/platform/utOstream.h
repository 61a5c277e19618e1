#pragma once
// Text output stream of the library's objects. It wraps a standard stream; every type that prints itself
// has an operator<< for utOstream, and the standard-stream overloads wrap the stream in one.

#include <ostream>

class utOstream {
public:
    explicit utOstream(std::ostream& os) : m_os(&os) {}

    std::ostream& stream() const { return *m_os; }

    template <class T>
    utOstream& operator<<(const T& value) {
        *m_os << value;
        return *this;
    }
    utOstream& operator<<(std::ostream& (*manip)(std::ostream&)) {
        *m_os << manip;
        return *this;
    }

private:
    std::ostream* m_os;
};
