#include "../lists/listTestKit.h"
#include "debugTestKit.h"

#include "arcline/debug/CDGDocument.h"
#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"

#include <bit>
#include <cstdio>
#include <limits>

// The picture reader's header checks cannot be reached through read(), which tests for a picture first.
struct velGeometryIOTestAccess {
    static bool read_picture(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
        return velGeometryIO::read_pictureio_format(path, list);
    }
};

namespace velGeometryIO_test {

using namespace debugtest;
using listtest::Polylines;
using polytest::mid;
using polytest::pos;
using List = velAbsPolyArcLinecoDListPrgcoPrgcoDList;

namespace {

List to_list(const Polylines& polylines) {
    List list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor c(list);
    for (const auto& p : polylines)
        c.insert_last(velAbsPolyArcLinecoPrg(p->create_new()));
    return list;
}

std::vector<const velAbsPolyArcLine*> items(const List& list) {
    std::vector<const velAbsPolyArcLine*> out;
    for (const auto& p : list)
        out.push_back(p.get());
    return out;
}

void write(const std::string& path, const List& list) {
    velAbsPolyArcLineListIter it(list);
    velGeometryIO::write(path.c_str(), it);
}

// Equal bit for bit; NaNs by their sign, since the text keeps no payload.
bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
bool same(const giPoint3& a, const giPoint3& b) {
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}

void expect_identical(const velAbsPolyArcLine& got, const velAbsPolyArcLine& want) {
    ASSERT_EQ(got.num_pos(), want.num_pos());
    for (int i = 1; i <= want.num_pos(); ++i) {
        EXPECT_TRUE(same(pos(got, i), pos(want, i))) << "position " << i;
        if (i == want.num_pos()) break;
        ASSERT_EQ(got.span_linear(i), want.span_linear(i)) << "span " << i;
        if (!want.span_linear(i)) {
            EXPECT_TRUE(same(mid(got, i), mid(want, i))) << "mid " << i;
        }
    }
}

// The writer's output made a second way, with printf.
std::string printf_text(const List& list) {
    auto fmt = [](const giPoint3& p) {
        char buf[96];
        std::snprintf(buf, sizeof buf, " %.17g %.17g %.17g", p.x, p.y, p.z);
        return std::string(buf);
    };
    std::string out = "velGeometryIO 1";
    for (const auto& p : list) {
        for (int i = 1; i <= p->num_pos(); ++i) {
            if (i > 1 && !p->span_linear(i - 1)) {
                out += "\na" + fmt(mid(*p, i - 1)) + fmt(pos(*p, i));
            } else {
                out += "\np" + fmt(pos(*p, i));
            }
        }
        out += "\ns";
    }
    return out + "\ne";
}

// A polyline of awkward doubles: random bit patterns over the whole range, zeros of both signs, the
// smallest subnormal, the extremes and non-finite values.
std::unique_ptr<velAbsPolyArcLine> awkward_polyline(std::mt19937_64& rng) {
    auto line = std::make_unique<velPolyArcLineDouble>();
    auto any = [&] {
        double v;
        do {
            v = std::bit_cast<double>(rng());
        } while (std::isnan(v));
        return v;
    };
    using L = std::numeric_limits<double>;
    line->add_pos({-0.0, L::denorm_min(), L::max()});
    line->add_pos({L::infinity(), -L::infinity(), -L::quiet_NaN()});
    line->add_arc({L::min(), -L::denorm_min(), 0.1}, {L::lowest(), 1e-300, 1e300});
    for (int k = 0; k < 20; ++k) {
        if (k % 3 == 0) {
            line->add_arc({any(), any(), any()}, {any(), any(), any()});
        } else {
            line->add_pos({any(), any(), any()});
        }
    }
    return line;
}

// The writer prints what printf prints, and the reader gives the doubles back bit for bit. It streams the
// file through a buffer of a megabyte that grows for longer items: records, white space and numbers that
// straddle its refills must read as if the file were whole.
TEST(velGeometryIO, RoundTripsBitForBitAcrossBufferRefills) {
    ScratchDir dir;
    const std::string f = dir.file("big.txt");
    write(f, List());
    EXPECT_EQ(slurp(f), "velGeometryIO 1\ne");
    std::mt19937_64 bits(3);
    listtest::Rng rng(5);
    Polylines in = listtest::random_list(rng, 12, true);
    for (int k = 0; k < 1500; ++k)
        in.push_back(awkward_polyline(bits));
    write(f, to_list(in));
    ASSERT_GT(fs::file_size(f), 3u << 20);
    EXPECT_EQ(slurp(f), printf_text(to_list(in))); // the bytes made a second way, with printf
    List back;
    ASSERT_TRUE(velGeometryIO::read(f.c_str(), back));
    const auto got = items(back);
    ASSERT_EQ(got.size(), in.size());
    for (std::size_t k = 0; k < in.size(); ++k)
        expect_identical(*got[k], *in[k]);

    const std::string zeros((5u << 20) / 2, '0'); // longer than the buffer
    spit(f, "velGeometryIO 1" + std::string(3u << 19, ' ') + "\np " + zeros + "1 2 " + zeros + "\ns junk" +
                zeros + "\ns\n" + zeros);
    List odd;
    velGeometryIOFault fault;
    EXPECT_FALSE(velGeometryIO::read(f.c_str(), odd, fault)); // the last line's marker is '0'
    EXPECT_EQ(fault.line, 5);
    ASSERT_EQ(odd.size(), 2);
    EXPECT_EQ(pos(*items(odd)[0], 1), giPoint3(1, 2, 0));
    EXPECT_EQ(items(odd)[1]->num_pos(), 0);
}

// Read as a stream reads: any version, text after a record ignored, numbers over lines, the polylines ended
// before a fault kept; a fault tells its line (0 when there is none) and reason.
TEST(velGeometryIO, ReadsTheRecordFormatAsAStreamDoesAndFaultsTellTheLine) {
    ScratchDir dir;
    const std::string f = dir.file("in.txt");
    struct Case {
        std::string text;
        bool ok;
        std::vector<int> positions; // of each polyline delivered
        int line;
        std::string reason_has;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"velGeometryIO 7\np 0 0 0\na 1 1 0 2 0 0\ns\ne", true, {2}, 0, ""},
        {"velPointFilterIO 1\np 1 2 3 trailing words\ns junk\ne", true, {1}, 0, ""},
        {"velGeometryIO 1\np 1\n2\n +3\ns\np 5 5 5\ne", true, {1}, 0, ""}, // unfinished last polyline
        {"velGeometryIO 1\ne\np 1 1 1\ns", true, {1}, 0, ""},                   // "e" is not the end
        {"velGeometryIO 1\na 1 1 0 2 0 0\np 0 0 0\ns\ns", true, {1, 0}, 0, ""}, // no start for the arc; empty
        {"velGeometryIO 1\np 0 0 0\ns\nx 1 2\np 1 1 1\ns", false, {1}, 4, "'x'"},
        {"velGeometryIO 1\np 0 0 0\ns\np 1 1e999 1\ns", false, {1}, 4, "number 2 of 3"},
        {"velGeometryIO 1\np 0 0 0\ns\n\nx", false, {1}, 5, "'x'"},
        {"velGeometryIO 1\n\na 1 2 3\n4 5", false, {}, 3, "number 6 of 6"},
        {"velGeometryIO 1\np 0 zero 0", false, {}, 2, "number 2 of 3"},
        {"velGeometryIO 1\n\x01", false, {}, 2, "'?'"},
        {"\n\nvelGeometry 1", false, {}, 3, "header word 'velGeometry'"},
        {"hello 1\np 0 0 0\ns", false, {}, 1, "header word 'hello'"},
        {"velGeometryIO one", false, {}, 1, "version"},
        {"velGeometryIO\n", false, {}, 2, "version"},
        {"", false, {}, 1, ""},
        {"picture 2\n1\n1 0 0 l 0 1 0", false, {}, 1, ""}, // not a picture, not a record file
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        spit(f, c.text);
        List list;
        velGeometryIOFault fault{7, "stale"};
        EXPECT_EQ(velGeometryIO::read(f.c_str(), list, fault), c.ok);
        std::vector<int> n;
        for (const auto* p : items(list))
            n.push_back(p->num_pos());
        EXPECT_EQ(n, c.positions);
        EXPECT_EQ(fault.line, c.line);
        EXPECT_EQ(fault.empty(), c.ok);
        EXPECT_NE(fault.reason.find(c.reason_has), std::string::npos) << fault.reason;
    }

