#pragma once
// The registry of named debug levels (dbgLevel and the geometry channels derived from it): levels register
// themselves at construction, in that order, and are found by name. The manager is made at its first use
// and never destroyed, so levels that are static objects may register and withdraw in any order of static
// construction and destruction.
//
// Hosts set levels by name, one at a time or from a text of settings
//     "arclinesorter=2,intersect=1"
// (items "NAME=LEVEL" separated by commas; spaces around names and levels are ignored, empty items
// skipped), which is also how set_levels_from_environment reads a variable such as ARCLINE_DEBUG. The
// library itself reads no variable: a host that wants the environment to steer its levels calls it.
//
// Threads: registration, lookup and setting are guarded by one lock; the levels themselves are atomic.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class dbgLevel;

class dbgLevelManager {
public:
    dbgLevelManager(const dbgLevelManager&) = delete;
    dbgLevelManager& operator=(const dbgLevelManager&) = delete;

    // The process's manager, made at the first call.
    static dbgLevelManager& instance();

    // The first registered level of that exact name; null when there is none.
    dbgLevel* find(std::string_view name) const;
    // Every registered level, in registration order.
    std::vector<dbgLevel*> levels() const;
    int size() const;

    // Sets the level of `name`; 0 when no level has that name.
    int set_level(std::string_view name, int level);
    // Applies a text of settings, all or nothing: every item is checked first, and on a fault no level
    // changes, 0 is returned and `error` (when given) says which item and why ("no debug level named
    // 'Intersect' (did you mean 'intersect'?)", "'intersect=x': the level is not a whole number from 0").
    // Returns 1 when every item was applied.
    int set_levels(std::string_view text, std::string* error = nullptr);
    // set_levels of the value of environment variable `variable`; 1 (nothing set) when it is unset or
    // empty. An error message starts with the variable's name.
    int set_levels_from_environment(const char* variable = "ARCLINE_DEBUG", std::string* error = nullptr);
    // Every registered level back to its default.
    void reset_levels();

    // Levels are whole numbers from 0 to this.
    static constexpr int max_level = 1000000;

private:
    friend class dbgLevel;
    dbgLevelManager() = default;
    ~dbgLevelManager() = default;

    void add(dbgLevel* level);
    void remove(dbgLevel* level);
    dbgLevel* find_locked(std::string_view name) const;

    mutable std::mutex m_mutex;
    std::vector<dbgLevel*> m_levels;
};
