#pragma once
// The arcline program's commands and how one joins them.
//
// A command is one file tools/cli/NameCommand.cpp that registers itself at start-up. It declares a struct
// of its options, a setup function that adds them to the command's CLI11 subcommand, and a run function
// that does the work, and registers the three under its name:
//
//     namespace {
//     struct Options {
//         std::vector<std::string> inputs;
//         double distance = 0.0;
//     };
//     void setup(CLI::App& app, Options& o) {
//         app.add_option("FILE", o.inputs, "geometry files ('-' for standard input)")->required();
//         app.add_option("-d,--distance", o.distance, "offset distance")->required();
//     }
//     int run(const Options& o, Session& session) {
//         const std::vector<GeometryInput> in = GeometryInput::read_all(o.inputs, session);
//         ...                                        // compute, then write with OutputFile / print_json
//         return session.exit_code();
//     }
//     const CommandRegistration registration = register_command<Options>(
//         {"offset", "offset closed polylines by a distance", 50}, setup, run);
//     } // namespace
//
// Nothing else changes: the build takes every source of tools/cli, the program lists the command in its
// help (ordered by `order`, then name) and adds the common options (--strict, and --debug and --debug-out
// unless the command says it runs no algorithm; see CommonOptions) to it.
// Shared helpers: GeometryInput (read inputs with "file:line" faults, warnings and --strict),
// OutputFile (write atomically; "-" for standard output), print_json (--json), SvgOutput (--svg).

#include "tools/cli/Program.h"
#include "tools/cli/Session.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace arcline::cli {

struct CommandInfo {
    std::string name;
    std::string summary; // one line for the program's help
    int order = 100;     // place in the help: lower first, then by name
    // The command runs library algorithms, so it takes the debug channel options --debug and --debug-out
    // (see DebugOutput); commands that only read, convert or draw files say false.
    bool debug_channels = true;
};

// Runs a command after its arguments were parsed into the options that setup bound.
using CommandRunner = std::function<int(Session&)>;
// Adds a command's options to its subcommand and returns the runner over them (one per parse).
using CommandAttach = std::function<CommandRunner(CLI::App&)>;

// Token of a registration: keep it in a namespace-scope constant of the command's file.
struct CommandRegistration {
    const CommandInfo* info = nullptr;
};

CommandRegistration register_command(CommandInfo info, CommandAttach attach);

// The registration of a command with options of type Options (default-constructed for every parse).
template <class Options>
CommandRegistration register_command(CommandInfo info, void (*setup)(CLI::App&, Options&),
                                     int (*run)(const Options&, Session&)) {
    return register_command(std::move(info), [setup, run](CLI::App& app) -> CommandRunner {
        auto options = std::make_shared<Options>();
        setup(app, *options);
        return [options, run](Session& session) { return run(*options, session); };
    });
}

} // namespace arcline::cli
