#include "debugTestKit.h"

#include "arcline/debug/CDGDocument.h"
#include "arcline/platform/giFloatArray3.h"

#include <array>
#include <functional>
#include <numbers>
#include <random>
#include <thread>

namespace CDGDocument_test {

using namespace debugtest;
using lumet::CDGDocument;
using lumet::CDGReader;
using lumet::CDGRecord;
using lumet::P2;
using lumet::P3;
using lumet::ParamPair;
using Params = CDGRecord::Params;

namespace {

// gi_narrow: a plain cast pair may be folded away by the optimizer.
double single(double v) {
    return gi_narrow(v);
}
P3 single(const P3& p) {
    return {single(p.x), single(p.y), single(p.z)};
}
Params par(const ParamPair& v, bool a, bool b) {
    return {single(v.first), single(v.second), a, b};
}

// The encodings worked out by hand from the bit patterns: 1.0f is 0x3F800000 (bits 23-29), so its groups
// are 0, 0, 0, 32 ('g'), 63 ('/'), 0.
TEST(CDGDocument, PacksFieldsLittleEndianInSixBitGroups) {
    EXPECT_EQ(CDGDocument::floatToBase64(0.0), "AAAAAA");
    EXPECT_EQ(CDGDocument::floatToBase64(1.0), "AAAg/A");
    EXPECT_EQ(CDGDocument::floatToBase64(-0.0), "AAAAAC"); // the sign bit is bit 1 of group 5
    EXPECT_EQ(CDGDocument::pointToBase64(0, 0, 0), std::string(16, 'A'));
    EXPECT_EQ(CDGDocument::pointToBase64(1, 0, 0), "AAAg/" + std::string(11, 'A'));
    EXPECT_EQ(CDGDocument::pointToBase64(P3(0, 1, 0)), std::string(9, 'A') + "+D" + std::string(5, 'A'));
    EXPECT_EQ(CDGDocument::paramsToBase64({0, 0}, true, false), std::string(10, 'A') + "Q");
    EXPECT_EQ(CDGDocument::paramsToBase64({0, 0}, false, true), std::string(10, 'A') + "g");
    EXPECT_EQ(CDGDocument::paramsToBase64({0, 0}, true, true), std::string(10, 'A') + "w");

    // Colours: the first digit is the lowest nibble.
    EXPECT_EQ(CDGDocument::colorToBase64("#000000"), "AAAA");
    EXPECT_EQ(CDGDocument::colorToBase64("#100000"), "BAAA");
    EXPECT_EQ(CDGDocument::colorToBase64("#000001"), "AAAE");
    EXPECT_EQ(CDGDocument::colorToBase64("#ffffff"), "////");
    EXPECT_EQ(CDGDocument::colorToBase64("#abcdef"), "6yt/");
    EXPECT_EQ(CDGDocument::colorToBase64("#ABCDEF"), "6yt/");
    EXPECT_EQ(CDGDocument::colorToBase64("#1z"), "BAAA"); // non-digits and missing digits count 0
    EXPECT_EQ(CDGDocument::imColor("#100000"), "BAAA");
    EXPECT_EQ(CDGDocument::imVector3(1, 0, 0), CDGDocument::pointToBase64(1, 0, 0));
}

TEST(CDGDocument, DecodingGivesBackTheSingles) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    auto value = [&] {
        const double m = mantissa(rng);
        return std::ldexp(m, exponent(rng));
    };
    for (int k = 0; k < 500; ++k) {
        const P3 p{value(), value(), value()};
        EXPECT_EQ(CDGReader::decodePoint(CDGDocument::pointToBase64(p)), single(p));
        const double v = value();
        EXPECT_EQ(CDGReader::decodeNumber(CDGDocument::floatToBase64(v)), single(v));
        const ParamPair pair{value(), value()};
        const bool a = k & 1, b = k & 2;
        EXPECT_EQ(CDGReader::decodeParams(CDGDocument::paramsToBase64(pair, a, b)), par(pair, a, b));
    }
    EXPECT_EQ(CDGReader::decodeColour(CDGDocument::colorToBase64("#12aB9f")), "#12ab9f");
    // Wrong length, a character outside the alphabet, padding bits set.
    EXPECT_FALSE(CDGReader::decodeNumber("AAAAA"));
    EXPECT_FALSE(CDGReader::decodeNumber("AAA*AA"));
    EXPECT_FALSE(CDGReader::decodeNumber("AAAAAQ"));
}

TEST(CDGDocument, EveryRecordKindReadsBack) {
    ScratchDir dir;
    const std::string doc = dir.file("kinds");
    const P3 a{1.1, -2.2, 3.3}, b{-4.4, 5.5, 1e-3}, c{7.7, 8.8, -9.9}, d{0.1, 0.2, 0.3};
    const ParamPair pr{0.25, 1.0 / 3};
    std::array<double, 16> m{};
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = 0.1 * double(i) - 0.7;
    std::vector<double> ms;
    for (const double v : m)
        ms.push_back(single(v));

    struct Case {
        std::function<void()> write;
        CDGRecord expected;
    };
    const std::string red = "#ff0000";
    const double two_pi = 2 * std::numbers::pi;
    // clang-format off
    const std::vector<Case> cases = {
        {[&] { CDGDocument::pushNode(doc, "node"); }, {'U', {}, {}, {}, {}, "node"}},
        {[&] { CDGDocument::pushColoredNode(doc, "#12AB9f", "cn"); }, {'u', {}, {}, {}, {"#12ab9f"}, "cn"}},
        {[&] { CDGDocument::popNode(doc); }, {'O', {}, {}, {}, {}, ""}},
        {[&] { CDGDocument::setTransform(doc, m); }, {'X', {}, ms, {}, {}, ""}},
        {[&] { CDGDocument::clearTransform(doc); }, {'x', {}, {}, {}, {}, ""}},
        {[&] { CDGDocument::exportPoint(doc, a, red, "pt"); }, {'P', {a}, {}, {}, {red}, "pt"}},
        {[&] { CDGDocument::exportPoint(doc, P2(1.1, -2.2), red, ""); }, {'P', {{1.1, -2.2, 0}}, {}, {}, {red}, ""}},
        {[&] { CDGDocument::exportPoint(doc, 1.1, -2.2, 3.3, red, "xyz"); }, {'P', {a}, {}, {}, {red}, "xyz"}},
        {[&] { CDGDocument::exportPoint(doc, a, pr, red, "pp"); }, {'p', {a}, {}, {par(pr, 1, 1)}, {red}, "pp"}},
        {[&] { CDGDocument::exportLine(doc, a, b, red, "ln"); }, {'L', {a, b}, {}, {}, {red}, "ln"}},
        {[&] { CDGDocument::exportLine(doc, 1, 2, 3, 4, red, ""); }, {'L', {{1, 2, 0}, {3, 4, 0}}, {}, {}, {red}, ""}},
        {[&] { CDGDocument::exportLine(doc, a, b, pr, red, "lp"); }, {'l', {a, b}, {}, {par(pr, 1, 1), par(pr, 0, 0)}, {red}, "lp"}},
        {[&] { CDGDocument::exportVector(doc, a, b, red, "vc"); }, {'V', {a, b}, {}, {}, {red}, "vc"}},
        {[&] { CDGDocument::exportVector(doc, a, b, pr, red, "vp"); }, {'v', {a, b}, {}, {par(pr, 1, 1)}, {red}, "vp"}},
        {[&] { CDGDocument::exportArc(doc, a, b, c, 1.5, red, "arc"); }, {'A', {a, b, c}, {}, {par({1.5, 0}, 1, 0)}, {red}, "arc"}},
        {[&] { CDGDocument::exportHelix(doc, a, b, c, 1.5, 2.5, red, "hx"); }, {'A', {a, b, c}, {}, {par({1.5, 2.5}, 1, 1)}, {red}, "hx"}},
        {[&] { CDGDocument::exportArc(doc, a, b, c, 1.5, pr, red, "ap"); }, {'a', {a, b, c}, {}, {par({1.5, 0}, 1, 0), par(pr, 1, 1), par(pr, 0, 0)}, {red}, "ap"}},
        {[&] { CDGDocument::exportHelix(doc, a, b, c, 1.5, 2.5, pr, red, "hp"); }, {'a', {a, b, c}, {}, {par({1.5, 2.5}, 1, 1), par(pr, 1, 1), par(pr, 0, 0)}, {red}, "hp"}},
        {[&] { CDGDocument::exportArc(doc, a, b, c, d, red, "f4"); }, {'F', {a, b, c, d}, {}, {}, {red}, "f4"}},
        {[&] { CDGDocument::exportArcFromPoints(doc, 1, 0, 0, 1, -1, 0, red, "f3"); }, {'F', {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 0}}, {}, {}, {red}, "f3"}},
        // no circle: the mid is the centre
        {[&] { CDGDocument::exportArcFromPoints(doc, a, a, b, red, "flat"); }, {'F', {a, a, b, a}, {}, {}, {red}, "flat"}},
        {[&] { CDGDocument::exportCircle(doc, 1, 2, 3, red, "ci"); }, {'A', {{1, 2, 0}, {4, 2, 0}, {0, 0, 1}}, {}, {par({two_pi, 0}, 1, 0)}, {red}, "ci"}},
        {[&] { CDGDocument::exportCircle(doc, P3(0, 0, 0), P3(-2, 0, 0), 2, red, "cx"); }, {'A', {{0, 0, 0}, {0, 2, 0}, {-2, 0, 0}}, {}, {par({two_pi, 0}, 1, 0)}, {red}, "cx"}},
        {[&] { CDGDocument::exportEllipse(doc, a, b, c, red, "el"); }, {'E', {a, b, c}, {}, {}, {red}, "el"}},
        {[&] { CDGDocument::exportEllipse(doc, a, b, c, pr, red, "ea"); }, {'e', {a, b, c}, {}, {par(pr, 1, 1)}, {red}, "ea"}},
        {[&] { CDGDocument::exportTriangle(doc, a, b, c, "tri"); }, {'T', {a, b, c}, {}, {}, {}, "tri"}},
        {[&] { CDGDocument::exportTool(doc, a, {10, 1}, {50, 8}, "tool"); }, {'t', {a}, {}, {par({10, 1}, 1, 1), par({50, 8}, 1, 1)}, {}, "tool"}},
        {[&] { CDGDocument::exportWorkplane(doc, m, "wp"); }, {'W', {}, ms, {}, {}, "wp"}},
        {[&] { CDGDocument::exportInformation(doc, "two\nlines"); }, {'I', {}, {}, {}, {}, "two lines"}},
    };
    // clang-format on
    for (const Case& c : cases)
        c.write();
    CDGDocument::closeDoc(doc);

