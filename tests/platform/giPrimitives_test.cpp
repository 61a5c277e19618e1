#include "arcline/platform/giPoint3.h"

#include <gtest/gtest.h>

TEST(giPoint3, DefaultIsUnset) { EXPECT_EQ(giPoint3().x, -1.7976931348623157e308); }
