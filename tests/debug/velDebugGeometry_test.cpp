#include "debugChannelKit.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/debug/velDebugGeometryChannels.h"
#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/dbgLevelManager.h"
#include "arcline/platform/itRangeIterator.h"
#include "arcline/platform/torLine3.h"
#include "arcline/platform/utAssert.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <thread>
#include <utility>

namespace velDebugGeometry_test {

using namespace dbgtest;
using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

namespace {

std::unique_ptr<velPolyArcLineDouble> polyline(std::initializer_list<giPoint3> points) {
    auto p = std::make_unique<velPolyArcLineDouble>();
    for (const giPoint3& q : points)
        p->add_pos(q);
    return p;
}

void push(List& list, std::unique_ptr<velAbsPolyArcLine> p) {
    coDListcoCursor<velAbsPolyArcLinecoPrg>(list).insert_last(velAbsPolyArcLinecoPrg(std::move(p)));
}

// A converter that counts its calculations: the channel must not calculate what goes nowhere.
class Counting : public velDebugGeometryConverter {
public:
    void calculate() override {
        clear();
        ++count;
        add(polyline({{1, 2, 3}, {4, 5, 6}}));
    }
    int count = 0;
};

TEST(DebugGeometry, NothingWithoutAnOutputFunction) {
    const Recorder restores; // the previous output function, at the end
    velDebugGeometry::set_output_function(nullptr, nullptr);
    velDebugGeometry channel("test:no-output", "", "");
    const LevelGuard guard(channel, 1000);
    List list;
    push(list, polyline({{0, 0, 0}, {1, 0, 0}}));
    const velAbsPolyArcLineListIter it(list);
    Counting converter;
    channel.copy_iter(it, "a", 0);
    channel.append_iter(it, "a", 0);
    channel.copy(converter, "c", 0);
    EXPECT_EQ(channel.num_polylines(), 0);
    EXPECT_EQ(converter.count, 0);
}

TEST(DebugGeometry, FlushHandsOverNamesInOrderThenNothing) {
    Recorder rec;
    velDebugGeometry channel("test:flush", "", "");
    const LevelGuard guard(channel, 1);
    // An empty list is never handed over; a list of polylines without positions is, and copies leave it out.
    List empty;
    const velAbsPolyArcLineListIter it(empty);
    channel.copy_iter(it, "nothing", 1);
    channel.append_iter(it, "nothing", 1);
    EXPECT_EQ(channel.num_names(), 0);
    push(empty, std::make_unique<velPolyArcLineDouble>());
    channel.copy_iter(it, "hollow", 1);
    channel.append_iter(it, "hollow", 1);
    EXPECT_EQ(rec.size(), 1);
    EXPECT_EQ(channel.num_names(), 0);
    channel.append_geometry(polyline({{0, 0, 0}, {1, 0, 0}}).release(), "first");
    channel.append_geometry(polyline({{7, 7, 7}}).release(), "second");
    channel.append_geometry(polyline({{2, 0, 0}, {3, 0, 0}, {3, 1, 0}}).release(), "first");
    channel.append_geometry(nullptr, "third");
    // append_iter copies, and leaves the caller's iterator where it stood.
    List list;
    push(list, polyline({{5, 0, 0}, {6, 0, 0}}));
    velAbsPolyArcLineListIter at(list);
    at.set_index(0);
    channel.append_iter(at, "first", 1);
    EXPECT_EQ(at.index(), 0);
    list.begin()->get()->edit_pos(1, {9, 9, 9});
    EXPECT_EQ(channel.num_names(), 2);
    EXPECT_EQ(channel.num_polylines(), 4);
    channel.flush_level();
    const std::vector<Call> calls = rec.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].label, "test:flush:first");
    EXPECT_EQ(calls[1].polylines,
              (std::vector<std::vector<giPoint3>>{
                  {{0, 0, 0}, {1, 0, 0}}, {{2, 0, 0}, {3, 0, 0}, {3, 1, 0}}, {{5, 0, 0}, {6, 0, 0}}}));
    EXPECT_EQ(calls[2].label, "test:flush:second");
    EXPECT_EQ(calls[2].polylines, (std::vector<std::vector<giPoint3>>{{{7, 7, 7}}}));
    EXPECT_EQ(channel.num_names(), 0);
    channel.flush_level();
    velDebugGeometry::flush_all();
    EXPECT_EQ(rec.size(), 3);
}

