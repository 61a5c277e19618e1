#include "arcline/polyutils/velPolylineSorter.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/intersect/velIntersectorBSPNode.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/lists/velPolylineListIterAppend.h"
#include "arcline/platform/torCurvePtr3coDList.h"
#include "arcline/platform/torCurvePtr3coDListcoIterator.h"
#include "arcline/platform/velProgressBreak.h"
#include "arcline/polyline/utils/velPolylineUtils.h"

#include <cmath>

namespace {
// Crossings are drawn as circles of this fraction of the list's diagonal.
constexpr double crossing_mark_size = 0.002;

velDebugGeometry& channel() {
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("arclinesorter");
    return dbg;
}
} // namespace

struct velPolylineSorter::DebugEntry {
    std::unique_ptr<velAbsPolyArcLineListCursor> copy;
    std::string name;
    int level;
};

velPolylineSorter::velPolylineSorter() = default;
velPolylineSorter::~velPolylineSorter() = default;

int velPolylineSorter::all_closed(const velPolylineListIter&, int, void*) {
    return 1;
}

// --- Debug output

int velPolylineSorter::debug_on(int level) const {
    return channel().active(level) ? 1 : 0;
}

void velPolylineSorter::debug_list(const velPolylineListIter& list, const char* name, int level) {
    if (!channel().active(level)) return;
    if (m_delay_debug) {
        add_debug_iter(list, name, level);
        return;
    }
    channel().copy_iter(list, name, level);
}

void velPolylineSorter::add_debug_iter(const velPolylineListIter& list, const char* name, int level) {
    if (!channel().active(level)) return;
    auto entry = std::make_unique<DebugEntry>();
    entry->copy = std::make_unique<velAbsPolyArcLineListCursor>();
    std::unique_ptr<velPolylineListIter> it(list.create_new());
    it->reset();
    while (++*it) {
        entry->copy->create_last_polyline();
        velPolylineUtils::append(*it, *entry->copy);
    }
    entry->name = name;
    entry->level = level;
    m_debug_entries.push_back(std::move(entry));
}

void velPolylineSorter::output_debug_geometry() {
    for (const auto& e : m_debug_entries)
        channel().copy_iter(e->copy->iterator(), e->name.c_str(), e->level);
    m_debug_entries.clear();
}

void velPolylineSorter::debug_crossings(const velPolylineListIter& in, const char* name, int level) {
    if (!channel().active(level)) return;
    const giBox3 box = in.box(vel_3d_box);
    const double size = crossing_mark_size * std::hypot(box.max().x - box.min().x, box.max().y - box.min().y);
    const velCrossingcoPageArr& crossings = m_data.crossings();
    for (int i = 0; i < crossings.size(); ++i)
        if (!crossings.read(i).invalid())
            channel().append_circle_drawing(crossings.read(i).point(), size, giVector3(0.0, 0.0, 1.0), name,
                                            level);
    channel().flush_level();
}

void velPolylineSorter::debug_tree(const char* name) {
    if (!m_tree || !channel().active(2)) return;
    torCurvePtr3coDList curves;
    m_tree->picture(curves);
    torCurvePtr3coDListcoIterator it(curves);
    channel().pattern(it, name, 2);
}

void velPolylineSorter::tree_picture(torCurvePtr3coDList* debug) const {
    if (debug && m_tree) m_tree->picture(*debug);
}

// --- Progress

int velPolylineSorter::check_increment_progress() {
    if (!m_progress || m_stopped) return m_stopped;
    const int stop = m_progress_mode ? m_progress->check() : m_progress->increment();
    if (stop) {
        m_stopped = 1;
        m_segments.clear();
    }
    return m_stopped;
}

// --- Crossing queries

namespace {
// Of each crossing and its mirror, the record that comes first along the curves (lower curve, then lower
// rank on the curve).
bool first_of_pair(const velCrossingOrderTables& t, int r) {
    const int m = r ^ 1;
    if (t.curve(r) != t.curve(m)) return t.curve(r) < t.curve(m);
    return t.rank(r) < t.rank(m);
}
} // namespace

void velPolylineSorter::intersect(const velPolylineListIter& in, int second_boundary,
                                  velCrossingcoPageArr& out, torCurvePtr3coDList* debug) {
    out.clear();
    if (self_intersect(in, second_boundary, 0, 1, debug) <= 0) return;
    for (const int r : m_tables.order())
        if (first_of_pair(m_tables, r)) out.append(m_data.crossings().read(r));
}

void velPolylineSorter::intersect(const velPolylineListIter& a, const velPolylineListIter& b,
                                  velCrossingcoPageArr& out, torCurvePtr3coDList* debug) {
    out.clear();
    const velPolylineListIterAppend both(a, b);
    const int na = a.size();
    if (self_intersect(both, na, 0, 1, debug) <= 0) return;
    for (const int r : m_tables.order()) {
        const velCrossing& c = m_data.crossings().read(r);
        if (c.index1() >= na) continue; // the record seen from A
        out.append(velCrossing(c.point(), c.index1(), c.param1(), c.index2() - na, c.param2(), c.start(),
                               c.alternate()));
    }
}

void velPolylineSorter::self_intersect(const velPolylineListIter& in, velCrossingcoPageArr& out,
                                       torCurvePtr3coDList* debug) {
    intersect(in, -1, out, debug);
}

void velPolylineSorter::self_intersect_keep_duplicates(const velPolylineListIter& in,
                                                       velCrossingcoPageArr& out,
                                                       torCurvePtr3coDList* debug) {
    out.clear();
    if (self_intersect(in, -1, 0, 1, debug) <= 0) return;
    for (int r = 0; r < m_tables.num_records(); ++r)
        if (m_tables.valid(r)) out.append(m_data.crossings().read(r));
}

int velPolylineSorter::any_intersections(const velPolylineListIter& in, torCurvePtr3coDList* debug) {
    return self_intersect(in, -1, 0, 1, debug) > 0 ? 1 : 0;
}
