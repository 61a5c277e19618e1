#include "cliTestKit.h"

#include <sys/stat.h>

using namespace clitest;

namespace {

// A random polyline of every kind DXF must carry: flat with arcs at some height (closed or open), straight
// in 3D, with a tilted arc (a ramp), or a single position.
std::vector<std::string> random_polyline(std::mt19937& rng, int kind) {
    std::uniform_real_distribution<double> u(-1e3, 1e3), angle(0.2, 2.8);
    const double z = kind == 0 ? 0.0 : std::round(u(rng));
    std::vector<std::string> out;
    double x = u(rng), y = u(rng);
    out.push_back(p(x, y, z));
    if (kind == 3) return out;
    const int spans = 1 + static_cast<int>(rng() % 6);
    for (int k = 0; k < spans; ++k) {
        const double nx = x + u(rng) / 10, ny = y + u(rng) / 10;
        if (kind == 2) {
            out.push_back(p(nx, ny, u(rng)));
        } else if (rng() % 2) {
            // An arc of sweep t: the mid point at bulge tan(t / 4) right of the chord.
            const double b = std::tan(angle(rng) / 4) * (rng() % 2 ? 1 : -1);
            out.push_back(
                a(0.5 * (x + nx) + 0.5 * b * (ny - y), 0.5 * (y + ny) - 0.5 * b * (nx - x), nx, ny, z));
        } else {
            out.push_back(p(nx, ny, z));
        }
        x = nx;
        y = ny;
    }
    if (kind == 1) out.push_back(out.front()); // closed: back on the start, straight
    if (kind == 4) {
        // A tilted half circle of radius 5 about the end, rising by 5.
        out.push_back("a " + num(x - 5) + " " + num(y + 5) + " " + num(z + 5) + " " + num(x - 10) + " " +
                      num(y) + " " + num(z));
    }
    return out;
}

} // namespace

// Through DXF and back, every position and mid point stays within 1e-12 of the model's size: LWPOLYLINE
// bulges for flat polylines, 3D POLYLINE for straight ones, POINT for single positions, LINE and ARC
// entities for the spans of a polyline with a tilted arc (only these change the polyline count).
TEST(ConvertCommand, DxfRoundTripKeepsEverySpan) {
    ScratchDir dir;
    std::mt19937 rng(5);
    const std::string in = dir.file("in.txt"), dxf = dir.file("mid.dxf"), back = dir.file("back.txt");
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::vector<std::string>> polylines;
        int split = 0;
        for (int k = 0; k < 1 + round % 5; ++k) {
            const int kind = static_cast<int>(rng() % 5);
            polylines.push_back(random_polyline(rng, kind));
            split += kind == 4;
        }
        spit(in, records(polylines));
        const Outcome w = cli({"convert", in, dxf});
        ASSERT_EQ(w.code, 0) << w.err;
        EXPECT_EQ(w.err.empty(), split == 0) << w.err;
        const Outcome r = cli({"convert", dxf, back});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        expect_same_spans(spans_of(back), spans_of(in), 1e-12 * 2e3, split == 0);
        if (split == 0) {
            EXPECT_EQ(info_json({back})[0]["polylines"], polylines.size());
        }
    }
    // The examples, the pocket exactly.
    for (const char* name : {"pocket.txt", "toolpath.txt"}) {
        ASSERT_EQ(cli({"convert", example(name), dxf}).code, 0);
        ASSERT_EQ(cli({"convert", dxf, back}).code, 0);
        expect_same_spans(spans_of(back), spans_of(example(name)), 1e-12 * 200, false);
    }
}

// A debug document of the polylines: a node per polyline, a line per straight span, an arc per arc span. A
// picture file comes back as the reader sees it, record files byte for byte.
TEST(ConvertCommand, WritesDebugDocumentsAndPipes) {
    ScratchDir dir;
    const std::string out = dir.file("parts.cdg"), picture = dir.file("picture.txt"),
                      back = dir.file("back.txt");
    spit(picture, "picture 1\n2\n3 0 0\nl 0 4 0\na 0 4 3 1\nl 0 0 0\n1 10 10 a 0 12 10 -2.5\n");
    ASSERT_EQ(cli({"convert", picture, back}).code, 0);
    EXPECT_THAT(slurp(back), StartsWith("velGeometryIO 1\np 0 0 0\np 4 0 0\na "));
    expect_same_spans(spans_of(back), spans_of(picture), 0.0);

    put(dir, "in.txt", {square(0, 0), circle(5, 0, 1), {p(7, 7)}});
    const Outcome r = cli({"convert", dir.file("in.txt"), out});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<lumet::CDGRecord> doc = debugtest::records_of(out);
    EXPECT_EQ(debugtest::codes(doc), "UULLLLOUFFOUPOO");
    EXPECT_EQ(doc[0].text, dir.file("in.txt"));
    // "-" reads standard input and writes standard output, in the format --to names.
    EXPECT_EQ(cli({"convert", dir.file("in.txt"), "-", "--to", "cdg"}).out, slurp(out));
    const std::string pocket = slurp(example("pocket.txt"));
    EXPECT_EQ(cli({"convert", "-", "-"}, pocket).out, pocket);
    const Outcome dxf = cli({"convert", "-", "-", "--to", "dxf"}, pocket);
    EXPECT_EQ(info_json({"-"}, dxf.out)[0]["polylines"], 13);
    EXPECT_EQ(count(dxf.out, "\nLWPOLYLINE\n"), 13);
}

// The output is replaced only by a whole result: a fault in IN leaves it as it was, unless --partial asks
// for what came before the fault; an output that cannot be written leaves no file behind.
TEST(ConvertCommand, OutputsAreAllOrNothing) {
    ScratchDir dir;
    const std::string out = dir.file("out.txt");
    spit(out, "precious");
    const Outcome r = cli({"convert", data("unknown_record.txt"), out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.messages(), (std::vector<std::string>{data("unknown_record.txt") + ":5: unknown record 'q'",
                                                      "arcline convert: " + out +
                                                          " not written (--partial writes the polylines read "
                                                          "before the fault)"}));
    EXPECT_EQ(slurp(out), "precious");
    EXPECT_EQ(cli({"convert", data("not_geometry.txt"), out}).code, 2);
    EXPECT_EQ(slurp(out), "precious");

    EXPECT_EQ(cli({"convert", "--partial", data("unknown_record.txt"), out}).code, 2);
    EXPECT_EQ(slurp(out), "velGeometryIO 1\np 0 0 0\np 1 0 0\ns\ne");

    // The file keeps its permissions; a link stays a link to the replaced file.
    ::chmod(out.c_str(), 0600);
    fs::create_symlink(out, dir.file("link.txt"));
    ASSERT_EQ(cli({"convert", data("version_7.txt"), dir.file("link.txt")}).code, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(slurp(out), "velGeometryIO 1\np 0 0 0\np 1 0 0\ns\ne");

    const Outcome unwritable = cli({"convert", data("version_7.txt"), dir.file("no/such/dir/out.txt")});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.messages().back(),
              dir.file("no/such/dir/out.txt") + ": cannot write: No such file or directory");
    if (fs::exists("/dev/full")) {
        const Outcome full = cli({"convert", example("pocket.txt"), "/dev/full"});
        EXPECT_EQ(full.code, 1);
        EXPECT_EQ(full.err, "/dev/full: cannot write: No space left on device\n");
    }
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".arcline-"), std::string::npos) << entry.path();
}
