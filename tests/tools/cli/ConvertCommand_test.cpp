#include "cliTestKit.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"

#include <random>

using namespace clitest;
using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

namespace {

// Positions and mid points of every polyline, in order.
std::vector<std::vector<giPoint3>> geometry(const std::string& path) {
    List list;
    velGeometryIO::read(path.c_str(), list);
    std::vector<std::vector<giPoint3>> out;
    velAbsPolyArcLineListIter it(list);
    for (it.reset(); ++it;) {
        out.emplace_back();
        for (int i = 0; i < it.num_pos(); ++i) {
            if (i > 0 && !it.span_linear(i - 1)) out.back().push_back(it.get_mid_pos(i - 1));
            out.back().push_back(it.get_pos(i));
        }
    }
    return out;
}

} // namespace

// Random lists in the record format come back byte for byte; a picture file comes back as the reader sees it.
TEST(ConvertCommand, RoundTripsRecordAndPictureFiles) {
    ScratchDir dir;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1e3, 1e3);
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt"), again = dir.file("again.txt");
    for (int round = 0; round < 10; ++round) {
        std::vector<std::vector<std::string>> polylines(1 + round % 4);
        for (auto& poly : polylines) {
            poly.push_back("p " + num(u(rng)) + " " + num(u(rng)) + " " + num(u(rng)));
            for (int k = rng() % 6; k > 0; --k) {
                poly.push_back(rng() % 2 ? "p " + num(u(rng)) + " " + num(u(rng)) + " " + num(u(rng))
                                         : "a " + num(u(rng)) + " " + num(u(rng)) + " " + num(u(rng)) + " " +
                                               num(u(rng)) + " " + num(u(rng)) + " " + num(u(rng)));
            }
        }
        spit(in, records(polylines));
        const Outcome r = cli({"convert", in, out});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(slurp(out), slurp(in));
    }

    spit(in, "picture 1\n2\n3 0 0\nl 0 4 0\na 0 4 3 1\nl 0 0 0\n1 10 10 a 0 12 10 -2.5\n");
    ASSERT_EQ(cli({"convert", in, out}).code, 0);
    EXPECT_EQ(slurp(out).rfind("velGeometryIO 1\np 0 0 0\np 4 0 0\na ", 0), 0u) << slurp(out);
    EXPECT_EQ(geometry(out), geometry(in));
    ASSERT_EQ(cli({"convert", out, again}).code, 0);
    EXPECT_EQ(slurp(again), slurp(out));
}

TEST(ConvertCommand, FaultsAndBadArguments) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    // A bad record on line 5: the polyline finished before it is written, and the exit code says so.
    spit(in, "velGeometryIO 1\np 0 0 0\np 1 1 1\ns\nq 1 2 3\np 2 2 2\ns\ne");
    const Outcome r = cli({"convert", in, out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(
        r.err,
        in + ":5: unknown record 'q'\narcline convert: wrote the 1 polyline(s) read before the fault to " +
            out + "\n");
    EXPECT_EQ(slurp(out), "velGeometryIO 1\np 0 0 0\np 1 1 1\ns\ne");

    const Outcome missing = cli({"convert", dir.file("nope.txt"), out});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, dir.file("nope.txt") + ": cannot open: No such file or directory\n");

    spit(in, records({square(0, 0)}));
    const Outcome unwritable = cli({"convert", in, dir.file("no/such/dir/out.txt")});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.err,
              dir.file("no/such/dir/out.txt") + ": cannot write: No such file or directory\n");
}
