#include "cliTestKit.h"

#include "tools/cli/PolylineDrawing.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

#ifdef ARCLINE_TEST_HAVE_ZLIB
#include <zlib.h>
#endif

using namespace clitest;

TEST(SvgCommand, LayersBoundariesHolesAndOpenPolylines) {
    ScratchDir dir;
    const std::string region = dir.file("region.txt"), path = dir.file("path.txt");
    // An outer square with a clockwise square island; a second file with an open polyline with an arc.
    spit(region, records({square(0, 0, 10), square(3, 3, 2, true)}));
    spit(path, records({{p(-2, -2), a(5, -6, 12, -2), p(12, 12)}}));
    const Outcome r = cli({"svg", region, path, "-o", "-", "--arrows", "--points", "--size", "400"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string& svg = r.out;
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_EQ(count(svg, "class=\"layer\""), 2);
    EXPECT_NE(svg.find("id=\"layer-1\" class=\"layer\" data-file=\"" + region + "\" stroke=\"" +
                       std::string(arcline::cli::PolylineDrawing::layer_colour(0)) + "\""),
              std::string::npos);
    EXPECT_NE(svg.find("stroke=\"" + std::string(arcline::cli::PolylineDrawing::layer_colour(1)) + "\""),
              std::string::npos);
    EXPECT_NE(arcline::cli::PolylineDrawing::layer_colour(0), arcline::cli::PolylineDrawing::layer_colour(1));
    // Both squares fill one region (non-zero: the clockwise island is a hole); the island is dashed.
    ASSERT_EQ(path_data(svg, "region").size(), 1u);
    EXPECT_EQ(count(path_data(svg, "region")[0], "Z"), 2);
    EXPECT_NE(svg.find("fill-rule=\"nonzero\""), std::string::npos);
    ASSERT_EQ(path_data(svg, "outer").size(), 1u);
    ASSERT_EQ(path_data(svg, "hole").size(), 1u);
    EXPECT_EQ(count(path_data(svg, "outer")[0], "M"), 1);
    EXPECT_NE(svg.find("class=\"hole\" d=\"" + path_data(svg, "hole")[0] +
                       "\" stroke-width=\"1.5\" stroke-dasharray"),
              std::string::npos);
    // The open polyline: an arc that dips below its chord going right (anticlockwise: SVG sweep 0), then a
    // line; not closed.
    ASSERT_EQ(path_data(svg, "open").size(), 1u);
    const auto open = parse_path(path_data(svg, "open")[0]);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(open[1].op, 'A');
    EXPECT_EQ(open[1].args[4], 0.0);
    EXPECT_EQ(open[2].op, 'L');
    EXPECT_EQ(path_data(svg, "arrows").size(), 2u);
    EXPECT_EQ(count(svg, "<circle"), 5 + 5 + 3);
    EXPECT_NE(svg.find("class=\"scale-bar\""), std::string::npos);
    EXPECT_NE(svg.find(path + " (1 polyline)"), std::string::npos);

    // Without the options: no arrows, no dots.
    const Outcome plain = cli({"svg", region, "-o", dir.file("plain.svg")});
    ASSERT_EQ(plain.code, 0);
    const std::string text = slurp(dir.file("plain.svg"));
    EXPECT_EQ(count(text, "<circle"), 0);
    EXPECT_TRUE(path_data(text, "arrows").empty());
    EXPECT_EQ(text.back(), '\n');
}

TEST(SvgCommand, FaultsStillDrawWhatWasRead) {
    ScratchDir dir;
    const std::string bad = dir.file("bad.txt"), out = dir.file("out.svg");
    spit(bad, records({square(0, 0)}).substr(0, records({square(0, 0)}).size() - 1) + "p 1 2 three\ns\ne");
    const Outcome r = cli({"svg", bad, dir.file("missing.txt"), "-o", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, bad + ":8: 'p' record: number 3 of 3 is missing or malformed\n" +
                         dir.file("missing.txt") + ": cannot open: No such file or directory\n");
    const std::string svg = slurp(out);
    EXPECT_EQ(count(svg, "class=\"layer\""), 1);
    EXPECT_EQ(path_data(svg, "outer").size(), 1u);

    // A coordinate that is not finite is a fault of the file; the polyline before it is drawn.
    const Outcome nan = cli({"svg", data("nan_coordinate.txt"), "-o", out});
    EXPECT_EQ(nan.code, 2);
    EXPECT_EQ(nan.err, data("nan_coordinate.txt") + ":6: 'p' record: number 2 of 3 is not finite (nan)\n");
    EXPECT_EQ(path_data(slurp(out), "open").size(), 1u);

    const Outcome unwritable = cli({"svg", data("version_7.txt"), "-o", dir.file("no/dir/out.svg")});
    EXPECT_EQ(unwritable.code, 1);
}

// The fill rule: two overlapping anticlockwise squares are one region under nonzero, a region with a hole
// under evenodd; none draws no region.
TEST(SvgCommand, FillRules) {
    const std::string two = records({square(0, 0, 2), square(1, 1, 2)});
    for (const auto& [rule, attribute] : std::vector<std::pair<std::string, std::string>>{
             {"nonzero", "fill-rule=\"nonzero\""}, {"evenodd", "fill-rule=\"evenodd\""}, {"none", ""}}) {
        const Outcome r = cli({"svg", "-", "-o", "-", "--fill", rule}, two);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(path_data(r.out, "region").size(), attribute.empty() ? 0u : 1u) << rule;
        if (!attribute.empty()) {
            EXPECT_NE(r.out.find(attribute), std::string::npos) << rule;
        }
        EXPECT_EQ(path_data(r.out, "outer").size(), 1u);
    }
    EXPECT_EQ(cli({"svg", "-", "-o", "-", "--fill", "odd"}, two).code, 2);
}

// Coordinates near the largest double: the picture is made (arrows included) with finite page coordinates
// inside the page.
TEST(SvgCommand, HugeCoordinatesDraw) {
    const Outcome r = cli({"svg", data("huge_coordinates.txt"), "-o", "-", "--arrows", "--points"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    int numbers = 0;
    for (const std::string& d : d_after(r.out, "<path "))
        for (const PathCommand& c : parse_path(d))
            for (const double v : c.args) {
                EXPECT_TRUE(std::abs(v) < 2000.0) << v;
                ++numbers;
            }
    EXPECT_GT(numbers, 20);
    EXPECT_GE(count(path_data(r.out, "arrows").at(0), "Z"), 5);
}

// Layer names come from file names, which need not be UTF-8: the picture stays valid UTF-8 XML.
TEST(SvgCommand, NamesThatAreNotUtf8) {
    ScratchDir dir;
    const std::string f = dir.file("r\xe9gion<1>.txt");
    spit(f, records({square(0, 0)}));
    const Outcome r = cli({"svg", f, "-o", "-"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(valid_utf8(r.out));
    EXPECT_NE(r.out.find("r\xef\xbf\xbdgion&lt;1&gt;.txt"), std::string::npos);
}

namespace {

// An 8-bit RGB or RGBA PNG without interlacing, decoded to grey levels; empty on anything else.
struct Grey {
    int width = 0, height = 0;
    std::vector<std::uint8_t> v;
    int at(int x, int y) const { return v[static_cast<std::size_t>(y) * width + x]; }
};

#ifdef ARCLINE_TEST_HAVE_ZLIB
std::uint32_t be32(const std::string& s, std::size_t at) {
    return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

Grey decode_png(const std::string& png) {
    Grey g;
    if (png.size() < 8 || png.compare(1, 3, "PNG") != 0) return g;
    std::string idat;
    int channels = 0;
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::uint32_t len = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            g.width = static_cast<int>(be32(png, at + 8));
            g.height = static_cast<int>(be32(png, at + 12));
            const int depth = png[at + 16], colour = png[at + 17], interlace = png[at + 20];
            if (depth != 8 || interlace != 0 || (colour != 2 && colour != 6)) return {};
            channels = colour == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            idat += png.substr(at + 8, len);
        }
        at += 12 + len;
    }
    const std::size_t stride = static_cast<std::size_t>(g.width) * channels;
    std::vector<std::uint8_t> raw((stride + 1) * g.height);
    uLongf raw_len = raw.size();
    if (uncompress(raw.data(), &raw_len, reinterpret_cast<const Bytef*>(idat.data()), idat.size()) != Z_OK)
        return {};
    std::vector<std::uint8_t> prev(stride, 0), row(stride);
    for (int y = 0; y < g.height; ++y) {
        const std::uint8_t* line = &raw[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= std::size_t(channels) ? row[i - channels] : 0, b = prev[i],
                      c = i >= std::size_t(channels) ? prev[i - channels] : 0;
            int pred = 0;
            switch (line[0]) {
            case 1:
                pred = a;
                break;
            case 2:
                pred = b;
                break;
            case 3:
                pred = (a + b) / 2;
                break;
            case 4: {
                const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                pred = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
                break;
            }
            }
            row[i] = static_cast<std::uint8_t>(line[1 + i] + pred);
        }
        for (int x = 0; x < g.width; ++x) {
            const std::uint8_t* px = &row[static_cast<std::size_t>(x) * channels];
            g.v.push_back(static_cast<std::uint8_t>((px[0] + px[1] + px[2]) / 3));
        }
        prev = row;
    }
    return g;
}
#endif

} // namespace

// The picture as a renderer draws it: a half circle of radius 1 from (0, 0) to (2, 0), anticlockwise, so
// below its chord. Every dark pixel of the drawing lies on the circle, below the chord, and the whole half
// is covered.
TEST(SvgCommand, RasterisedHalfCircleLiesOnTheCircle) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert not found (Debian package librsvg2-bin): the picture is not rasterised";
#ifndef ARCLINE_TEST_HAVE_ZLIB
    GTEST_SKIP() << "zlib was not found when the tests were configured: the PNG cannot be decoded";
#else
    ScratchDir dir;
    const std::string in = dir.file("half.txt"), svg = dir.file("half.svg"), png = dir.file("half.png");
    spit(in, records({{p(0, 0), a(1, -1, 2, 0)}}));
    ASSERT_EQ(cli({"svg", in, "-o", svg, "--size", "400"}).code, 0);
    ASSERT_EQ(std::system(("rsvg-convert -o '" + png + "' '" + svg + "'").c_str()), 0);
    const Grey g = decode_png(slurp(png));
    ASSERT_GT(g.width, 0) << "not an 8-bit RGB(A) PNG";
    // The page: scale 200 (the longer side, 2, is 400 units), margin 40: the centre (1, 0) is at (240, 40),
    // radius 200; the scale bar band starts 40 below the drawing's bottom at y = 240.
    ASSERT_EQ(g.width, 480);
    const double cx = 240, cy = 40, r = 200;
    constexpr int dark = 160;
    int dark_pixels = 0;
    for (int y = 0; y <= 243; ++y) {
        for (int x = 0; x < g.width; ++x) {
            if (g.at(x, y) >= dark) continue;
            ++dark_pixels;
            EXPECT_NEAR(std::hypot(x + 0.5 - cx, y + 0.5 - cy), r, 2.0) << x << ", " << y;
            EXPECT_GT(y + 0.5, cy - 2.0) << x << ", " << y;
        }
    }
    EXPECT_GT(dark_pixels, 300);
    for (int k = 0; k <= 36; ++k) {
        const double t = std::numbers::pi * k / 36;
        const int x = static_cast<int>(cx + r * std::cos(t)), y = static_cast<int>(cy + r * std::sin(t));
        int darkest = 255;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (x + dx >= 0 && x + dx < g.width && y + dy >= 0 && y + dy < g.height)
                    darkest = std::min(darkest, g.at(x + dx, y + dy));
        EXPECT_LT(darkest, dark) << "nothing drawn near angle " << 5 * k << " degrees";
    }
#endif
}
