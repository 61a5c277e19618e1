#include "tools/cli/ArgParser.h"

#include <gtest/gtest.h>

using arcline::cli::ArgParser;
using Args = std::vector<std::string>;

namespace {

ArgParser svg_like() {
    ArgParser p("arcline svg", "FILE... -o OUT.svg", "Draws.");
    p.option("output", 'o', "OUT.svg", "the picture")
        .flag("arrows", 0, "marks")
        .option("size", 0, "PX", "line one\nline two");
    return p;
}

} // namespace

TEST(ArgParser, ReadsFlagsOptionsAndPositionalsInAnyOrder) {
    ArgParser p = svg_like();
    ASSERT_TRUE(
        p.parse({"a.txt", "-o", "out.svg", "b.txt", "--arrows", "--size=300", "-", "--", "--arrows"}));
    EXPECT_EQ(p.positionals(), (Args{"a.txt", "b.txt", "-", "--arrows"}));
    EXPECT_TRUE(p.has("arrows"));
    EXPECT_EQ(p.value("output"), "out.svg");
    EXPECT_EQ(p.value("size"), "300");
    EXPECT_FALSE(p.help_requested());

    // The last of a repeated option counts; parsing again starts afresh.
    ASSERT_TRUE(p.parse({"--output", "1.svg", "--output=2.svg", "x"}));
    EXPECT_EQ(p.value("output"), "2.svg");
    EXPECT_FALSE(p.has("arrows"));
    EXPECT_FALSE(p.value("size").has_value());
    EXPECT_EQ(p.positionals(), Args{"x"});

    ASSERT_TRUE(p.parse({"x", "-h", "--bogus"})); // help stops parsing
    EXPECT_TRUE(p.help_requested());
}

TEST(ArgParser, FaultsNameTheArgument) {
    struct Case {
        Args args;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"a", "--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-ox"}, "unknown option '-ox'"},
        {{"a", "-o"}, "option '-o' needs a value (OUT.svg)"},
        {{"--size"}, "option '--size' needs a value (PX)"},
        {{"--arrows=yes"}, "option '--arrows=yes' takes no value"},
        {{"--output-file=x"}, "unknown option '--output-file=x'"},
    };
    for (const Case& c : cases) {
        ArgParser p = svg_like();
        EXPECT_FALSE(p.parse(c.args)) << c.error;
        EXPECT_EQ(p.error(), c.error);
    }
}

TEST(ArgParser, UsageListsEveryOption) {
    const std::string usage = svg_like().usage();
    EXPECT_EQ(usage.rfind("usage: arcline svg FILE... -o OUT.svg\n\nDraws.\n", 0), 0u) << usage;
    for (const char* item : {"-o, --output OUT.svg", "--arrows", "--size PX", "-h, --help"})
        EXPECT_NE(usage.find(item), std::string::npos) << item;
    // Help of two lines: the second starts in the help column.
    EXPECT_NE(usage.find("line one\n" + std::string(24, ' ') + "line two\n"), std::string::npos) << usage;
}

TEST(ArgParser, NumbersAreWholeAndFinite) {
    EXPECT_EQ(ArgParser::number("800"), 800.0);
    EXPECT_EQ(ArgParser::number("+2.5e2"), 250.0);
    EXPECT_EQ(ArgParser::number("-0.125"), -0.125);
    for (const char* bad : {"", "abc", "12px", "1e999", "nan", "inf", " 5"})
        EXPECT_FALSE(ArgParser::number(bad).has_value()) << bad;
}