    const std::vector<CDGRecord> got = records_of(doc + ".cdg");
    ASSERT_EQ(got.size(), cases.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const CDGRecord& e = cases[i].expected;
        SCOPED_TRACE(std::string("record ") + std::to_string(i) + " '" + e.code + "'");
        EXPECT_EQ(got[i].code, e.code);
        ASSERT_EQ(got[i].points.size(), e.points.size());
        for (std::size_t k = 0; k < e.points.size(); ++k) {
            EXPECT_NEAR(got[i].points[k].x, e.points[k].x, 1e-6 * (1 + std::fabs(e.points[k].x)));
            EXPECT_NEAR(got[i].points[k].y, e.points[k].y, 1e-6 * (1 + std::fabs(e.points[k].y)));
            EXPECT_NEAR(got[i].points[k].z, e.points[k].z, 1e-6 * (1 + std::fabs(e.points[k].z)));
        }
        EXPECT_EQ(got[i].params, e.params);
        EXPECT_EQ(got[i].colours, e.colours);
        EXPECT_EQ(got[i].text, e.text);
        EXPECT_EQ(got[i].matrix, e.matrix);
    }
    // Points written directly come back as exactly their singles; the derived ones (centres, circle
    // starts) are computed and were compared within rounding above.
    EXPECT_EQ(got[5].points[0], single(a));
    EXPECT_EQ(got[18].points[3], single(d));
}

