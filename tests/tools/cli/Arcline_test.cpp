#include "cliTestKit.h"

using namespace clitest;

TEST(Arcline, DispatchesCommandsAndExplainsItself) {
    const Outcome none = cli({}), unknown = cli({"draw", "x.txt"}), help = cli({"--help"});
    EXPECT_EQ(none.code, 2);
    EXPECT_THAT(none.err, StartsWith("arcline: missing command\nusage: arcline COMMAND"));
    EXPECT_EQ(unknown.code, 2);
    EXPECT_THAT(unknown.err, StartsWith("arcline: unknown command 'draw'\nusage:"));
    EXPECT_EQ(help.code, 0);
    for (const std::string command : {"info", "convert", "svg", "cdg2svg"}) {
        EXPECT_THAT(help.out, HasSubstr("\n  " + command + " "));
        // Every command explains itself, with the options all commands take.
        const Outcome own = cli({command, "--help"});
        EXPECT_EQ(own.code, 0) << command;
        EXPECT_THAT(own.out, StartsWith("usage: arcline " + command + " [OPTIONS] "));
        EXPECT_THAT(own.out, HasSubstr("\n  --strict "));
        EXPECT_EQ(own.err, "");
    }
    const Outcome version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_THAT(version.out, StartsWith("arcline "));
}

// Arguments are checked before any file is read: exit code 2, a message naming the argument, and where to
// look for the options.
TEST(Arcline, BadArgumentsNameTheArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"info"}, "FILE is required"},
        {{"info", "--jsn", "a.txt"}, "--jsn"},
        {{"convert"}, "IN is required"},
        {{"convert", "a.txt"}, "OUT is required"},
        {{"convert", "a.txt", "b.txt", "c.txt"}, "c.txt"},
        {{"convert", "a.txt", "b.txt", "--to", "svg"}, "--to: svg not in {records,dxf,cdg}"},
        {{"svg", "-o", "o.svg"}, "FILE is required"},
        {{"svg", "a.txt"}, "--output is required"},
        {{"svg", "a.txt", "-o"}, "-o"},
        {{"svg", "a.txt", "-o", "o.svg", "--size", "tiny"},
         "--size: 'tiny' is not a number from 50 to 100000"},
        {{"svg", "a.txt", "-o", "o.svg", "--size", "1e6"}, "--size: '1e6' is not a number from 50 to 100000"},
        {{"svg", "a.txt", "-o", "o.svg", "--fill", "odd"}, "--fill: odd not in {nonzero,evenodd,none}"},
        {{"cdg2svg", "-o", "o.svg"}, "DOC is required"},
        {{"cdg2svg", "d.cdg", "e.cdg", "-o", "o.svg"}, "e.cdg"},
        {{"cdg2svg", "d.cdg", "-o", "o.svg", "--points"}, "--points"},
    };
    for (const Case& c : cases) {
        const Outcome r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.out, "");
        const auto m = r.messages();
        ASSERT_EQ(m.size(), 2u) << r.err;
        EXPECT_THAT(m[0], StartsWith("arcline " + c.args[0] + ": "));
        EXPECT_THAT(m[0], HasSubstr(c.message));
        EXPECT_EQ(m[1], "Run 'arcline " + c.args[0] + " --help' for the options.");
    }
}
