#include "arcline/lists/velPolylineListIterSubset.h"

#include "arcline/platform/itRangeIterator.h"
#include "viewTestKit.h"

#include <gtest/gtest.h>

#include <vector>

namespace velPolylineListIterSubset_test {

using namespace viewtest;

// Random index sequences, repeats included, the list's own edge case (2, 0 of three) first: walking,
// jumping and cloning all follow the sequence, and the view is undefined after its last polyline.
TEST(velPolylineListIterSubset, PresentsTheListedPolylinesInTheOrderOfTheIndices) {
    Rng rng(2);
    const Polylines in = listtest::random_list(rng, 8);
    const auto list = list_of(in);
    for (int round = 0; round < 20; ++round) {
        std::vector<int> indices{2, 0};
        if (round > 0) {
            indices.resize(static_cast<std::size_t>(rng.pick(0, 12)));
            for (int& k : indices)
                k = rng.pick(0, 7);
        }
        const std::vector<int> listed = indices;
        velPolylineListIterSubset subset(it_range(indices), list->iterator());
        indices.clear(); // copied at construction
        ASSERT_EQ(subset.size(), static_cast<int>(listed.size()));
        EXPECT_EQ(subset.indices(), listed);
        EXPECT_TRUE(subset.undefined());
        for (std::size_t j = 0; j < listed.size(); ++j) {
            ASSERT_EQ(++subset, 1);
            EXPECT_EQ(subset.index(), static_cast<int>(j));
            listtest::expect_same_polyline(subset, *in[static_cast<std::size_t>(listed[j])], true);
        }
        EXPECT_EQ(++subset, 0);
        EXPECT_EQ(subset.index(), -1);
        if (listed.empty()) continue;
        const int j = rng.pick(0, subset.size() - 1);
        subset.set_index(j);
        const std::unique_ptr<velPolylineListIter> clone(subset.create_new());
        EXPECT_EQ(clone->index(), j);
        listtest::expect_same_polyline(
            *clone, *in[static_cast<std::size_t>(listed[static_cast<std::size_t>(j)])], true);
    }
}

} // namespace velPolylineListIterSubset_test
