#pragma once
// The arcline program's commands. Each takes the arguments after its name, writes its results to `out` and
// its messages to `err`, and returns the exit code: 0 done, 1 an output file could not be written, 2 bad
// arguments or bad input. Input faults read "name:line: reason"; what was read before a fault is still
// reported or drawn.

#include "tools/cli/ArgParser.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace arcline::cli {

inline constexpr int exit_ok = 0;
inline constexpr int exit_not_written = 1;
inline constexpr int exit_bad_input = 2;

// The whole program: the arguments after the program name, beginning with the command.
int run_arcline(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// arcline info FILE... [--json]
int run_info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// arcline convert IN OUT
int run_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// arcline svg FILE... -o OUT.svg [--arrows] [--points] [--size PX]
int run_svg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// arcline cdg2svg DOC.cdg -o OUT.svg [--size PX]
int run_cdg2svg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Helpers of the commands.
// Writes "arcline CMD: message" and the usage to `err`; returns exit_bad_input.
int bad_arguments(const ArgParser& parser, const std::string& message, std::ostream& err);
// Parses the arguments and answers --help: exit_ok after printing the usage to `out`, exit_bad_input after
// bad_arguments, or -1 when the command should go on.
int parse_or_exit(ArgParser& parser, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);
// The page size of option --size (default 800); empty after reporting a bad value.
std::optional<double> page_size(const ArgParser& parser, std::ostream& err);
// Writes `text` to the file `path`, or to `out` when `path` is "-". False after a message on `err`.
bool write_output(const std::string& path, const std::string& text, std::ostream& out, std::ostream& err);

} // namespace arcline::cli
