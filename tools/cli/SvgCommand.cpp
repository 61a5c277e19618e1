// arcline svg: geometry files drawn as one SVG picture.

#include "tools/cli/Command.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/OutputFile.h"
#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/SvgOutput.h"

namespace arcline::cli {

namespace {

struct Options {
    std::vector<std::string> inputs;
    std::string output;
    bool arrows = false, points = false;
    double size = 800.0;
    std::string fill = "nonzero";
};

void setup(CLI::App& app, Options& o) {
    app.description("Draws geometry files (record, picture or DXF format) as one SVG picture, each file a\n"
                    "layer of its own colour. Arcs are exact SVG arcs (tilted arcs: their XY projection,\n"
                    "sampled). Closed polylines fill their region: outer boundaries (anticlockwise) solid,\n"
                    "holes (clockwise) dashed; open polylines are plain strokes. The picture is fitted to\n"
                    "the page, with a scale bar and a legend.");
    app.add_option("FILE", o.inputs, "geometry files; '-' reads standard input")->required();
    app.add_option("-o,--output", o.output, "the picture to write; '-' for standard output")
        ->required()
        ->type_name("OUT.svg");
    app.add_flag("--arrows", o.arrows, "direction marks along every polyline");
    app.add_flag("--points", o.points, "a dot on every position, a ring on the first of each polyline");
    SvgOutput::add_size_option(app, o.size);
    app.add_option("--fill", o.fill,
                   "how closed regions are filled: nonzero (default: overlapping outer boundaries\n"
                   "make one region, clockwise islands are holes), evenodd (every second overlap is\n"
                   "empty) or none")
        ->check(CLI::IsMember({"nonzero", "evenodd", "none"}))
        ->type_name("RULE");
}

int run(const Options& o, Session& session) {
    const std::vector<GeometryInput> inputs = GeometryInput::read_all(o.inputs, session);
    std::vector<PolylineDrawing::Layer> layers;
    for (const GeometryInput& in : inputs)
        if (in.readable()) layers.push_back({in.name(), &in.polylines()});
    const PolylineDrawing::Fill fill = o.fill == "evenodd" ? PolylineDrawing::Fill::evenodd
                                       : o.fill == "none"  ? PolylineDrawing::Fill::none
                                                           : PolylineDrawing::Fill::nonzero;
    const PolylineDrawing::Options options{fill, o.arrows, o.points, o.size};
    const PolylineDrawing::Result picture = PolylineDrawing::render(layers, options);
    for (std::size_t k = 0; k < layers.size(); ++k)
        for (const int index : picture.not_drawn[k])
            session.fault(layers[k].name, "polyline " + std::to_string(index) +
                                              " has coordinates that are not finite; not drawn");
    OutputFile::write(o.output, picture.svg, session);
    return session.exit_code();
}

const CommandRegistration registration =
    register_command<Options>({"svg", "draw geometry files as an SVG picture", 30, false}, setup, run);

} // namespace

} // namespace arcline::cli
