#include "cliTestKit.h"

#include <set>

using namespace clitest;

namespace {

// Every level its own shade in the picture; a JSON record per level, adding up to the totals.
TEST(PocketCommand, LevelShadesAndRecords) {
    ScratchDir dir;
    const std::string in = put(dir, "in.txt", {square(0, 0, 10)}), out = dir.file("out.txt"),
                      svg = dir.file("o.svg");
    ASSERT_EQ(cli({"pocket", in, "1.5", "-o", out, "--svg", svg}).code, 0);
    const std::string picture = slurp(svg);
    std::set<std::string> shades;
    for (std::size_t at = picture.find("class=\"layer level\""); at != std::string::npos;
         at = picture.find("class=\"layer level\"", at + 1))
        shades.insert(picture.substr(picture.find("stroke=\"", at), 16));
    EXPECT_EQ(shades.size(), 3u);
    const json j = json::parse(cli({"pocket", in, "1.5", "-o", out, "--json"}).out);
    ASSERT_EQ(j["levels"], 3);
    int loops = 0, spans = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const json& level = j["per_level"].at(k);
        EXPECT_EQ(level["level"], k + 1);
        EXPECT_DOUBLE_EQ(level["offset"].get<double>(), -1.5 * (k + 1.0));
        EXPECT_DOUBLE_EQ(level["area"].get<double>(), (7.0 - 3.0 * k) * (7.0 - 3.0 * k));
        loops += level["loops"].get<int>();
        spans += level["spans"].get<int>();
    }
    EXPECT_EQ(j["loops"], loops);
    EXPECT_EQ(j["spans"], spans);
}

} // namespace
