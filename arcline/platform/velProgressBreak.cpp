#include "arcline/platform/velProgressBreak.h"

void velProgressBreak::set_range(int steps) {
    m_range = steps;
    m_done = 0;
}

int velProgressBreak::increment(int steps) {
    m_done += steps;
    return check();
}

int velProgressBreak::check() {
    if (on_progress(m_done, m_range)) request_stop();
    return stop_requested() ? 1 : 0;
}
