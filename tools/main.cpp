// The arcline program: a thin shell over the commands in tools/cli.

#include "tools/cli/Program.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return arcline::cli::run_arcline(args, std::cin, std::cout, std::cerr);
}
