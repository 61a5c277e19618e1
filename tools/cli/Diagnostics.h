#pragma once
// What reading one input found: its faults and warnings with their lines, in order. Reading stops at the
// first fault; under --strict a warning is a fault. Of many warnings only the first max_kept are kept (a
// file of two million empty polylines is not two million messages); the rest are counted.

#include <string>
#include <vector>

namespace arcline::cli {

class Diagnostics {
public:
    struct Item {
        int line = 0; // from 1; 0 when no line applies
        std::string text;
        bool fault = false;
    };

    explicit Diagnostics(bool strict) : m_strict(strict) {}

    // A warning. False when it ends reading: under --strict it is kept as a fault marked "[--strict]".
    bool warn(int line, std::string text);
    // A fault; reading ends. Always false, so that a reader may `return diag.fail(...)`.
    bool fail(int line, std::string text);

    bool failed() const { return m_failed; }
    const std::vector<Item>& items() const { return m_items; }
    // Warnings past the first max_kept.
    long long warnings_dropped() const { return m_dropped; }

    static constexpr int max_kept = 20;

private:
    bool m_strict;
    bool m_failed = false;
    int m_warnings = 0;
    long long m_dropped = 0;
    std::vector<Item> m_items;
};

} // namespace arcline::cli
