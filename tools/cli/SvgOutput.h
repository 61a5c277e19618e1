#pragma once
// The --svg OUT.svg option of commands that make or change geometry: a picture of their polylines, drawn
// as `arcline svg` draws them (one layer per list), written like every output (see OutputFile).

#include "tools/cli/PolylineDrawing.h"
#include "tools/cli/Session.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace arcline::cli {

struct SvgOutput {
    std::string path; // empty: no picture

    // Adds --svg to a command; `what` says what is drawn ("the polylines written").
    static void add_option(CLI::App& app, SvgOutput& o, const std::string& what);

    // Adds --size PX (the page length of a picture's longer side, 50 to 100000) to a command.
    static void add_size_option(CLI::App& app, double& size);

    // Draws `layers` into `path` when one was given. False after a message when it cannot be written.
    bool write(const std::vector<PolylineDrawing::Layer>& layers, Session& session) const;
};

} // namespace arcline::cli
