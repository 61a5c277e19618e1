#pragma once
// Checks of numeric command-line arguments: distances, steps and limits must be finite numbers, with a sign
// where the command needs one. A bad one is refused by the argument parser with a message naming it
// ("DIST: 'nan' is not a finite number") and exit code 2.

#include <CLI/CLI.hpp>

namespace arcline::cli {

enum class NumberSign {
    any,          // every finite number
    non_negative, // 0 or more
    positive      // more than 0
};

// A CLI11 check that the text is a finite number of the given sign; `name` is the argument's name in help
// and messages. A leading '+' is taken.
CLI::Validator finite_number(const char* name, NumberSign sign = NumberSign::any);

} // namespace arcline::cli
