#include "cliTestKit.h"

#include "arcline/debug/CDGReader.h"
#include "arcline/debug/velDebugGeometry.h"
#include "arcline/debug/velDebugGeometryCdgOutput.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/platform/dbgLevelManager.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <cstdlib>

using namespace clitest;

namespace {

using debugtest::codes;
using debugtest::records_of;

// Puts every level back to its default at the end of a test.
struct DefaultLevels {
    ~DefaultLevels() { velDebugGeometry::get_manager()->reset_levels(); }
};

// End to end: a program turns the channel of the single-polyline utilities on at level 2, installs the
// library's document output, and cleans a polyline; the document read back holds the dropped spans under
// their label, and arcline cdg2svg draws it.
TEST(DebugOutput, DroppedShortSpansReachTheDocumentAndThePicture) {
    ScratchDir dir;
    const DefaultLevels restore;
    const std::string doc = dir.file("trace.cdg");
    {
        velDebugGeometryCdgOutput out(doc);
        out.install();
        std::string why;
        ASSERT_TRUE(velDebugGeometry::get_manager()->set_levels("velPolylineUtils=2", &why)) << why;

        velAbsPolyArcLineListCursor cursor;
        cursor.create_polyline();
        ++cursor;
        auto& line = *cursor.current_polyarcline();
        // Two short spans: a straight one at (5, 0) and an arc at (10, 0); the rest are long.
        for (const giPoint3& at :
             {giPoint3(0, 0, 0), giPoint3(5, 0, 0), giPoint3(5, 0.05, 0), giPoint3(10, 0, 0)})
            line.add_pos(at);
        line.add_arc({10.03, 0.03, 0}, {10.06, 0, 0});
        line.add_pos({15, 0, 0});
        velPolylineUtils::remove_spans_shorter_than(0.1, cursor);
        EXPECT_EQ(cursor.num_pos(), 4);
        velDebugGeometry::flush_all();
        EXPECT_EQ(out.labels_written(), 1);
        EXPECT_FALSE(out.failed());
    } // uninstalled and closed

    const std::vector<lumet::CDGRecord> r = records_of(doc);
    // The label's node, a node per dropped span: a line and an arc through three points.
    ASSERT_EQ(codes(r), "UULOUFOO");
    // The first entity carries the label, the others no text.
    const std::string label = "velPolylineUtils:removed_short_spans";
    EXPECT_EQ((std::vector<std::string>{r[0].text, r[1].text, r[2].text, r[4].text, r[5].text}),
              (std::vector<std::string>{label, "polyline 0", label, "polyline 1", ""}));
    EXPECT_EQ(r[2].points[0], (lumet::P3{5, 0, 0}));
    EXPECT_EQ(r[2].points[1], (lumet::P3{5, static_cast<float>(0.05), 0}));
    EXPECT_EQ(r[2].colours[0], std::string(velDebugGeometryCdgOutput::palette[0]));
    EXPECT_EQ(r[5].points[0], (lumet::P3{10, 0, 0}));
    EXPECT_EQ(r[5].points[2], (lumet::P3{static_cast<float>(10.06), 0, 0}));

    const Outcome svg = cli({"cdg2svg", doc, "-o", dir.file("trace.svg")});
    ASSERT_EQ(svg.code, 0) << svg.err;
    const std::string picture = slurp(dir.file("trace.svg"));
    EXPECT_THAT(picture, HasSubstr(label));
    EXPECT_EQ(count(picture, "<title>polyline "), 2) << picture.substr(0, 2000);
}

TEST(DebugOutput, LabelsTakeTheirOwnColoursTheFileIsContinuedAfterCloseAndFaultsAreTold) {
    ScratchDir dir;
    const DefaultLevels restore;
    velDebugGeometry channel("test:colours", "", "");
    channel.set_level(1);
    velDebugGeometryCdgOutput out(dir.file("colours"));
    EXPECT_EQ(out.file_name(), dir.file("colours.cdg"));
    out.install();
    for (const char* name : {"a", "b", "a"})
        channel.append_star_drawing({0, 0, 0}, 1.0, name, 1);
    channel.flush_level();
    out.close();
    channel.append_line_drawing({0, 0, 0}, {1, 1, 0}, "c", 1);
    channel.flush_level();
    out.close();
    out.uninstall();
    EXPECT_EQ(velDebugGeometry::get_output_function(), nullptr);
    const std::vector<lumet::CDGRecord> r = records_of(out.file_name());
    std::vector<std::string> labels, colours;
    for (const auto& rec : r) {
        if (rec.code == 'U' && rec.text.rfind("test:", 0) == 0) labels.push_back(rec.text);
        if (rec.code == 'L' && (colours.empty() || colours.back() != rec.colours[0]))
            colours.push_back(rec.colours[0]);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"test:colours:a", "test:colours:b", "test:colours:c"}));
    EXPECT_EQ(colours, (std::vector<std::string>{velDebugGeometryCdgOutput::palette[0],
                                                 velDebugGeometryCdgOutput::palette[1],
                                                 velDebugGeometryCdgOutput::palette[2]}));

    // A document that cannot be written is told.
    velDebugGeometryCdgOutput unwritable(dir.file("no/such/folder/x.cdg"));
    unwritable.install();
    channel.append_star_drawing({0, 0, 0}, 1.0, "star", 1);
    channel.flush_level();
    EXPECT_TRUE(unwritable.failed());
    unwritable.uninstall();
}

