#include "tools/cli/Commands.h"

#include "tools/cli/Format.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#ifndef ARCLINE_VERSION
#define ARCLINE_VERSION "unknown"
#endif

namespace arcline::cli {

namespace {

constexpr const char* program_usage =
    "usage: arcline COMMAND [ARGUMENTS...]\n"
    "\n"
    "Looks at poly-arc-line geometry: geometry record files (velGeometryIO) and picture files, and debug\n"
    "geometry documents (.cdg).\n"
    "\n"
    "commands:\n"
    "  info      counts, length, signed area and box of geometry files\n"
    "  convert   a picture or record file to a record file\n"
    "  svg       draw geometry files as an SVG picture\n"
    "  cdg2svg   draw a debug geometry document as an SVG picture\n"
    "\n"
    "'arcline COMMAND --help' shows the arguments of a command; 'arcline --version' the version.\n"
    "Exit codes: 0 done, 1 an output file could not be written, 2 bad arguments or bad input.\n";

constexpr double min_page_size = 50.0;
constexpr double max_page_size = 100000.0;

} // namespace

int run_arcline(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "arcline: missing command\n" << program_usage;
        return exit_bad_input;
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "info") return run_info(rest, out, err);
    if (command == "convert") return run_convert(rest, out, err);
    if (command == "svg") return run_svg(rest, out, err);
    if (command == "cdg2svg") return run_cdg2svg(rest, out, err);
    if (command == "--help" || command == "-h" || command == "help") {
        out << program_usage;
        return exit_ok;
    }
    if (command == "--version") {
        out << "arcline " << ARCLINE_VERSION << "\n";
        return exit_ok;
    }
    err << "arcline: unknown command '" << command << "'\n" << program_usage;
    return exit_bad_input;
}

int bad_arguments(const ArgParser& parser, const std::string& message, std::ostream& err) {
    err << parser.command() << ": " << message << "\n" << parser.usage();
    return exit_bad_input;
}

int parse_or_exit(ArgParser& parser, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
    if (!parser.parse(args)) return bad_arguments(parser, parser.error(), err);
    if (parser.help_requested()) {
        out << parser.usage();
        return exit_ok;
    }
    return -1;
}

std::optional<double> page_size(const ArgParser& parser, std::ostream& err) {
    const std::optional<std::string> text = parser.value("size");
    if (!text) return 800.0;
    const std::optional<double> v = ArgParser::number(*text);
    if (!v || *v < min_page_size || *v > max_page_size) {
        bad_arguments(parser,
                      "option '--size': '" + *text + "' is not a number from " +
                          format::fixed(min_page_size) + " to " + format::fixed(max_page_size),
                      err);
        return std::nullopt;
    }
    return v;
}

bool write_output(const std::string& path, const std::string& text, std::ostream& out, std::ostream& err) {
    if (path == "-") {
        out << text;
        return static_cast<bool>(out);
    }
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << text;
    if (file) file.close();
    if (!file) {
        err << path << ": cannot write" << (errno ? std::string(": ") + std::strerror(errno) : std::string())
            << "\n";
        return false;
    }
    return true;
}

} // namespace arcline::cli
