#include "cliTestKit.h"

#include "arcline/debug/CDGDocument.h"

using namespace clitest;
using lumet::CDGDocument;
using lumet::P3;
using std::numbers::pi;

namespace {

// A document with one entity of every kind, in nested nodes.
void write_document(const std::string& doc) {
    const double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    CDGDocument::pushNode(doc, "part <1>");
    CDGDocument::exportPoint(doc, P3(0, 0, 0), "#ff0000", "origin");
    CDGDocument::exportLine(doc, P3(0, 0, 0), P3(10, 0, 0), "#00ff00", "edge");
    CDGDocument::pushColoredNode(doc, "#0000ff", "arcs");
    CDGDocument::exportArc(doc, P3(0, 0, 0), P3(5, 0, 0), P3(0, 0, 1), 1.5 * pi, "#ffff00", "three quarters");
    CDGDocument::exportArc(doc, P3(20, 0, 0), P3(25, 0, 0), P3(0, 0, -1), 0.5 * pi, "#ffff01", "clockwise");
    CDGDocument::exportArcFromPoints(doc, P3(0, 10, 0), P3(5, 15, 0), P3(10, 10, 0), "#00ffff",
                                     "three points");
    CDGDocument::exportHelix(doc, P3(0, 0, 0), P3(3, 0, 0), P3(0, 0, 1), 4 * pi, 2.0, "#ff00ff", "helix");
    CDGDocument::popNode(doc);
    CDGDocument::exportVector(doc, P3(0, -5, 0), P3(4, 0, 0), "#ffffff", "v");
    CDGDocument::exportEllipse(doc, P3(10, -10, 0), P3(14, -10, 0), P3(10, -8, 0), "#808080", "ellipse");
    CDGDocument::exportTriangle(doc, P3(0, 0, 0), P3(1, 0, 0), P3(0, 1, 0), "tri");
    CDGDocument::exportTool(doc, P3(30, 30, 0), {6.0, 1.0}, {20.0, 6.0}, "tool");
    CDGDocument::setTransform(doc, m);
    CDGDocument::exportWorkplane(doc, m, "wp");
    CDGDocument::exportInformation(doc, "note & more");
    CDGDocument::popAllNodes(doc);
    CDGDocument::closeDoc(doc);
}

// The "d" of the unfilled paths drawn in `colour`, each once.
std::vector<std::string> paths_of_colour(const std::string& svg, const std::string& colour) {
    std::vector<std::string> out;
    for (const std::string& d : d_after(svg, "<path d=\""))
        if (svg.find("d=\"" + d + "\" fill=\"none\" stroke=\"" + colour + "\"") != std::string::npos &&
            std::find(out.begin(), out.end(), d) == out.end())
            out.push_back(d);
    return out;
}

} // namespace