TEST(CDGDocument, FileLayoutAndNaming) {
    ScratchDir dir;
    // "trace" and "trace.cdg" are one document, in trace.cdg.
    CDGDocument::exportPoint(dir.file("trace"), P3(1, 0, 0), "#100000", "first");
    CDGDocument::exportLine(dir.file("trace.cdg"), P3(0, 0, 0), P3(1, 0, 0), "#000000", "second");
    CDGDocument::closeDoc(dir.file("trace"));
    const std::string one = std::string("P") + CDGDocument::pointToBase64(1, 0, 0) + "BAAAfirst";
    const std::string two =
        std::string("L") + std::string(16, 'A') + CDGDocument::pointToBase64(1, 0, 0) + "AAAAsecond";
    EXPECT_EQ(slurp(dir.file("trace.cdg")), "CDG1\n" + one + "\n" + two + "\n");
    EXPECT_FALSE(fs::exists(dir.file("trace.cdg.cdg")));

    // Closing twice keeps the file; a later call truncates it.
    CDGDocument::closeDoc(dir.file("trace"));
    EXPECT_EQ(slurp(dir.file("trace.cdg")), "CDG1\n" + one + "\n" + two + "\n");
    // In append mode the file is continued without a second header.
    CDGDocument::createDoc(dir.file("trace"), true);
    CDGDocument::exportInformation(dir.file("trace"), "more");
    CDGDocument::flushDoc(dir.file("trace"));
    EXPECT_EQ(slurp(dir.file("trace.cdg")), "CDG1\n" + one + "\n" + two + "\n\nImore"); // flushed, no break
    EXPECT_EQ(codes(records_of(dir.file("trace.cdg"))), "PLI");
    CDGDocument::exportInformation(dir.file("trace"), "x");
    CDGDocument::closeDoc(dir.file("trace"));
    CDGDocument::exportInformation(dir.file("trace"), "fresh");
    CDGDocument::getOFStream(dir.file("trace")) << "\nIown";
    CDGDocument::closeDoc(dir.file("trace"));
    EXPECT_EQ(slurp(dir.file("trace.cdg")), "CDG1\nIfresh\nIown\n");
    // Appending to a missing file begins it.
    CDGDocument::createDoc(dir.file("new"), true);
    CDGDocument::closeDoc(dir.file("new"));
    EXPECT_EQ(slurp(dir.file("new.cdg")), "CDG1\n");
}

