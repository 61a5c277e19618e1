#pragma once
// Progress and interruption of a long operation. The operation says how many steps it will make
// (set_range), reports each step (increment) and asks whether to go on (check); both answer 1 when the
// caller wants it to stop, and the operation then abandons its output and returns its "interrupted" code.
//
// An operation made of parts divides its progress into stages, consecutive fractions of the whole:
// next_stage(f) starts a stage of fraction f after the current one, remove_stage() ends the current stage and
// hands its fraction back so that the part running in it can divide it into stages of its own. set_range and
// increment count within the current stage; fraction_done() is the whole's progress from 0 to 1.
//
// The caller derives from this class to show progress (on_progress) or to stop on its own condition, or
// simply calls request_stop() from any thread: the request is an atomic flag, everything else belongs to
// the thread that runs the operation.

#include <atomic>

class velProgressBreak {
public:
    velProgressBreak() = default;
    velProgressBreak(const velProgressBreak&) = delete;
    velProgressBreak& operator=(const velProgressBreak&) = delete;
    virtual ~velProgressBreak() = default;

    // The operation will make `steps` increments from now; the count done starts again at 0.
    void set_range(int steps);
    // Advances by `steps`; 1 when the operation should stop.
    int increment(int steps = 1);
    // 1 when the operation should stop; does not advance.
    int check();

    // Asks the running operation to stop at its next increment or check. Safe from any thread.
    void request_stop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stop_requested() const { return m_stop.load(std::memory_order_relaxed); }

    int range() const { return m_range; }
    int done() const { return m_done; }

    // Starts a stage of `fraction` of the whole after the current one (range and count start again at 0).
    void next_stage(double fraction);
    // Ends the current stage and returns its fraction; the next stage starts where it started.
    double remove_stage();
    // Progress of the whole, 0 .. 1: the stages finished and the part of the current one counted.
    double fraction_done() const;

protected:
    // Called at every increment and check with the steps done so far and the range; answer true to stop.
    virtual bool on_progress(int /*done*/, int /*range*/) { return false; }

private:
    std::atomic<bool> m_stop{false};
    int m_range = 0;
    int m_done = 0;
    double m_stage_start = 0.0; // fractions of the whole
    double m_stage_size = 1.0;
};