TEST(Cdg2SvgCommand, DrawsEveryEntityInItsNodeAndColour) {
    ScratchDir dir;
    const std::string doc = dir.file("trace.cdg");
    write_document(doc);
    const Outcome r = cli({"cdg2svg", doc, "-o", "-", "--dark"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, doc + ": warning: 1 transform record(s) not applied: geometry is drawn as written\n" +
                         doc + ": warning: 1 work plane(s) not drawn\n");
    const std::string& svg = r.out;
    // Nodes nest as groups, named and titled (escaped); every entity in its colour, labelled.
    EXPECT_EQ(count(svg, "<g "), count(svg, "</g>"));
    for (const char* text :
         {"<g class=\"node\" data-name=\"part &lt;1&gt;\">\n    <title>part &lt;1&gt;</title>\n",
          "\n    <g class=\"node\" data-name=\"arcs\" stroke=\"#0000ff\">", "r=\"2.5\" fill=\"#ff0000\"",
          ">origin<", ">edge<", ">three quarters<", ">clockwise<", ">three points<", ">helix<", ">v<",
          ">ellipse<", ">tri<", ">tool<", "<desc>note &amp; more</desc>", "fill=\"#202124\"",
          "class=\"scale-bar\""})
        EXPECT_THAT(svg, HasSubstr(text));
    // Arcs in XY are exact: three quarters anticlockwise (large, sweep 0), a quarter about -Z clockwise
    // (sweep 1), the arc through three points. The helix (two turns) and the ellipse are sampled.
    const auto three_quarters = parse_path(paths_of_colour(svg, "#ffff00").at(0));
    ASSERT_EQ(three_quarters.size(), 2u);
    EXPECT_EQ(three_quarters[1].args[3], 1.0);
    EXPECT_EQ(three_quarters[1].args[4], 0.0);
    const auto clockwise = parse_path(paths_of_colour(svg, "#ffff01").at(0));
    ASSERT_EQ(clockwise.size(), 2u);
    EXPECT_EQ(clockwise[1].args[4], 1.0);
    EXPECT_EQ(count(paths_of_colour(svg, "#00ffff").at(0), "A"), 1);
    EXPECT_EQ(count(paths_of_colour(svg, "#ff00ff").at(0), "A"), 0);
    EXPECT_GE(count(paths_of_colour(svg, "#ff00ff").at(0), "L"), 2 * 96);
    EXPECT_EQ(count(paths_of_colour(svg, "#808080").at(0), "A"), 0);
}

// The page is light unless --dark; colours that would not show on it (white, yellow on light) get a dark
// casing; --no-labels leaves the labels out.
TEST(Cdg2SvgCommand, LightPageCasingsAndLabels) {
    ScratchDir dir;
    const std::string doc = dir.file("pale.cdg");
    CDGDocument::exportLine(doc, P3(0, 0, 0), P3(10, 0, 0), "#ffff00", "yellow");
    CDGDocument::exportLine(doc, P3(0, 5, 0), P3(10, 5, 0), "#0000ff", "blue");
    CDGDocument::exportPoint(doc, P3(5, 2, 0), "#ffffff", "white");
    CDGDocument::closeDoc(doc);
    const Outcome light = cli({"cdg2svg", doc, "-o", "-"});
    ASSERT_EQ(light.code, 0) << light.err;
    EXPECT_THAT(light.out, HasSubstr("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>"));
    // One casing under the yellow line (same path, drawn first), none under the blue one.
    const auto yellow = paths_of_colour(light.out, "#ffff00");
    ASSERT_EQ(yellow.size(), 1u);
    EXPECT_EQ(paths_of_colour(light.out, "#555555"), yellow);
    for (const char* text : {"fill=\"#ffffff\" stroke=\"#555555\"", ">yellow<", ">blue<", ">white<"})
        EXPECT_THAT(light.out, HasSubstr(text));

    const Outcome bare = cli({"cdg2svg", doc, "-o", "-", "--no-labels"});
    EXPECT_EQ(count(bare.out, "<text"), count(light.out, "<text") - 3);
    const Outcome dark = cli({"cdg2svg", doc, "-o", "-", "--dark"});
    EXPECT_THAT(dark.out, HasSubstr("fill=\"#202124\""));
    EXPECT_TRUE(paths_of_colour(dark.out, "#555555").empty());
}

// Deep nesting costs linear text, and nesting past the cap is a fault at its line that keeps what came
// before it.
TEST(Cdg2SvgCommand, DeepNestingIsLinearAndCapped) {
    auto nested = [](int depth) {
        std::string text = "CDG1";
        for (int k = 0; k < depth; ++k)
            text += "\nUn" + std::to_string(k);
        text += "\nP" + CDGDocument::pointToBase64(1, 2, 0) + CDGDocument::colorToBase64("#ff0000") + "deep";
        for (int k = 0; k < depth; ++k)
            text += "\nO";
        return text;
    };
    const Outcome small = cli({"cdg2svg", "-", "-o", "-"}, nested(100));
    const Outcome large = cli({"cdg2svg", "-", "-o", "-"}, nested(1000));
    ASSERT_EQ(large.code, 0) << large.err;
    EXPECT_EQ(count(large.out, "</g>"), count(large.out, "<g "));
    EXPECT_LT(large.out.size(), 11 * small.out.size()); // ten times the nodes, about ten times the text

    const Outcome deep = cli({"cdg2svg", "-", "-o", "-"}, nested(5000));
    EXPECT_EQ(deep.code, 2);
    EXPECT_EQ(deep.err, "<stdin>:1002: nodes nested deeper than 1000\n");
    EXPECT_EQ(count(deep.out, "<g class=\"node\""), 1000);
    EXPECT_LT(deep.out.size(), 2 * large.out.size());
}

// Faults name the file and line; what came before the fault is drawn, what came after is not.
TEST(Cdg2SvgCommand, FaultsAndBadArguments) {
    ScratchDir dir;
    const std::string doc = dir.file("cut.cdg"), out = dir.file("out.svg");
    CDGDocument::exportPoint(doc, P3(1, 2, 0), "#ff0000", "kept");
    CDGDocument::closeDoc(doc);
    spit(doc, slurp(doc) + "Lshort\n");
    const Outcome r = cli({"cdg2svg", doc, "-o", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, doc + ":3: 'L' record: bad point\n");
    EXPECT_THAT(slurp(out), HasSubstr(">kept<"));

    const std::string nan =
        "CDG1\nP" + CDGDocument::pointToBase64(1, 2, 0) + CDGDocument::colorToBase64("#ff0000") + "kept\nP" +
        CDGDocument::pointToBase64(std::nan(""), 2, 0) + CDGDocument::colorToBase64("#ff0000") + "lost\n";
    const Outcome n = cli({"cdg2svg", "-", "-o", "-"}, nan);
    EXPECT_EQ(n.code, 2);
    EXPECT_EQ(n.err, "<stdin>:3: 'P' record: a coordinate is not finite\n");
    EXPECT_THAT(n.out, HasSubstr(">kept<"));
    EXPECT_THAT(n.out, Not(HasSubstr(">lost<")));

    // Labels that are not UTF-8 are replaced, so the picture stays valid.
    const Outcome bytes = cli({"cdg2svg", "-", "-o", "-"}, "CDG1\nUn\xc3(ode\xff");
    EXPECT_EQ(bytes.code, 0);
    EXPECT_TRUE(valid_utf8(bytes.out));
    EXPECT_THAT(bytes.out, HasSubstr("n\xef\xbf\xbd(ode\xef\xbf\xbd"));

    spit(doc, "not a document\n");
    EXPECT_EQ(cli({"cdg2svg", doc, "-o", out}).err,
              doc + ":1: not a debug geometry document: no \"CDG1\" header\n");
    EXPECT_EQ(cli({"cdg2svg", dir.file("none.cdg"), "-o", out}).err,
              dir.file("none.cdg") + ": cannot open: No such file or directory\n");
}
