#pragma once
// Timing one operation over N runs and what it answered.
//
// Time is the CPU time of the calling thread (every library here works in the caller's thread), so that
// other programs on a shared machine slow a run only through the caches they share, not by taking the
// processor away. Each run is timed from the call that starts the operation to the moment its result
// exists; freeing the result (and the peer's own scratch objects) comes after the clock has stopped, for
// every library alike.

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

namespace compare {

// The size of a result, in the table's three columns.
struct Answer {
    static constexpr double none = std::numeric_limits<double>::quiet_NaN();

    long long loops = -1; // closed loops of a region (outer loops and holes); -1: not a region
    long long size = -1;  // spans (arcline) or vertices (peers) of all loops; -1: not counted
    double value = none;  // area of a region or a count (crossings, levels)
    double length = none; // length of the result's boundary, for the chord error of its area; not printed
};

struct Timing {
    int runs = 0;
    double median_ms = 0.0;
    double min_ms = 0.0;
};

struct Measured {
    Timing timing;
    Answer answer;
};

inline double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1e3 * static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_nsec);
}

inline Timing timing_of(std::vector<double> ms) {
    Timing t;
    t.runs = static_cast<int>(ms.size());
    if (ms.empty()) return t;
    std::sort(ms.begin(), ms.end());
    const std::size_t h = ms.size() / 2;
    t.median_ms = ms.size() % 2 ? ms[h] : 0.5 * (ms[h - 1] + ms[h]);
    t.min_ms = ms.front();
    return t;
}

// Runs `run` once untimed, then `repeat` times (at least once) on the clock. `run()` returns the result, an
// object that frees what it holds when destroyed; `summarise(result)` reads the answer of the untimed run.
//
// The untimed run warms the heap: the first library to run an operation would otherwise pay for the fresh
// pages that the process takes from the system (and that the others then reuse), which made arcline's first
// crossing run on segments_20k three times slower than its later ones.
template <class Run, class Summarise>
auto measure(int repeat, Run&& run, Summarise&& summarise) {
    const auto answer = summarise(run());
    std::vector<double> ms;
    for (int i = 0; i < std::max(repeat, 1); ++i) {
        const double start = thread_cpu_ms();
        const auto result = run();
        ms.push_back(thread_cpu_ms() - start);
    }
    return std::make_pair(timing_of(std::move(ms)), answer);
}

} // namespace compare
