#include "arcline/platform/coFixedArr.h"

#include <gtest/gtest.h>

TEST(coFixedArr, StartsValueInitialisedAndKeepsItsSize) {
    utBoolcoFixedArr flags(4);
    EXPECT_EQ(flags.size(), 4);
    for (int i = 0; i < flags.size(); ++i)
        EXPECT_EQ(flags[i], 0);
    flags[2] = 1;
    utBool& ref = flags[2];
    EXPECT_EQ(ref, 1);
    const coFixedArr<double> filled(3, 1.5);
    EXPECT_EQ(filled[2], 1.5);
    EXPECT_EQ(coFixedArr<int>().size(), 0);
}
