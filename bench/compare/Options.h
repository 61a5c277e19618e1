#pragma once
// The command line of arcline_compare.

#include <string>
#include <vector>

namespace compare {

struct Options {
    int repeat = 11;               // timed runs per operation
    std::vector<std::string> only; // workloads to run; empty: all
    std::string csv;               // CSV output file; empty: none
    std::string data;              // the workloads' folder
    bool help = false;
};

// The text of --help.
std::string usage();

// Reads the arguments after the program name. False with a message naming the argument at fault;
// `default_data` is the folder used without --data.
bool parse_options(const std::vector<std::string>& args, const std::string& default_data, Options& out,
                   std::string& error);

} // namespace compare
