#include "cliTestKit.h"

using namespace clitest;

TEST(Arcline, DispatchesCommandsAndExplainsItself) {
    const Outcome none = cli({});
    EXPECT_EQ(none.code, 2);
    EXPECT_NE(none.err.find("arcline: missing command\nusage: arcline COMMAND"), std::string::npos);

    const Outcome unknown = cli({"draw", "x.txt"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err.rfind("arcline: unknown command 'draw'\nusage:", 0), 0u) << unknown.err;

    const Outcome help = cli({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* command : {"info", "convert", "svg", "cdg2svg"}) {
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        const Outcome own = cli({command, "--help"});
        EXPECT_EQ(own.code, 0) << command;
        EXPECT_EQ(own.out.rfind(std::string("usage: arcline ") + command + " ", 0), 0u) << own.out;
        EXPECT_EQ(own.err, "");
    }
    const Outcome version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("arcline ", 0), 0u);
}

// Arguments are checked before any file is read: the message names the argument and the usage follows.
TEST(Arcline, BadArgumentsNameTheArgumentAndShowUsage) {
    struct Case {
        std::vector<std::string> args;
        std::string message, usage;
    };
    const std::string info = "usage: arcline info FILE...", convert = "usage: arcline convert IN OUT",
                      svg = "usage: arcline svg FILE...", cdg = "usage: arcline cdg2svg DOC.cdg";
    const std::vector<Case> cases = {
        {{"info"}, "missing FILE", info},
        {{"info", "--jsn", "a.txt"}, "unknown option '--jsn'", info},
        {{"info", "--json=1", "a.txt"}, "option '--json=1' takes no value", info},
        {{"convert"}, "missing IN and OUT", convert},
        {{"convert", "a.txt"}, "missing OUT", convert},
        {{"convert", "a.txt", "b.txt", "c.txt"}, "unexpected argument 'c.txt'", convert},
        {{"convert", "--to", "x", "a.txt", "b.txt"}, "unknown option '--to'", convert},
        {{"svg", "-o", "o.svg"}, "missing FILE", svg},
        {{"svg", "a.txt"}, "missing -o OUT.svg", svg},
        {{"svg", "a.txt", "-o"}, "option '-o' needs a value (OUT.svg)", svg},
        {{"svg", "a.txt", "-o", "o.svg", "--size", "tiny"},
         "option '--size': 'tiny' is not a number from 50 to 100000",
         svg},
        {{"svg", "a.txt", "-o", "o.svg", "--size", "1e6"},
         "option '--size': '1e6' is not a number from 50 to 100000",
         svg},
        {{"svg", "a.txt", "-o", "o.svg", "--arrow"}, "unknown option '--arrow'", svg},
        {{"cdg2svg", "-o", "o.svg"}, "missing DOC.cdg", cdg},
        {{"cdg2svg", "d.cdg"}, "missing -o OUT.svg", cdg},
        {{"cdg2svg", "d.cdg", "e.cdg", "-o", "o.svg"}, "unexpected argument 'e.cdg'", cdg},
        {{"cdg2svg", "d.cdg", "-o", "o.svg", "--points"}, "unknown option '--points'", cdg},
    };
    for (const Case& c : cases) {
        const Outcome r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("arcline " + c.args[0] + ": " + c.message + "\n" + c.usage, 0), 0u) << r.err;
    }
}
