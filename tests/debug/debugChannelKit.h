#pragma once
// Shared pieces of the debug channel tests: an output function that records what channels hand over, and
// guards that put the process-wide output functions and levels back as they were.

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/dbgLevel.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dbgtest {

// One call of the output function: the label and the positions of every polyline handed over.
struct Call {
    std::string label;
    std::vector<std::vector<giPoint3>> polylines;
    int arcs = 0;
};

// Records every call of the output function; installed for its lifetime, then the previous output is back.
class Recorder {
public:
    Recorder()
        : m_previous(velDebugGeometry::get_output_function()),
          m_previous_object(velDebugGeometry::get_output_object()) {
        velDebugGeometry::set_output_function(&record, this);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    ~Recorder() { velDebugGeometry::set_output_function(m_previous, m_previous_object); }

    std::vector<Call> calls() const {
        const std::lock_guard lock(m_mutex);
        return m_calls;
    }
    int size() const {
        const std::lock_guard lock(m_mutex);
        return static_cast<int>(m_calls.size());
    }

private:
    static void record(void* object, const velPolylineListIter* geometry, utString label) {
        auto& self = *static_cast<Recorder*>(object);
        Call call{std::move(label), {}, 0};
        const std::unique_ptr<velPolylineListIter> it(geometry->create_new());
        for (it->reset(); ++*it;) {
            std::vector<giPoint3> positions;
            for (int i = 0; i < it->num_pos(); ++i) {
                positions.push_back(it->get_pos(i));
                if (i + 1 < it->num_pos() && !it->span_linear(i)) ++call.arcs;
            }
            call.polylines.push_back(std::move(positions));
        }
        const std::lock_guard lock(self.m_mutex);
        self.m_calls.push_back(std::move(call));
    }

    mutable std::mutex m_mutex;
    std::vector<Call> m_calls;
    velDebugGeometry::OutputFunction m_previous;
    void* m_previous_object;
};

// Sets a level for its lifetime.
class LevelGuard {
public:
    LevelGuard(dbgLevel& level, int value) : m_level(level), m_old(level.level()) { level.set_level(value); }
    LevelGuard(const LevelGuard&) = delete;
    LevelGuard& operator=(const LevelGuard&) = delete;
    ~LevelGuard() { m_level.set_level(m_old); }

private:
    dbgLevel& m_level;
    int m_old;
};

} // namespace dbgtest
