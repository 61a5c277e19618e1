#include "arcline/platform/dbgLevel.h"

#include "arcline/platform/dbgLevelManager.h"

dbgLevel::dbgLevel(const char* name, const char* description, const char* help, int initial,
                   const char* source, void (*level_change)(int))
    : m_name(name ? name : ""), m_description(description ? description : ""), m_help(help ? help : ""),
      m_source(source ? source : ""), m_default(initial), m_level_change(level_change), m_level(initial) {
    dbgLevelManager::instance().add(this);
}

dbgLevel::dbgLevel(unregistered_t, const char* name, const char* description, const char* help)
    : m_name(name ? name : ""), m_description(description ? description : ""), m_help(help ? help : ""),
      m_source(""), m_default(0), m_level_change(nullptr), m_level(0) {}

dbgLevel::~dbgLevel() {
    dbgLevelManager::instance().remove(this);
}

dbgLevelManager* dbgLevel::get_manager_virtual() const {
    return &dbgLevelManager::instance();
}

int dbgLevel::type() const {
    return plain_type;
}

void dbgLevel::set_level(int level) {
    const int old = m_level.exchange(level, std::memory_order_relaxed);
    if (old != level && m_level_change) m_level_change(level);
}
