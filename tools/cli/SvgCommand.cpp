#include "tools/cli/Commands.h"
#include "tools/cli/GeometryFile.h"
#include "tools/cli/PolylineDrawing.h"

namespace arcline::cli {

int run_svg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ArgParser parser(
        "arcline svg", "FILE... -o OUT.svg [--arrows] [--points] [--size PX]",
        "Draws geometry files (record or picture format) as one SVG picture, each file a layer\n"
        "of its own colour. Arcs are exact SVG arcs (tilted arcs: their XY projection, sampled).\n"
        "Closed polylines fill their region (islands show as holes): outer boundaries\n"
        "(anticlockwise) solid, holes (clockwise) dashed; open polylines are plain strokes.\n"
        "The picture is fitted to the page, with a scale bar and a legend.");
    parser.option("output", 'o', "OUT.svg", "the picture to write; '-' for standard output")
        .flag("arrows", 0, "direction marks along every polyline")
        .flag("points", 0, "a dot on every position, a ring on the first of each polyline")
        .option("size", 0, "PX", "page length of the drawing's longer side (default 800)");
    if (const int code = parse_or_exit(parser, args, out, err); code >= 0) return code;
    if (parser.positionals().empty()) return bad_arguments(parser, "missing FILE", err);
    const std::optional<std::string> output = parser.value("output");
    if (!output) return bad_arguments(parser, "missing -o OUT.svg", err);
    const std::optional<double> size = page_size(parser, err);
    if (!size) return exit_bad_input;

    int code = exit_ok;
    std::vector<GeometryFile> files;
    std::vector<PolylineDrawing::Layer> layers;
    for (const std::string& path : parser.positionals()) {
        GeometryFile file = GeometryFile::load(path);
        if (!file.ok()) {
            err << file.fault() << "\n";
            code = exit_bad_input;
        }
        if (file.readable()) files.push_back(std::move(file));
    }
    for (const GeometryFile& file : files)
        layers.push_back({file.path(), &file.polylines()});

    const PolylineDrawing::Options options{parser.has("arrows"), parser.has("points"), *size};
    const PolylineDrawing::Result picture = PolylineDrawing::render(layers, options);
    for (std::size_t k = 0; k < layers.size(); ++k) {
        for (const int index : picture.not_drawn[k]) {
            err << layers[k].name << ": polyline " << index
                << " has coordinates that are not finite; not drawn\n";
            code = exit_bad_input;
        }
    }
    if (!write_output(*output, picture.svg, out, err)) return exit_not_written;
    return code;
}

} // namespace arcline::cli