TEST(DebugGeometry, ConvertersAreCalculatedOnlyWhenTheOutputGoesSomewhere) {
    Recorder rec;
    velDebugGeometry channel("test:converter", "", "");
    const LevelGuard guard(channel, 1);
    Counting converter;
    channel.copy(converter, "deep", 2);
    channel.append(converter, "deep", 2);
    EXPECT_EQ(converter.count, 0);
    channel.copy(converter, "now", 1);
    channel.append(converter, "later", 1);
    EXPECT_EQ(converter.count, 2);
    channel.flush_level();
    const std::vector<Call> calls = rec.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].label, "test:converter:now");
    EXPECT_EQ(calls[1].label, "test:converter:later");
    // calculate() starts afresh: one polyline each time.
    EXPECT_EQ(calls[1].polylines.size(), 1u);
}

TEST(DebugGeometry, PointsAreOnePositionEach) {
    Recorder rec;
    velDebugGeometry channel("test:points", "", "");
    const LevelGuard guard(channel, 2);
    const std::vector<giPoint3> corners{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    itRangeIterator points(corners);
    channel.append_points(points, "corners", 2);
    channel.append_points(points, "corners", 3);
    channel.flush_level();
    const std::vector<Call> calls = rec.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].polylines,
              (std::vector<std::vector<giPoint3>>{{{1, 2, 3}}, {{4, 5, 6}}, {{7, 8, 9}}}));
}

struct PatternRecord {
    std::vector<std::string> labels;
    int curves = 0;
};

void record_pattern(void* object, torCurvePtr3ListIT& curves, const utString& label) {
    auto& r = *static_cast<PatternRecord*>(object);
    r.labels.push_back(label);
    for (curves.reset(); ++curves;)
        ++r.curves;
}

TEST(DebugGeometry, PatternsGoToThePatternOutput) {
    PatternRecord got;
    const auto previous = velDebugGeometry::get_pattern_output_function();
    velDebugGeometry::set_pattern_output_function(&record_pattern, &got);
    velDebugGeometry channel("test:pattern", "", "");
    torCurvePtr3coDList curves;
    torCurvePtr3ListIT empty(curves);
    channel.set_level(1);
    channel.pattern(empty, "none", 1);
    coDListcoCursor<torCurvePtr3> cursor(curves);
    cursor.insert_last(std::make_shared<torLine3>(giPoint3(0, 0, 0), giPoint3(1, 1, 1)));
    cursor.insert_last(std::make_shared<torLine3>(giPoint3(1, 1, 1), giPoint3(2, 0, 0)));
    torCurvePtr3ListIT it(curves);
    channel.pattern(it, "rails", 2);
    channel.pattern(it, "rails", 1);
    velDebugGeometry::set_pattern_output_function(previous, nullptr);
    EXPECT_EQ(got.labels, std::vector<std::string>{"test:pattern:rails"});
    EXPECT_EQ(got.curves, 2);
}

TEST(DebugGeometry, TheKernelsChannelsAreRegisteredInOrderWithTheTablesLegends) {
    const auto table = velDebugGeometryChannels::channels();
    ASSERT_EQ(table.size(), 51u);
    std::vector<const dbgLevel*> registered;
    for (const dbgLevel* level : velDebugGeometry::get_manager()->levels())
        registered.push_back(level);
    std::size_t at = 0;
    std::set<std::string_view> names;
    for (const auto& c : table) {
        velDebugGeometry& channel = velDebugGeometry::get_from_manager(c.name);
        EXPECT_STREQ(channel.name(), c.name);
        EXPECT_STREQ(channel.description(), c.legend);
        EXPECT_EQ(channel.type(), 0);
        EXPECT_EQ(channel.get_manager_virtual(), velDebugGeometry::get_manager());
        EXPECT_EQ(channel.get_level_change_function(), nullptr);
        // Registration order follows the table.
        const auto found =
            std::find(registered.begin() + static_cast<std::ptrdiff_t>(at), registered.end(), &channel);
        ASSERT_NE(found, registered.end()) << c.name;
        at = static_cast<std::size_t>(found - registered.begin()) + 1;
        names.insert(c.name);
    }
    EXPECT_EQ(names.size(), 51u);
    const dbgLevel* boolean = velDebugGeometry::get_manager()->find("velarcline:boolean");
    ASSERT_NE(boolean, nullptr);
    EXPECT_EQ(boolean->type(), dbgLevel::plain_type);
    EXPECT_STREQ(boolean->description(), "Cancel boolean operation intersection check");
    EXPECT_STREQ(boolean->source(), "polyutils/velPolylineSorter");
    EXPECT_EQ(boolean->default_level(), 0);

    // An unknown name, or a plain level's, is reported and answered by a channel that stays off.
    static int reports;
    reports = 0;
    const ut::AssertHandler previous =
        ut::set_assert_handler([](const char*, int, const char*, const char*, const char*) { ++reports; });
    velDebugGeometry& none = velDebugGeometry::get_from_manager("no such channel");
    velDebugGeometry& plain = velDebugGeometry::get_from_manager("velarcline:boolean");
    ut::set_assert_handler(previous);
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(&none, &plain);
    EXPECT_EQ(none.on(1), 0);
    EXPECT_EQ(velDebugGeometry::get_manager()->find(none.name()), nullptr);
}