TEST(CDGDocument, NodesAndImplicitNodes) {
    ScratchDir dir;
    const std::string doc = dir.file("nodes");
    // An export with a node name opens a node that the next call on the document closes.
    CDGDocument::exportPoint(doc, "own", P3(1, 2, 3), "#ffffff", "a");
    CDGDocument::exportLine(doc, P2(0, 0), P2(1, 1), "#ffffff", "b");
    CDGDocument::pushNode(doc, "outer");
    CDGDocument::pushColoredNode(doc, "#00ff00", "inner");
    CDGDocument::exportTriangle(doc, "tri", P2(0, 0), P2(1, 0), P2(0, 1), "t");
    CDGDocument::popNode(doc); // closes "tri", then "inner"
    CDGDocument::exportCircle(doc, "circle", P2(0, 0), 1.0, "#ffffff", "c");
    CDGDocument::popAllNodes(doc); // closes "circle", then "outer"
    CDGDocument::popNode(doc);     // nothing left open: nothing written
    CDGDocument::exportInformation(doc, "end");
    CDGDocument::exportVector(doc, "last", P3(0, 0, 0), P3(0, 0, 1), "#ffffff", "v");
    CDGDocument::closeDoc(doc); // closes "last"
    const std::vector<CDGRecord> r = records_of(doc + ".cdg");
    EXPECT_EQ(codes(r), "UPOLUuUTOOUAOOIUVO");
    EXPECT_EQ(r[0].text, "own");
    EXPECT_EQ(r[10].text, "circle");
}

// A scratch directory that is also the current directory, for the immediate file.
TEST(CDGDocument, ImmediateFileIsCompleteAfterEveryCall) {
    ScratchDir dir;
    dir.enter();
    CDGDocument::imStart();
    EXPECT_EQ(slurp("immediate.cdg"), "CDG1\n");
    const std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const std::vector<std::function<void()>> calls = {
        [] { CDGDocument::imPushNode("im"); },
        [] { CDGDocument::imPoint(P3(1, 2, 3), "#ff0000", "p"); },
        [] { CDGDocument::imLine(P3(0, 0, 0), P2(1, 1), "#ff0000", "l"); },
        [] { CDGDocument::imArc(P3(1, 0, 0), P3(0, 1, 0), P3(-1, 0, 0), P3(0, 0, 0), "#ff0000", "f"); },
        [] { CDGDocument::imVector(P3(0, 0, 0), P3(0, 0, 1), "#ff0000", "v"); },
        [&] { CDGDocument::imWorkplane(m, "w"); },
        [] { CDGDocument::imPopNode(); },
    };
    for (const auto& call : calls) {
        call();
        const std::string text = slurp("immediate.cdg");
        EXPECT_EQ(text.back(), '\n');
        EXPECT_EQ(text.find("\n\n"), std::string::npos);
    }
    EXPECT_EQ(codes(records_of("immediate.cdg")), "UPLFVWO");
    EXPECT_NE(slurp("immediate.cdg")
                  .find("\nP" + CDGDocument::imVector3(1, 2, 3) + CDGDocument::imColor("#ff0000") + "p\n"),
              std::string::npos);

    // A removed file is started afresh, header first.
    fs::remove("immediate.cdg");
    CDGDocument::imPopNode();
    EXPECT_EQ(slurp("immediate.cdg"), "CDG1\nO\n");
    CDGDocument::imStart();
    EXPECT_EQ(slurp("immediate.cdg"), "CDG1\n");
}