std::string shapes(const ScratchDir& dir) {
    return put(dir, "shapes.txt", {square(0, 0, 2), square(1, 1, 2)});
}

TEST(DebugOutput, TheProgramsOptions) {
    ScratchDir dir;
    const DefaultLevels restore;
    const std::string f = shapes(dir);
    const std::string doc = dir.file("d.cdg");

    const Outcome list = cli({"crossings", f, "--debug", "list"});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_THAT(list.out, HasSubstr("\nintersect  0=Off, 1=intersection problems\n"));
    EXPECT_THAT(list.out,
                HasSubstr("\nvelarcline:boolean  Cancel boolean operation intersection check (a plain"));
    EXPECT_THAT(list.out, Not(HasSubstr("crossings")));

    struct Bad {
        std::vector<std::string> args;
        std::string message;
    };
    const Bad bad[] = {
        {{"--debug", "nosuch=1"}, "--debug: no debug level named 'nosuch'"},
        {{"--debug", "Intersect=1"}, "--debug: no debug level named 'Intersect' (did you mean 'intersect'?)"},
        {{"--debug", "intersect=x"},
         "--debug: 'intersect=x': the level is not a whole number from 0 to 1000000"},
        {{"--debug", "intersect"}, "--debug: 'intersect': expected NAME=LEVEL"},
        {{"--debug", "intersect=1", "--debug-out", "-"},
         "--debug-out: the debug geometry document is a file; '-' is not taken"},
    };
    for (const Bad& b : bad) {
        std::vector<std::string> args{"crossings", f};
        args.insert(args.end(), b.args.begin(), b.args.end());
        const Outcome o = cli(args);
        EXPECT_EQ(o.code, 2) << b.message;
        EXPECT_EQ(o.messages(), std::vector<std::string>{b.message}) << o.err;
        EXPECT_TRUE(o.out.empty()) << "the command does not run";
    }

    // A channel on that writes nothing: the run goes as usual, and no document is made.
    const Outcome quiet = cli({"crossings", f, "--debug", "intersect=1,arclinesorter=2", "--debug-out", doc});
    EXPECT_EQ(quiet.code, 0) << quiet.err;
    EXPECT_THAT(quiet.out, HasSubstr("2 crossings"));
    EXPECT_EQ(quiet.messages(),
              std::vector<std::string>{
                  "arcline crossings: debug geometry: the channels that are on wrote nothing"});
    EXPECT_FALSE(fs::exists(doc));
    // The levels are back where they were.
    EXPECT_EQ(velDebugGeometry::get_from_manager("intersect").level(), 0);
    EXPECT_EQ(velDebugGeometry::get_from_manager("arclinesorter").level(), 0);

    const Outcome nothing_on = cli({"crossings", f, "--debug-out", doc});
    EXPECT_EQ(nothing_on.code, 0);
    EXPECT_EQ(
        nothing_on.messages(),
        std::vector<std::string>{"--debug-out: warning: no debug channel is on (--debug CHANNEL=LEVEL or "
                                 "ARCLINE_DEBUG), so nothing is written"});

    // Commands that only read and draw files take no debug options.
    EXPECT_EQ(cli({"info", f, "--debug", "intersect=1"}).code, 2);
    const Outcome help = cli({"crossings", "--help"});
    EXPECT_THAT(help.out, HasSubstr("--debug CHANNEL=LEVEL"));
    EXPECT_THAT(help.out, HasSubstr("--debug-out FILE.cdg"));
    EXPECT_THAT(cli({"svg", "--help"}).out, Not(HasSubstr("--debug")));
}

TEST(DebugOutput, TheEnvironmentFirstThenTheOptions) {
    ScratchDir dir;
    const DefaultLevels restore;
    const std::string f = shapes(dir);
    ::setenv("ARCLINE_DEBUG", "intersect=", 1);
    const Outcome bad = cli({"crossings", f});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.messages(),
              std::vector<std::string>{
                  "ARCLINE_DEBUG: 'intersect=': the level is not a whole number from 0 to 1000000"});
    // Viewers do not read it.
    EXPECT_EQ(cli({"info", f}).code, 0);
    // --debug overrides the environment: intersect=0 turns the only channel off again.
    ::setenv("ARCLINE_DEBUG", "intersect=1", 1);
    const Outcome off = cli({"crossings", f, "--debug", "intersect=0", "--debug-out", dir.file("d.cdg")});
    ::unsetenv("ARCLINE_DEBUG");
    EXPECT_EQ(off.code, 0);
    EXPECT_EQ(off.messages().size(), 1u);
    EXPECT_THAT(off.err, HasSubstr("no debug channel is on"));
}

} // namespace
