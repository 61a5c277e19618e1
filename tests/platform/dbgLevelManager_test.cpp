#include "arcline/platform/dbgLevel.h"
#include "arcline/platform/dbgLevelManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace dbgLevelManager_test {

namespace {

dbgLevelManager& manager() {
    return dbgLevelManager::instance();
}

struct SettingCase {
    std::string text;
    int ok;
    int alpha, beta;   // the levels after (unchanged on a fault: 0 and 7)
    std::string error; // the start of the message on a fault
};

class Settings : public ::testing::TestWithParam<SettingCase> {};

TEST_P(Settings, AllOrNothing) {
    const SettingCase c = GetParam();
    dbgLevel alpha("test:alpha", "0=Off, 1=On", "", 0);
    dbgLevel beta("test:Beta", "", "", 7);
    std::string error = "untouched";
    EXPECT_EQ(manager().set_levels(c.text, &error), c.ok) << c.text;
    EXPECT_EQ(alpha.level(), c.alpha) << c.text;
    EXPECT_EQ(beta.level(), c.beta) << c.text;
    EXPECT_EQ(c.ok ? error : error.substr(0, c.error.size()), c.ok ? "untouched" : c.error) << error;
    manager().reset_levels();
    EXPECT_EQ(alpha.level(), 0);
    EXPECT_EQ(beta.level(), 7);
}

// clang-format off
const SettingCase settings[] = {
    {"", 1, 0, 7, ""}, {"test:alpha=2", 1, 2, 7, ""}, {" test:alpha = 3 , test:Beta=0 ,", 1, 3, 0, ""},
    {"test:alpha=1,test:alpha=4", 1, 4, 7, ""}, {",,test:Beta=1000000", 1, 0, 1000000, ""},
    {"test:alpha=2,nosuch=1", 0, 0, 7, "no debug level named 'nosuch'"},
    {"test:beta=1", 0, 0, 7, "no debug level named 'test:beta' (did you mean 'test:Beta'?)"},
    {"test:alpha", 0, 0, 7, "'test:alpha': expected NAME=LEVEL"},
    {"test:alpha=", 0, 0, 7, "'test:alpha=': the level is not a whole number"},
    {"test:alpha=-1", 0, 0, 7, "'test:alpha=-1': the level is not"},
    {"test:alpha=1.5", 0, 0, 7, "'test:alpha=1.5': the level is not"},
    {"test:alpha=1000001", 0, 0, 7, "'test:alpha=1000001': the level is not"},
    {"test:alpha=99999999999999999999", 0, 0, 7, "'test:alpha=9"}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Texts, Settings, ::testing::ValuesIn(settings));

TEST(DebugLevels, RegisteredInOrderFoundByNameGoneWhenDestroyed) {
    const int before = manager().size();
    auto first = std::make_unique<dbgLevel>("test:one", "first", "help one", 2, "src/one");
    auto second = std::make_unique<dbgLevel>("test:two", "second", "help two");
    auto twin = std::make_unique<dbgLevel>("test:one", "twin", "");
    EXPECT_EQ(manager().size(), before + 3);
    const auto all = manager().levels();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[all.size() - 3], first.get());
    EXPECT_EQ(all[all.size() - 2], second.get());
    EXPECT_EQ(all[all.size() - 1], twin.get());
    // The first registered of a name wins.
    EXPECT_EQ(manager().find("test:one"), first.get());
    EXPECT_EQ(first->level(), 2);
    EXPECT_STREQ(first->source(), "src/one");
    EXPECT_STREQ(second->source(), "");
    EXPECT_EQ(first->type(), dbgLevel::plain_type);
    EXPECT_EQ(first->get_manager_virtual(), &manager());
    EXPECT_EQ(manager().set_level("test:two", 5), 1);
    EXPECT_EQ(second->level(), 5);
    EXPECT_EQ(manager().set_level("test:none", 5), 0);
    first.reset();
    EXPECT_EQ(manager().find("test:one"), twin.get());
    twin.reset();
    second.reset();
    EXPECT_EQ(manager().find("test:one"), nullptr);
    EXPECT_EQ(manager().size(), before);
}

} // namespace

} // namespace dbgLevelManager_test
