// Crossing records: text, start curves, mirrors, the array, the options block, extension crossings.

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velCrossing.h"
#include "arcline/intersect/velCrossingcoPageArr.h"
#include "arcline/intersect/velCrossingcoPageArrcoIterator.h"
#include "arcline/intersect/velExtensionCrossing.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace velCrossing_test {

namespace {

template <class T>
std::string text(const T& value) {
    std::ostringstream os;
    os << value;
    return os.str();
}

template <class T>
std::string ut_text(const T& value) {
    std::ostringstream os;
    utOstream out(os);
    out << value;
    return os.str();
}

// The text form of a crossing, whole for one, and the line each other start curve and alternate marker gives.
TEST(velCrossing, Dumps) {
    const velCrossing before(giPoint3(1, 2, 0), 0, 2.5, 1, 0.25, velCrossingCurve1, 1);
    EXPECT_EQ(text(before), "velCrossing {\n"
                            "position 1: parameter 2.5 curve 0\n"
                            "position 2: parameter 0.25 curve 1\n"
                            "start curve 1\n"
                            "alternate before\n"
                            "position (1, 2, 0)\n"
                            "}\n");
    EXPECT_EQ(ut_text(before), text(before));
    const std::pair<velCrossing, const char*> lines[] = {
        {velCrossing(giPoint3(0, 0, 0), 4, 0, 4, 3.75, 0), "\nstart curve unknown\nposition"},
        {velCrossing(giPoint3(0, 0, 0), 1, 1, 2, 2, velCrossingCurve2, 2),
         "\nstart curve 2\nalternate after\n"},
        {velCrossing(giPoint3(0, 0, 0), 1, 1, 2, 2, velCrossingCurve2, 3), "\nalternate\nposition"}};
    for (const auto& [c, has] : lines)
        EXPECT_NE(text(c).find(has), std::string::npos) << text(c);
    velCrossing gone = before;
    gone.set_invalid();
    EXPECT_TRUE(gone.invalid() && !before.invalid() && velCrossing().invalid());
    EXPECT_EQ(gone.index1(), 0);
    EXPECT_EQ(text(gone), "velCrossing {\ninvalid\n}\n");
    EXPECT_EQ(ut_text(gone), text(gone));
}

TEST(velCrossing, StartCurvesAndMirrors) {
    velCrossing c(giPoint3(1, 1, 0), 2, 0.5, 5, 1.5, velCrossingCurve1, 2);
    EXPECT_EQ(c.inverse_start(), velCrossingCurve2);
    EXPECT_EQ(velCrossing::inverse(c.inverse_start()), velCrossingCurve1);
    // The mirror: curves exchanged, start inverted, an alternate crossing's mirror marked 3.
    EXPECT_EQ(c.mirrored(), velCrossing(giPoint3(1, 1, 0), 5, 1.5, 2, 0.5, velCrossingCurve2, 3));
    const velCrossing plain(giPoint3(1, 1, 0), 2, 0.5, 5, 1.5, 0);
    EXPECT_EQ(plain.mirrored().mirrored(), plain);
    c.set_start(velCrossingCurveUnknown);
    EXPECT_EQ(c.inverse_start(), velCrossingCurveUnknown);
    // Equality is field by field, without tolerance.
    EXPECT_NE(velCrossing(giPoint3(1, 1, 1e-12), 2, 0.5, 5, 1.5, velCrossingCurveUnknown, 2), c);
    EXPECT_NE(velCrossing(giPoint3(1, 1, 0), 2, 0.5, 5, 1.5, velCrossingCurveUnknown, 1), c);
}

// The array's text is its size and each crossing's text indented by two spaces.
TEST(velCrossing, ArrayDumpAndIterator) {
    velCrossingcoPageArr arr;
    EXPECT_EQ(text(arr), "coPageArr {\n  size 0\n}\n");
    const velCrossing a, b(giPoint3(1, 2, 3), 0, 1.5, 1, 0.5, velCrossingCurve2, 0);
    arr.append(a);
    arr.append(b);
    std::string want = "coPageArr {\n  size 2\n";
    for (const velCrossing& c : {a, b}) {
        std::istringstream lines(text(c));
        for (std::string line; std::getline(lines, line);)
            want += "  " + line + "\n";
    }
    EXPECT_EQ(text(arr), want + "}\n");
    EXPECT_EQ(ut_text(arr), text(arr));
    std::vector<int> seen;
    velCrossingcoPageArrcoIterator it(arr);
    for (; it; ++it)
        seen.push_back(it->index1());
    EXPECT_EQ(seen, (std::vector<int>{-1, 0}));
    it.reset();
    EXPECT_TRUE(it.valid() && it->invalid());
}

int closed_when_even(const velPolylineListIter&, int index, void* data) {
    ++*static_cast<int*>(data);
    return index % 2 == 0;
}

// The closure question goes to the function set for it (every polyline is closed without one).
TEST(velCrossData, ClosureFunctionAndBoxCache) {
    velCrossData data;
    velAbsPolyArcLineListCursor list;
    EXPECT_EQ(data.closed(list.iterator(), 1), 1);
    int calls = 0;
    data.set_closure_function(&closed_when_even, &calls);
    EXPECT_EQ(data.closed(list.iterator(), 2) * 10 + data.closed(list.iterator(), 3), 10);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(data.closure_data(), &calls);

    velCrossData sized(100);
    sized.crossings().append(velCrossing());
    sized.get_temp_crossings2().append(velCrossing());
    EXPECT_EQ(sized.crossings().size(), 1);
    EXPECT_TRUE(sized.get_temp_crossings1().empty());

    EXPECT_EQ(data.box_cache(), nullptr);
    data.enable_box_cache();
    velPolyarcline2dBoxCache* cache = data.box_cache();
    ASSERT_NE(cache, nullptr);
    data.disable_box_cache();
    EXPECT_EQ(data.box_cache(), nullptr);
}

TEST(velExtensionCrossing, OrderAndPredicates) {
    std::vector<velExtensionCrossing> v{{2, 0.5, velExtensionCrossingNone},
                                        {1, 3.0, velExtensionCrossingStartExtension},
                                        {2, 0.25, velExtensionCrossingClockwise},
                                        {1, 0.75, velExtensionCrossingEndExtension}};
    std::sort(v.begin(), v.end());
    std::vector<std::pair<int, double>> order;
    for (const auto& c : v)
        order.emplace_back(c.index(), c.param());
    EXPECT_EQ(order, (std::vector<std::pair<int, double>>{{1, 0.75}, {1, 3.0}, {2, 0.25}, {2, 0.5}}));
    // On different curves only the index counts.
    EXPECT_TRUE(velExtensionCrossing(1, 9.0, velExtensionCrossingNone) <
                velExtensionCrossing(2, 0.0, velExtensionCrossingNone));
    EXPECT_FALSE(velExtensionCrossing(2, 0.0, velExtensionCrossingNone) <
                 velExtensionCrossing(2, 0.0, velExtensionCrossingEndExtension));

    velExtensionCrossing c(0, 0.0, velExtensionCrossingClockwise);
    EXPECT_TRUE(c.active());
    EXPECT_EQ(c.paired_id(), -1);
    c.set_paired_id(7);
    c.set_inactive();
    EXPECT_EQ(c.paired_id(), 7);
    EXPECT_FALSE(c.active());
    // clockwise, on a closed curve, on the start extension, on the end extension, on an extension; by type.
    const char* expected[] = {"11000", "01000", "00000", "00101", "00011"};
    for (int type = 0; type <= 4; ++type) {
        const velExtensionCrossing x(0, 0.0, static_cast<velExtensionCrossingType>(type));
        const std::string got{char('0' + x.clockwise()), char('0' + x.on_closed_curve()),
                              char('0' + x.on_start_extension()), char('0' + x.on_end_extension()),
                              char('0' + x.on_extension())};
        EXPECT_EQ(got, expected[type]) << "type " << type;
    }
}

} // namespace

} // namespace velCrossing_test