std::vector<int> changes;
void note_change(int level) {
    changes.push_back(level);
}

TEST(DebugGeometry, TheLevelChangeFunctionHearsEveryChange) {
    changes.clear();
    velDebugGeometry channel("test:change", "", "", &note_change);
    EXPECT_EQ(channel.get_level_change_function(), &note_change);
    channel.set_level(2);
    channel.set_level(2);
    ASSERT_TRUE(velDebugGeometry::get_manager()->set_levels("test:change=0"));
    EXPECT_EQ(changes, (std::vector<int>{2, 0}));
}

// Labels are "channel:name". flush_all hands over at level 1, channel by channel in registration order;
// a channel below that level is emptied without output, and flushing at level 0 keeps what it holds.
TEST(DebugGeometry, FlushAllTakesTheChannelsInRegistrationOrder) {
    Recorder rec;
    velDebugGeometry first("test:first", "", ""), second("test:second", "", ""), off("test:level0", "", "");
    const LevelGuard a(first, 1), b(second, 1);
    second.append_geometry(polyline({{0, 0, 0}}).release(), "x");
    first.append_geometry(polyline({{1, 0, 0}}).release(), "y");
    off.append_geometry(polyline({{0, 0, 0}}).release(), "kept");
    off.flush_level();
    EXPECT_EQ(off.num_polylines(), 1);
    velDebugGeometry::flush_all();
    EXPECT_EQ(off.num_polylines(), 0);
    const std::vector<Call> calls = rec.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].label, "test:first:y");
    EXPECT_EQ(calls[1].label, "test:second:x");

    List list;
    push(list, polyline({{0, 0, 0}, {1, 0, 0}}));
    first.copy_iter(velAbsPolyArcLineListIter(list), "deep", 2); // above the level: nothing
    EXPECT_EQ(rec.size(), 2);
}

// Eight threads append to one channel at once, with plain, copied and drawn geometry; one flush must hand
// over every polyline once. Run under the thread sanitizer by the tsan preset.
TEST(DebugGeometryThreads, EightThreadsAppendingLoseNothingAndDuplicateNothing) {
    Recorder rec;
    velDebugGeometry channel("test:threads", "", "");
    const LevelGuard guard(channel, 2);
    constexpr int threads = 8, each = 400;
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&channel, t] {
            List mine;
            for (int i = 0; i < each; ++i) {
                const giPoint3 tag(t, i, 0);
                switch (i % 3) {
                case 0:
                    channel.append_geometry(polyline({tag}).release(), "plain");
                    break;
                case 1: {
                    List one;
                    push(one, polyline({tag}));
                    channel.append_iter(velAbsPolyArcLineListIter(one), "copied", 2);
                    break;
                }
                default:
                    channel.append_line_drawing(tag, tag, i % 2 ? "drawn" : "plain", 2);
                }
            }
        });
    }
    for (std::thread& th : pool)
        th.join();
    EXPECT_EQ(channel.num_polylines(), threads * each);
    channel.flush_level();
    std::multiset<std::pair<int, int>> seen;
    for (const Call& call : rec.calls()) {
        for (const auto& p : call.polylines) {
            ASSERT_FALSE(p.empty());
            seen.emplace(static_cast<int>(p[0].x), static_cast<int>(p[0].y));
        }
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(threads * each));
    for (int t = 0; t < threads; ++t)
        for (int i = 0; i < each; ++i)
            EXPECT_EQ(seen.count({t, i}), 1u) << t << " " << i;
    EXPECT_EQ(rec.size(), 3);
}

} // namespace

} // namespace velDebugGeometry_test
