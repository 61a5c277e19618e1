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

// The "d" of the unfilled paths drawn in `colour`.
std::vector<std::string> paths_of_colour(const std::string& svg, const std::string& colour) {
    std::vector<std::string> out;
    for (const std::string& d : d_after(svg, "<path d=\""))
        if (svg.find("d=\"" + d + "\" fill=\"none\" stroke=\"" + colour + "\"") != std::string::npos)
            out.push_back(d);
    return out;
}

int arcs_in(const std::string& d) {
    return count(d, "A");
}

} // namespace

TEST(Cdg2SvgCommand, DrawsEveryEntityInItsNodeAndColour) {
    ScratchDir dir;
    const std::string doc = dir.file("trace.cdg");
    write_document(doc);
    const Outcome r = cli({"cdg2svg", doc, "-o", "-"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, doc + ": 1 transform record(s) not applied: geometry is drawn as written\n" + doc +
                         ": 1 work plane(s) not drawn\n");
    const std::string& svg = r.out;
    // Nodes nest as groups, named and titled (escaped).
    EXPECT_NE(
        svg.find("<g class=\"node\" data-name=\"part &lt;1&gt;\">\n    <title>part &lt;1&gt;</title>\n"),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find("\n    <g class=\"node\" data-name=\"arcs\" stroke=\"#0000ff\">"), std::string::npos)
        << svg;
    EXPECT_EQ(count(svg, "<g "), count(svg, "</g>"));
    // Every entity in its colour, labelled.
    EXPECT_NE(svg.find("r=\"2.5\" fill=\"#ff0000\""), std::string::npos);
    for (const char* label : {">origin<", ">edge<", ">three quarters<", ">clockwise<", ">three points<",
                              ">helix<", ">v<", ">ellipse<", ">tri<", ">tool<"})
        EXPECT_NE(svg.find(label), std::string::npos) << label;
    EXPECT_NE(svg.find("<desc>note &amp; more</desc>"), std::string::npos);
    // Arcs in XY are exact: three quarters anticlockwise (large, sweep 0), a quarter about -Z clockwise
    // (sweep 1), the arc through three points. The helix (two turns) and the ellipse are sampled.
    const auto three_quarters = parse_path(paths_of_colour(svg, "#ffff00").at(0));
    ASSERT_EQ(three_quarters.size(), 2u);
    EXPECT_EQ(three_quarters[1].args[3], 1.0);
    EXPECT_EQ(three_quarters[1].args[4], 0.0);
    const auto clockwise = parse_path(paths_of_colour(svg, "#ffff01").at(0));
    ASSERT_EQ(clockwise.size(), 2u);
    EXPECT_EQ(clockwise[1].args[4], 1.0);
    EXPECT_EQ(arcs_in(paths_of_colour(svg, "#00ffff").at(0)), 1);
    EXPECT_EQ(arcs_in(paths_of_colour(svg, "#ff00ff").at(0)), 0);
    EXPECT_GE(count(paths_of_colour(svg, "#ff00ff").at(0), "L"), 2 * 96);
    EXPECT_EQ(arcs_in(paths_of_colour(svg, "#808080").at(0)), 0);
    EXPECT_NE(svg.find("fill=\"#202124\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"scale-bar\""), std::string::npos);
}

TEST(Cdg2SvgCommand, FaultsAndBadArguments) {
    ScratchDir dir;
    const std::string doc = dir.file("cut.cdg"), out = dir.file("out.svg");
    CDGDocument::exportPoint(doc, P3(1, 2, 0), "#ff0000", "kept");
    CDGDocument::closeDoc(doc);
    spit(doc, slurp(doc) + "Lshort\n");
    const Outcome r = cli({"cdg2svg", doc, "-o", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, doc + ":3: 'L' record: bad point\n");
    EXPECT_NE(slurp(out).find(">kept<"), std::string::npos);

    spit(doc, "not a document\n");
    EXPECT_EQ(cli({"cdg2svg", doc, "-o", out}).err.rfind(doc + ":1: ", 0), 0u);
    EXPECT_EQ(cli({"cdg2svg", dir.file("none.cdg"), "-o", out}).err,
              dir.file("none.cdg") + ": cannot open: No such file or directory\n");
}
