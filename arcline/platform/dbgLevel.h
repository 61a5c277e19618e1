#pragma once
// A named debug level: an integer that the host sets (its default until then) and that code reads to decide
// how much to check or show. Every level registers itself with dbgLevelManager when it is constructed and
// withdraws when it is destroyed, so hosts find levels by name. The name, description, help address and
// source path are kept by pointer: they must be static strings.
//
// Reading the level is one relaxed atomic load, so a host may change a level while algorithms run in other
// threads; an algorithm sees whichever value it reads.

#include <atomic>

class dbgLevelManager;

class dbgLevel {
public:
    // What type() answers: geometry channels (velDebugGeometry) and plain levels.
    static constexpr int geometry_type = 0;
    static constexpr int plain_type = 1;

    // A level at `initial`. `source` (may be null) is the source path of the code that reads the level.
    // `level_change` (may be null) is called with the new level, on the setter's thread, whenever
    // set_level changes the level.
    dbgLevel(const char* name, const char* description, const char* help, int initial = 0,
             const char* source = nullptr, void (*level_change)(int) = nullptr);
    dbgLevel(const dbgLevel&) = delete;
    dbgLevel& operator=(const dbgLevel&) = delete;
    virtual ~dbgLevel();

    // The manager the level is registered with.
    virtual dbgLevelManager* get_manager_virtual() const;
    // The kind of level object: plain_type here.
    virtual int type() const;

    const char* name() const { return m_name; }
    const char* description() const { return m_description; }
    const char* help() const { return m_help; }
    // Empty when none was given.
    const char* source() const { return m_source; }
    int default_level() const { return m_default; }
    int level() const { return m_level.load(std::memory_order_relaxed); }
    // Sets the level; the level-change function is called when the value changes.
    void set_level(int level);
    // The level-change function; null when none was given.
    void (*level_change_function() const)(int) { return m_level_change; }

protected:
    // A level that no manager knows of: it cannot be found or set by name.
    struct unregistered_t {};
    static constexpr unregistered_t unregistered{};
    dbgLevel(unregistered_t, const char* name, const char* description, const char* help);

private:
    const char* m_name;
    const char* m_description;
    const char* m_help;
    const char* m_source;
    int m_default;
    void (*m_level_change)(int);
    std::atomic<int> m_level;
};
