#include "arcline/platform/dbgLevelManager.h"

#include "arcline/platform/dbgLevel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Text made by appending, not by operator+ chains, which GCC 12 wrongly warns about (-Wrestrict).
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts)
        out.append(part);
    return out;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

dbgLevelManager& dbgLevelManager::instance() {
    // Never destroyed: levels that are static objects withdraw from it during static destruction.
    static dbgLevelManager* const manager = new dbgLevelManager;
    return *manager;
}

void dbgLevelManager::add(dbgLevel* level) {
    const std::lock_guard lock(m_mutex);
    m_levels.push_back(level);
}

void dbgLevelManager::remove(dbgLevel* level) {
    const std::lock_guard lock(m_mutex);
    std::erase(m_levels, level);
}

dbgLevel* dbgLevelManager::find_locked(std::string_view name) const {
    for (dbgLevel* level : m_levels)
        if (name == level->name()) return level;
    return nullptr;
}

dbgLevel* dbgLevelManager::find(std::string_view name) const {
    const std::lock_guard lock(m_mutex);
    return find_locked(name);
}

std::vector<dbgLevel*> dbgLevelManager::levels() const {
    const std::lock_guard lock(m_mutex);
    return m_levels;
}

int dbgLevelManager::size() const {
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(m_levels.size());
}

int dbgLevelManager::set_level(std::string_view name, int level) {
    dbgLevel* found = find(name);
    if (!found) return 0;
    found->set_level(level);
    return 1;
}

int dbgLevelManager::set_levels(std::string_view text, std::string* error) {
    std::vector<std::pair<dbgLevel*, int>> settings;
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return 0;
    };
    {
        const std::lock_guard lock(m_mutex);
        while (!text.empty()) {
            const std::size_t comma = text.find(',');
            const std::string_view item = trimmed(text.substr(0, comma));
            text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
            if (item.empty()) continue;
            const std::size_t eq = item.find('=');
            if (eq == std::string_view::npos) return fail(joined({"'", item, "': expected NAME=LEVEL"}));
            const std::string_view name = trimmed(item.substr(0, eq));
            const std::string_view value = trimmed(item.substr(eq + 1));
            int level = -1;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), level);
            if (value.empty() || ec != std::errc() || end != value.data() + value.size() || level < 0 ||
                level > max_level)
                return fail(joined(
                    {"'", item, "': the level is not a whole number from 0 to ", std::to_string(max_level)}));
            dbgLevel* found = find_locked(name);
            if (!found) {
                std::string why = joined({"no debug level named '", name, "'"});
                for (const dbgLevel* other : m_levels) {
                    if (same_ignoring_case(name, other->name())) {
                        why += joined({" (did you mean '", other->name(), "'?)"});
                        break;
                    }
                }
                return fail(std::move(why));
            }
            settings.emplace_back(found, level);
        }
    }
    // Outside the lock: a level-change function may look levels up.
    for (const auto& [level, value] : settings)
        level->set_level(value);
    return 1;
}

int dbgLevelManager::set_levels_from_environment(const char* variable, std::string* error) {
    const char* value = variable ? std::getenv(variable) : nullptr;
    if (!value || !*value) return 1;
    std::string why;
    if (set_levels(value, &why)) return 1;
    if (error) *error = joined({variable, ": ", why});
    return 0;
}

void dbgLevelManager::reset_levels() {
    for (dbgLevel* level : levels())
        level->set_level(level->default_level());
}
