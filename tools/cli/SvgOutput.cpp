#include "tools/cli/SvgOutput.h"

#include "tools/cli/OutputFile.h"

#include <charconv>
#include <system_error>

namespace arcline::cli {

void SvgOutput::add_option(CLI::App& app, SvgOutput& o, const std::string& what) {
    app.add_option("--svg", o.path,
                   "also draw " + what + " as an SVG picture into this file ('-': standard output)")
        ->type_name("OUT.svg");
}

void SvgOutput::add_size_option(CLI::App& app, double& size) {
    app.add_option("--size", size, "page length of the drawing's longer side, 50 to 100000 (default 800)")
        ->type_name("PX")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                double v = 0.0;
                const char* end = text.data() + text.size();
                const std::from_chars_result r = std::from_chars(text.data(), end, v);
                if (r.ec != std::errc() || r.ptr != end || !(v >= 50.0 && v <= 100000.0))
                    return "'" + text + "' is not a number from 50 to 100000";
                return {};
            },
            "PX"));
}

bool SvgOutput::write(const std::vector<PolylineDrawing::Layer>& layers, Session& session) const {
    if (path.empty()) return true;
    const PolylineDrawing::Result picture = PolylineDrawing::render(layers, PolylineDrawing::Options{});
    return OutputFile::write(path, picture.svg, session);
}

} // namespace arcline::cli
