#pragma once
// The arcline program as a function, for main and the tests (without the argument parser's headers).

#include <iosfwd>
#include <string>
#include <vector>

namespace arcline::cli {

// The whole program: the arguments after the program name, beginning with the command. Reads standard
// input from `in` when an input is "-"; returns the exit code.
int run_arcline(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace arcline::cli