    // The arc of the first case, and a list that keeps what it held.
    spit(f, cases[0].text);
    List list;
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(list).insert_last(
        std::make_shared<velPolyArcLineDouble>());
    ASSERT_TRUE(velGeometryIO::read(f.c_str(), list));
    ASSERT_EQ(list.size(), 2);
    const velAbsPolyArcLine& arc = *items(list)[1];
    EXPECT_EQ(items(list)[0]->num_pos(), 0);
    EXPECT_EQ(arc.span_linear(1), 0);
    EXPECT_EQ(mid(arc, 1), giPoint3(1, 1, 0));
    EXPECT_EQ(pos(arc, 2), giPoint3(2, 0, 0));
    velAbsPolyArcLineListCursor cursor; // through a cursor, polylines without positions are skipped
    spit(f, cases[4].text);
    EXPECT_TRUE(velGeometryIO::read(f.c_str(), cursor));
    EXPECT_EQ(cursor.list().size(), 1);
    velGeometryIOFault fault;
    EXPECT_FALSE(velGeometryIO::read(dir.file("missing.txt").c_str(), cursor, fault));
    EXPECT_EQ(fault.line, 0);
    EXPECT_NE(fault.reason.find("cannot open"), std::string::npos);
}

// Reports of the picture reader with every field.
struct Report {
    std::string file, message, function, expression;
};
std::vector<Report> g_reports;
void record_report(const char* file, int line, const char* message, const char* function, const char* expr) {
    EXPECT_GT(line, 0);
    g_reports.push_back({file, message, function, expr});
}

TEST(velGeometryIO, PictureFilesReadAndTheirFaultsAreReported) {
    ScratchDir dir;
    const std::string f = dir.file("pic.txt");
    struct Case {
        std::string text;
        std::vector<std::pair<std::string, std::string>> reports; // message, expression
        std::vector<int> positions;
    };
    const std::string fail = "!file.fail()";
    const std::vector<Case> cases = {
        {"picture 1\n2\n1 0 0\na 0 2 0 1\n2 0 0 l 0 1 0 a 7 1 1 -1\n", {}, {2, 3}},
        {"", {{"Readline failed to read header.", fail}}, {}},
        {"pictur 1 1 0 0 0", {{"This isn't a picture.", "s == \"picture\""}}, {1}},
        {"picture 3 0", {{"Wrong version.", "version == 1"}}, {}},
        {"picture 1", {{"Readline failed to read num_contours.", fail}}, {}},
        {"picture 1 2 1 0 0 l 0 1 0 1 5", {{"Readline failed to read contour header.", fail}}, {2}},
        {"picture 1 1 3 0 0 l 0 1 0", {{"Readline failed to read span marker.", fail}}, {2}},
        {"picture 1 1 2 0 0 l 0 1 0 a 0 1", {{"Readline failed to read arc span.", fail}}, {2}},
        {"picture 1 1 1 0 0 l 0 x", {{"Readline failed to read line span.", fail}}, {1}},
        {"picture 1 1 2 0 0 q l 0 1 0", {{"Invalid marker character in data file.", "0"}}, {2}},
    };
    const ut::AssertHandler previous = ut::set_assert_handler(&record_report);
    for (const Case& c : cases) {
        spit(f, c.text);
        g_reports.clear();
        List list;
        EXPECT_TRUE(velGeometryIOTestAccess::read_picture(f.c_str(), list));
        ASSERT_EQ(g_reports.size(), c.reports.size()) << c.text;
        for (std::size_t i = 0; i < c.reports.size(); ++i) {
            EXPECT_EQ(g_reports[i].message, c.reports[i].first);
            EXPECT_EQ(g_reports[i].expression, c.reports[i].second);
            EXPECT_EQ(g_reports[i].function, "velGeometryIO::read_pictureio_format");
            EXPECT_NE(g_reports[i].file.find("velGeometryIO.cpp"), std::string::npos);
        }
        std::vector<int> n;
        for (const auto* p : items(list))
            n.push_back(p->num_pos());
        EXPECT_EQ(n, c.positions) << c.text;
    }
    ut::set_assert_handler(previous);
    // b = 1: the half circle below the chord from (0, 0) to (2, 0), anticlockwise; b = -1 from (1, 0) to
    // (1, 1): the mid point left of the chord.
    spit(f, cases[0].text);
    List list;
    ASSERT_TRUE(velGeometryIO::read(f.c_str(), list));
    EXPECT_EQ(mid(*items(list).at(0), 1), giPoint3(1, -1, 0));
    EXPECT_EQ(items(list).at(1)->span_linear(1), 1);
    EXPECT_EQ(mid(*items(list).at(1), 2), giPoint3(0.5, 0.5, 0));
}

TEST(velGeometryIO, WriteCdgExportsNodesPointsLinesAndArcs) {
    ScratchDir dir;
    const std::string doc = dir.file("export");
    Polylines in(3);
    for (auto& p : in)
        p = std::make_unique<velPolyArcLineDouble>();
    in[0]->add_pos({1, 2, 3});
    in[2]->add_pos({0, 0, 0});
    in[2]->add_pos({1, 0, 0});
    in[2]->add_arc({2, 1, 0}, {3, 0, 0});
    const List list = to_list(in);
    velAbsPolyArcLineListIter it(list);
    velGeometryIO::write_cdg(doc.c_str(), "result", it);
    EXPECT_EQ(codes(records_of(doc + ".cdg")), "UUPOULFOO"); // flushed: readable while open
    lumet::CDGDocument::closeDoc(doc);

    const auto r = records_of(doc + ".cdg");
    ASSERT_EQ(codes(r), "UUPOULFOO");
    EXPECT_EQ(r[0].text, "result");
    EXPECT_EQ(r[1].text, "polyline 0");
    EXPECT_EQ(r[2].colours, std::vector<std::string>{"#ffffff"});
    EXPECT_EQ(r[2].points[0], lumet::P3(1, 2, 3));
    EXPECT_EQ(r[4].text, "polyline 2");
    EXPECT_EQ(r[6].points, (std::vector<lumet::P3>{{1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(r[6].text, "span 1");
}

} // namespace

} // namespace velGeometryIO_test
