#pragma once
// A named debug geometry channel. Algorithms hand their intermediate geometry (the input of a sort, raw
// offsets, crossings found) to a channel; the host sets the channel's level and installs an output
// function, which receives the geometry with a label "channel:name". At level 0 (the default) a channel
// call costs one comparison and produces nothing; without an output function nothing is produced at any
// level. The channels of the whole kernel are defined by the library (velDebugGeometryChannels) and found
// by name:
//
//     static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("velPolylineUtils");
//     if (dbg.active(2)) { ... work that only the picture needs ... }
//     dbg.append_iter(raw, "raw offsets", 2);         // kept until a flush
//     dbg.append_star_drawing(p, 0.1, "corner", 2);   // drawings are built only when the channel is active
//     dbg.copy_iter(result, "result", 1);             // handed over at once
//     dbg.flush_level();                              // everything kept, one label after another
//
// Immediate output (copy_iter, copy, pattern) calls the output function at once. Accumulated output
// (append_*) keeps copies of the geometry under its name, in the order appended, until flush_level or
// flush_all hands every name's geometry over as one call, names in the order first appended.
//
// Hosts: set_output_function installs the receiver (velDebugGeometryCdgOutput writes debug geometry
// documents); levels are set through the manager (dbgLevelManager::set_levels, which also reads a
// variable such as ARCLINE_DEBUG when the host asks it to).
//
// Threads: appending and flushing hold the channel's mutex, so algorithms on several threads may append to
// one channel at once. The output function is called without a lock, from whichever thread appends or
// flushes: it must accept calls from any thread. Installing output functions is not synchronised with
// their use: the host installs them before work starts.

#include "arcline/debug/velDebugGeometryUtils.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coPrf.h"
#include "arcline/platform/dbgLevel.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/itIterator.h"
#include "arcline/platform/torCurvePtr3ListIT.h"
#include "arcline/platform/utString.h"

#include <atomic>
#include <memory>
#include <mutex>

class dbgLevelManager;
class velAbsPolyArcLine;
class velDebugGeometryConverter;
class velPolylineListIter;

class velDebugGeometry : public dbgLevel {
public:
    // Receives the geometry of one label. `geometry` is valid for the call only; read it through a clone
    // (create_new) when it must not move.
    using OutputFunction = void (*)(void* object, const velPolylineListIter* geometry, utString label);
    // Receives curves of the curve kernel (pattern()).
    using PatternOutputFunction = void (*)(void* object, torCurvePtr3ListIT& curves, const utString& label);
    using PolylineList = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

    // A channel at level 0, registered with the manager. The three texts are kept by pointer: static
    // strings. `level_change` is called with the new level whenever the level changes.
    velDebugGeometry(const char* name, const char* description, const char* help);
    velDebugGeometry(const char* name, const char* description, const char* help, void (*level_change)(int));
    ~velDebugGeometry() override;

    dbgLevelManager* get_manager_virtual() const override;
    // dbgLevel::geometry_type (0).
    int type() const override;
    // When an output function is installed and on(level): copies every polyline of `geometry` with
    // positions (through a clone, so the caller's iterator does not move) and keeps the copies under
    // `name`.
    virtual void append_iter(const velPolylineListIter& geometry, const char* name, int level);
    // When on(1): hands every name's geometry to the output function, names in the order first appended,
    // and empties the channel. At level 0 the geometry stays.
    virtual void flush_level();
    // Keeps `polyline` under `name`, whatever the level: the caller asks active() first. The channel takes
    // shared ownership of the polyline, which must have been made with new; null adds nothing.
    virtual void append_geometry(velAbsPolyArcLine* polyline, const char* name);

    // The channel of that name. A name that is no geometry channel is reported (ut_report_assert_failure)
    // and answered with a channel that stays off.
    static velDebugGeometry& get_from_manager(const char* name);
    // The registry of levels, with the library's channels defined (velDebugGeometryChannels).
    static dbgLevelManager* get_manager();

    // 1 when the level is at least `level`.
    int on(int level) const { return this->level() >= level; }
    // on(level) and an output function installed: whether anything handed over at `level` goes anywhere.
    bool active(int level) const { return on(level) && s_output.load(std::memory_order_relaxed) != nullptr; }
    void (*get_level_change_function() const)(int) { return level_change_function(); }

