// Included first by scripts/unique_coverage.sh's clang build: clang 14 cannot use libstdc++ 12's
// std::source_location (it lacks the builtin that header needs), so this gives the part the library uses.
#pragma once
#include <version>
#if defined(__clang__) && !defined(__cpp_lib_source_location)
namespace std {
struct source_location {
    static constexpr source_location current(const char* file = __builtin_FILE(),
                                             unsigned line = __builtin_LINE()) noexcept {
        source_location s;
        s.m_file = file;
        s.m_line = line;
        return s;
    }
    constexpr const char* file_name() const noexcept { return m_file; }
    constexpr unsigned line() const noexcept { return m_line; }
    const char* m_file = "";
    unsigned m_line = 0;
};
} // namespace std
#endif