TEST(CDGDocument, InjectKeepsTheTargetBalanced) {
    ScratchDir dir;
    const std::string target = dir.file("target"), source = dir.file("source");
    // A source with a stray O and a node left open.
    spit(source + ".cdg", "CDG1\nO\nUa\nIin a\n\nO\r\nUb\nIin b");
    CDGDocument::pushNode(target, "top");
    EXPECT_EQ(CDGDocument::injectDoc(target, source), 1);
    CDGDocument::exportInformation(target, "after");
    CDGDocument::popAllNodes(target);
    CDGDocument::closeDoc(target);
    EXPECT_EQ(codes(records_of(target + ".cdg")), "UUIOUIOIO");

    // An open source is flushed first; its pending node is closed.
    CDGDocument::exportPoint(source, "pending", P3(0, 0, 0), "#ffffff", "p");
    EXPECT_EQ(CDGDocument::injectDoc(target, source), 1);
    CDGDocument::closeDoc(target);
    CDGDocument::closeDoc(source);
    EXPECT_EQ(codes(records_of(target + ".cdg")), "UPO");

    // Refusals write nothing.
    const std::string before = slurp(target + ".cdg");
    EXPECT_EQ(CDGDocument::injectDoc(target, target + ".cdg"), 0);
    EXPECT_EQ(CDGDocument::injectDoc(target, dir.file("missing")), 0);
    spit(dir.file("bad.cdg"), "CDG2\nIx\n");
    EXPECT_EQ(CDGDocument::injectDoc(target, dir.file("bad")), 0);
    EXPECT_EQ(slurp(target + ".cdg"), before);
}

TEST(CDGDocument, ThreadsWriteTheirOwnDocuments) {
    ScratchDir dir;
    constexpr int threads = 4, per_thread = 300;
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&dir, t] {
            const std::string doc = dir.file("thread" + std::to_string(t));
            for (int i = 0; i < per_thread; ++i)
                CDGDocument::exportPoint(doc, "n", P3(t, i, 0), "#ffffff", std::to_string(i));
            CDGDocument::closeDoc(doc);
        });
    }
    for (auto& th : pool)
        th.join();
    for (int t = 0; t < threads; ++t) {
        const auto r = records_of(dir.file("thread" + std::to_string(t) + ".cdg"));
        ASSERT_EQ(r.size(), 3u * per_thread);
        EXPECT_EQ(r[3 * per_thread - 2].points[0], P3(t, per_thread - 1, 0));
    }
}

TEST(CDGReader, RejectsMalformedDocumentsWhereTheyGoWrong) {
    const std::string p = std::string("P") + CDGDocument::pointToBase64(1, 2, 3) + "AAAA";
    struct Case {
        std::string text;
        std::size_t kept;
        int line;
    };
    const std::vector<Case> cases = {
        {"", 0, 1},
        {"CDG2\n" + p, 0, 1},
        {"CDG1\n" + p + "\nQ", 1, 3},                                     // unknown code
        {"CDG1\n" + p + "\n\n" + p.substr(0, 10), 1, 4},                  // short point
        {"CDG1\n" + p + "\nO extra", 1, 3},                               // text after a record without one
        {"CDG1\nU\n" + p.substr(0, 5) + "*" + p.substr(6) + "lbl", 1, 3}, // outside the alphabet
    };
    for (const Case& c : cases) {
        std::vector<CDGRecord> out;
        CDGReader::Fault fault;
        EXPECT_FALSE(CDGReader::parse(c.text, out, &fault)) << c.text;
        EXPECT_EQ(out.size(), c.kept) << c.text;
        EXPECT_EQ(fault.line, c.line) << c.text;
        EXPECT_FALSE(fault.reason.empty());
    }
    std::vector<CDGRecord> out;
    CDGReader::Fault fault;
    EXPECT_FALSE(CDGReader::read("/nonexistent/dir/x.cdg", out, &fault));
    EXPECT_EQ(fault.line, 0);
    EXPECT_TRUE(CDGReader::parse("CDG1\r\n" + p + "label\r\n", out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].text, "label");
}

} // namespace

} // namespace CDGDocument_test