    // Immediate output: when `geometry` holds at least one polyline, an output function is installed and
    // on(level), calls it with the installed object, the geometry and the label "channel:name".
    void copy_iter(const velPolylineListIter& geometry, const char* name, int level) const;
    // copy_iter of what the converter calculates; it calculates only when the call would output.
    void copy(velDebugGeometryConverter& converter, const char* name, int level) const;
    // The same for curves, through the pattern output function.
    void pattern(torCurvePtr3ListIT& curves, const char* name, int level) const;

    // Accumulated output, each only when active(level).
    // append_iter of what the converter calculates; it calculates only when active.
    void append(velDebugGeometryConverter& converter, const char* name, int level);
    // Each point as a polyline of one position.
    void append_points(itIterator<giPoint3>& points, const char* name, int level);
    // The drawings of velDebugGeometryUtils of the same names.
    void append_line_drawing(const giPoint3& a, const giPoint3& b, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::line_drawing(a, b), name);
    }
    void append_arc_drawing(const giPoint3& start, const giPoint3& end, const giPoint3& mid, const char* name,
                            int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::arc_drawing(start, end, mid), name);
    }
    void append_arrow_drawing(const giPoint3& from, const giPoint3& to, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::arrow_drawing(from, to), name);
    }
    void append_arrow_drawing(const giPoint3& from, const giVector3& direction, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::arrow_drawing(from, direction), name);
    }
    void append_box_drawing(const giBox2& box, double z, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::box_drawing(box, z), name);
    }
    void append_box_drawing(const giBox3& box, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::box_drawing(box), name);
    }
    void append_circle_drawing(const giPoint3& centre, double radius, const giVector3& normal,
                               const char* name, int level) {
        if (active(level))
            append_drawing(velDebugGeometryUtils::circle_drawing(centre, radius, normal), name);
    }
    void append_cross_drawing(const giPoint3& centre, double size, int spokes, double angle, const char* name,
                              int level) {
        if (active(level))
            append_drawing(velDebugGeometryUtils::cross_drawing(centre, size, spokes, angle), name);
    }
    void append_polygon_drawing(const giPoint3& centre, double radius, int sides, double angle,
                                const char* name, int level) {
        if (active(level))
            append_drawing(velDebugGeometryUtils::polygon_drawing(centre, radius, sides, angle), name);
    }
    void append_star_drawing(const giPoint3& centre, double size, const char* name, int level) {
        if (active(level)) append_drawing(velDebugGeometryUtils::star_drawing(centre, size), name);
    }

    // Hands every geometry channel's geometry to the output function (each at level 1, as copy_iter
    // does), channels in registration order, and empties them all.
    static void flush_all();

    // Installs the output function and the object handed to it; null uninstalls.
    static void set_output_function(OutputFunction function, void* object);
    static OutputFunction get_output_function() { return s_output.load(std::memory_order_relaxed); }
    static void* get_output_object() { return s_output_object.load(std::memory_order_relaxed); }
    static void set_pattern_output_function(PatternOutputFunction function, void* object);
    static PatternOutputFunction get_pattern_output_function() {
        return s_pattern_output.load(std::memory_order_relaxed);
    }

    // What the channel holds: names, and polylines under all names.
    int num_names() const;
    int num_polylines() const;

protected:
    // A channel that no manager knows of (the answer to a lookup of an unknown name).
    explicit velDebugGeometry(unregistered_t tag);

private:
    // Keeps a drawing (never null) under `name`.
    void append_drawing(std::unique_ptr<velAbsPolyArcLine> drawing, const char* name);
    void append_list(const coPrf<PolylineList>& list, const char* name);
    // Hands over and empties the geometry of `channel`, or of every geometry channel when null.
    static void flush_func(velDebugGeometry* channel);

    mutable std::mutex m_mutex;
    // Slot i of m_geometry holds everything appended under the name in slot i of m_names, in order.
    coPageArr<coPrf<PolylineList>> m_geometry;
    coPageArr<utString> m_names;

    static std::atomic<OutputFunction> s_output;
    static std::atomic<void*> s_output_object;
    static std::atomic<PatternOutputFunction> s_pattern_output;
    static std::atomic<void*> s_pattern_output_object;
};
