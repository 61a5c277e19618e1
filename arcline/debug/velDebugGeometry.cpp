#include "arcline/debug/velDebugGeometry.h"

#include "arcline/debug/velDebugGeometryChannels.h"
#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/dbgLevelManager.h"
#include "arcline/platform/utAssert.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <string>
#include <utility>

std::atomic<velDebugGeometry::OutputFunction> velDebugGeometry::s_output{nullptr};
std::atomic<void*> velDebugGeometry::s_output_object{nullptr};
std::atomic<velDebugGeometry::PatternOutputFunction> velDebugGeometry::s_pattern_output{nullptr};
std::atomic<void*> velDebugGeometry::s_pattern_output_object{nullptr};

namespace {

// The answer to a lookup of a name that is no geometry channel: registered nowhere, so it stays off.
class velNoDebugGeometry : public velDebugGeometry {
public:
    velNoDebugGeometry() : velDebugGeometry(unregistered) {}
};

} // namespace

velDebugGeometry::velDebugGeometry(const char* name, const char* description, const char* help)
    : dbgLevel(name, description, help) {}

velDebugGeometry::velDebugGeometry(const char* name, const char* description, const char* help,
                                   void (*level_change)(int))
    : dbgLevel(name, description, help, 0, nullptr, level_change) {}

velDebugGeometry::velDebugGeometry(unregistered_t tag) : dbgLevel(tag, "", "", "") {}

velDebugGeometry::~velDebugGeometry() = default;

dbgLevelManager* velDebugGeometry::get_manager_virtual() const {
    return get_manager();
}

int velDebugGeometry::type() const {
    return geometry_type;
}

dbgLevelManager* velDebugGeometry::get_manager() {
    velDebugGeometryChannels::define();
    return &dbgLevelManager::instance();
}

velDebugGeometry& velDebugGeometry::get_from_manager(const char* name) {
    dbgLevel* level = get_manager()->find(name ? name : "");
    if (level && level->type() == geometry_type) return static_cast<velDebugGeometry&>(*level);
    UT_REPORT_REFUSAL("velDebugGeometry::get_from_manager() No debug geometry channel of this name",
                      "velDebugGeometry::get_from_manager");
    static velNoDebugGeometry* const none = new velNoDebugGeometry;
    return *none;
}

void velDebugGeometry::set_output_function(OutputFunction function, void* object) {
    s_output_object.store(object, std::memory_order_relaxed);
    s_output.store(function, std::memory_order_relaxed);
}

void velDebugGeometry::set_pattern_output_function(PatternOutputFunction function, void* object) {
    s_pattern_output_object.store(object, std::memory_order_relaxed);
    s_pattern_output.store(function, std::memory_order_relaxed);
}

void velDebugGeometry::copy_iter(const velPolylineListIter& geometry, const char* name, int level) const {
    const OutputFunction out = get_output_function();
    if (!out || !on(level) || geometry.size() < 1) return;
    out(get_output_object(), &geometry, std::string(this->name()) + ":" + (name ? name : ""));
}

void velDebugGeometry::copy(velDebugGeometryConverter& converter, const char* name, int level) const {
    if (!active(level)) return;
    converter.calculate();
    copy_iter(converter.iterator(), name, level);
}

void velDebugGeometry::pattern(torCurvePtr3ListIT& curves, const char* name, int level) const {
    const PatternOutputFunction out = get_pattern_output_function();
    if (!out || !on(level) || curves.size() < 1) return;
    out(s_pattern_output_object.load(std::memory_order_relaxed), curves,
        std::string(this->name()) + ":" + (name ? name : ""));
}

void velDebugGeometry::append_iter(const velPolylineListIter& geometry, const char* name, int level) {
    if (!active(level)) return;
    // Copied outside the lock: other threads append meanwhile.
    auto copies = std::make_shared<PolylineList>();
    {
        const std::unique_ptr<velPolylineListIter> walk(geometry.create_new());
        velAbsPolyArcLineListCursor cursor(*copies);
        walk->copy(cursor);
    }
    if (!copies->empty()) append_list(copies, name);
}

void velDebugGeometry::append(velDebugGeometryConverter& converter, const char* name, int level) {
    if (!active(level)) return;
    converter.calculate();
    append_iter(converter.iterator(), name, level);
}

void velDebugGeometry::append_points(itIterator<giPoint3>& points, const char* name, int level) {
    if (!active(level)) return;
    auto copies = std::make_shared<PolylineList>();
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(*copies);
    const std::unique_ptr<itIterator<giPoint3>> walk = points.clone();
    for (walk->reset(); ++*walk;) {
        auto point = std::make_shared<velPolyArcLineDouble>();
        point->add_pos(walk->current());
        cursor.insert_last(std::move(point));
    }
    if (!copies->empty()) append_list(copies, name);
}

void velDebugGeometry::append_geometry(velAbsPolyArcLine* polyline, const char* name) {
    if (!polyline) return;
    auto list = std::make_shared<PolylineList>();
    coDListcoCursor<velAbsPolyArcLinecoPrg>(*list).insert_last(velAbsPolyArcLinecoPrg(polyline));
    append_list(list, name);
}

void velDebugGeometry::append_drawing(std::unique_ptr<velAbsPolyArcLine> drawing, const char* name) {
    append_geometry(drawing.release(), name);
}

void velDebugGeometry::append_list(const coPrf<PolylineList>& list, const char* name) {
    const std::string_view key = name ? name : "";
    const std::lock_guard lock(m_mutex);
    int slot = 0;
    while (slot < m_names.size() && m_names[slot] != key)
        ++slot;
    if (slot == m_names.size()) {
        m_names.append(utString(key));
        m_geometry.append(std::make_shared<PolylineList>());
    }
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(*m_geometry[slot]);
    for (const velAbsPolyArcLinecoPrg& polyline : *list)
        cursor.insert_last(polyline);
}

int velDebugGeometry::num_names() const {
    const std::lock_guard lock(m_mutex);
    return m_names.size();
}

int velDebugGeometry::num_polylines() const {
    const std::lock_guard lock(m_mutex);
    int n = 0;
    for (int i = 0; i < m_geometry.size(); ++i)
        n += m_geometry[i]->size();
    return n;
}

void velDebugGeometry::flush_level() {
    if (on(1)) flush_func(this);
}

void velDebugGeometry::flush_all() {
    flush_func(nullptr);
}

void velDebugGeometry::flush_func(velDebugGeometry* channel) {
    for (dbgLevel* level : get_manager()->levels()) {
        if (level->type() != geometry_type || (channel && level != channel)) continue;
        auto& c = static_cast<velDebugGeometry&>(*level);
        // Taken out under the lock and handed over after it: the output function may append again.
        coPageArr<coPrf<PolylineList>> geometry;
        coPageArr<utString> names;
        {
            const std::lock_guard lock(c.m_mutex);
            if (c.m_names.empty()) continue;
            geometry = std::move(c.m_geometry);
            names = std::move(c.m_names);
        }
        for (int i = 0; i < names.size(); ++i) {
            const velAbsPolyArcLineListIter slot(*geometry[i]);
            c.copy_iter(slot, names[i].c_str(), 1);
        }
    }
}
