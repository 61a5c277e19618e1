#include "tools/cli/Diagnostics.h"

namespace arcline::cli {

bool Diagnostics::warn(int line, std::string text) {
    if (m_strict) return fail(line, std::move(text) + " [--strict]");
    if (m_warnings++ < max_kept) {
        m_items.push_back({line, std::move(text), false});
    } else {
        ++m_dropped;
    }
    return true;
}

bool Diagnostics::fail(int line, std::string text) {
    if (!m_failed) m_items.push_back({line, std::move(text), true});
    m_failed = true;
    return false;
}

} // namespace arcline::cli
