#include "arcline/platform/intNaryTree.h"

#include <gtest/gtest.h>

#include <vector>

namespace intNaryTree_test {

namespace {

// The nesting of two outer boundaries 0 and 3, with 1 and 2 inside 0 and 4 inside 2:
//     -1 ( 0 ( 1, 2 ( 4 ) ), 3 )
intNaryTree nesting_example() {
    intNaryTree tree(-1);
    tree.Adopt(0);
    tree.Adopt(3);
    tree.Down(0);
    tree.Adopt(1);
    tree.Adopt(2);
    tree.Down(1);
    tree.Adopt(4);
    tree.Root();
    return tree;
}

// Values in depth-first preorder, with -2 closing each child list, walked with the cursor alone.
void preorder(intNaryTree& tree, std::vector<int>& out) {
    out.push_back(tree.Read());
    for (int i = 0; i < tree.NumOffspring(); ++i) {
        EXPECT_EQ(tree.Down(i), 1);
        preorder(tree, out);
        EXPECT_EQ(tree.Up(), 1);
    }
    out.push_back(-2);
}

std::vector<int> preorder(intNaryTree tree) {
    std::vector<int> out;
    tree.Root();
    preorder(tree, out);
    return out;
}

} // namespace

TEST(intNaryTree, CursorMovesAndPaths) {
    intNaryTree tree = nesting_example();
    EXPECT_EQ(preorder(tree), (std::vector<int>{-1, 0, 1, -2, 2, 4, -2, -2, -2, 3, -2, -2}));
    EXPECT_EQ(tree.Up(), 0); // at the root
    EXPECT_EQ(tree.Down(2), 0);
    EXPECT_EQ(tree.Down(-1), 0);
    EXPECT_EQ(tree.Read(), -1); // refused moves do not move
    EXPECT_EQ(tree.OffspringIndex(), -1);
    ASSERT_EQ(tree.FollowPath({0, 1}), 1);
    EXPECT_EQ(tree.Read(), 2);
    EXPECT_EQ(tree.OffspringIndex(), 1);
    ASSERT_EQ(tree.Down(0), 1);
    EXPECT_EQ(tree.Path(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(tree.FollowPath({0, 5}), 0);
    EXPECT_EQ(tree.Read(), 0); // stopped where the path broke
    tree.Root();
    tree.Adopt(5); // the cursor stays where it is
    tree.Write(-7);
    EXPECT_EQ(preorder(tree), (std::vector<int>{-7, 0, 1, -2, 2, 4, -2, -2, -2, 3, -2, 5, -2, -2}));
}

TEST(intNaryTree, CopiesAreDeepAndKeepTheCursor) {
    intNaryTree tree = nesting_example();
    tree.FollowPath({0, 1});
    intNaryTree copy(5);
    copy = tree;
    EXPECT_EQ(copy.Read(), 2);
    copy.DeleteNodes();
    EXPECT_EQ(preorder(tree), preorder(nesting_example()));
    const intNaryTree moved(std::move(copy));
    EXPECT_EQ(moved.Read(), 2);
    EXPECT_EQ(copy.Read(), -1); // a tree moved from by construction is a bare root
}

// A chain far deeper than any call stack would allow to copy or free recursively.
TEST(intNaryTree, DeepChainsCopyAndFreeWithoutRecursion) {
    intNaryTree tree(-1);
    const int depth = 200000;
    for (int i = 0; i < depth; ++i) {
        tree.Adopt(i);
        tree.Down(0);
    }
    const intNaryTree copy(tree);
    EXPECT_EQ(copy.Read(), depth - 1);
    EXPECT_EQ(static_cast<int>(copy.Path().size()), depth);
    tree.Root();
    tree.DeleteNodes();
    EXPECT_EQ(tree.NumOffspring(), 0);
}

} // namespace intNaryTree_test
