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

void velProgressBreak::next_stage(double fraction) {
    m_stage_start += m_stage_size;
    m_stage_size = fraction;
    set_range(0);
}

double velProgressBreak::remove_stage() {
    const double size = m_stage_size;
    m_stage_size = 0.0;
    set_range(0);
    return size;
}

double velProgressBreak::fraction_done() const {
    const double part = m_range > 0 ? static_cast<double>(m_done) / m_range : 0.0;
    const double f = m_stage_start + m_stage_size * (part < 1.0 ? part : 1.0);
    return f < 1.0 ? f : 1.0;
}
