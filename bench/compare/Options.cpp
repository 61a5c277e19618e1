#include "bench/compare/Options.h"

#include "bench/compare/Operations.h"

#include <algorithm>
#include <charconv>

namespace compare {

namespace {

// More runs than anyone waits for: a guard against a slip of the keyboard (--repeat 1000000).
constexpr int most_runs = 100000;

std::string workload_names() {
    std::string names;
    for (const WorkloadKind& k : workload_kinds())
        names += (names.empty() ? "" : ", ") + std::string(k.name);
    return names;
}

} // namespace

std::string usage() {
    return "usage: arcline_compare [--repeat N] [--only WORKLOAD]... [--csv FILE] [--data DIR]\n"
           "\n"
           "Runs each operation of the shared benchmark workloads with arcline, GEOS and Clipper and prints\n"
           "one table: median and minimum CPU time per library over N runs (file reading and conversion\n"
           "excluded), each peer's median over arcline's, and the size and area (or count) of each result,\n"
           "checked against the workloads' known answers and against each other (\"MISMATCH\" lines).\n"
           "\n"
           "  --repeat N       timed runs per operation, at least 1 (default 11), after one untimed run\n"
           "  --only WORKLOAD  run this workload only; may be given more than once. One of:\n"
           "                   " +
           workload_names() +
           "\n"
           "  --csv FILE       also write the rows as CSV: workload, operation, library, median_ms, min_ms,\n"
           "                   result_loops, result_spans_or_vertices, area_or_count\n"
           "  --data DIR       the folder of the workload files (default: $ARCLINE_BENCH_DATA, else the\n"
           "                   shared/bench/data folder beside the source tree)\n"
           "  --help           this text\n"
           "\n"
           "Exit code 0; 1 when an answer disagrees (a MISMATCH line); 2 for a bad argument or workload "
           "file.\n";
}

bool parse_options(const std::vector<std::string>& args, const std::string& default_data, Options& out,
                   std::string& error) {
    out = Options();
    out.data = default_data;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out.help = true;
            continue;
        }
        if (a != "--repeat" && a != "--only" && a != "--csv" && a != "--data") {
            error = "unknown argument '" + a + "' (--help lists the options)";
            return false;
        }
        if (i + 1 == args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        if (a == "--repeat") {
            int n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() || n < 1 || n > most_runs) {
                error = "--repeat " + v + ": expected a whole number from 1 to " + std::to_string(most_runs);
                return false;
            }
            out.repeat = n;
        } else if (a == "--only") {
            const auto& kinds = workload_kinds();
            if (std::none_of(kinds.begin(), kinds.end(),
                             [&](const WorkloadKind& k) { return v == k.name; })) {
                error = "--only " + v + ": no such workload (one of " + workload_names() + ")";
                return false;
            }
            out.only.push_back(v);
        } else if (a == "--csv") {
            if (v.empty()) {
                error = "--csv needs a file name";
                return false;
            }
            out.csv = v;
        } else {
            out.data = v;
        }
    }
    return true;
}

} // namespace compare
