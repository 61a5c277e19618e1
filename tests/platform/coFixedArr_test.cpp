#include "arcline/platform/coFixedArr.h"

#include <gtest/gtest.h>

#include <vector>

namespace coFixedArr_test {

TEST(coFixedArr, StartsValueInitialised) {
    const utBoolcoFixedArr flags(4);
    EXPECT_EQ(std::vector<utBool>(flags.begin(), flags.end()), (std::vector<utBool>{0, 0, 0, 0}));
    const coFixedArr<double> filled(2, 1.5);
    EXPECT_EQ(std::vector<double>(filled.begin(), filled.end()), (std::vector<double>{1.5, 1.5}));
    EXPECT_EQ(coFixedArr<int>(-3).size(), 0);
}

} // namespace coFixedArr_test
