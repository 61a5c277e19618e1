// arcline_compare: the shared benchmark workloads with arcline and, in the same run, with GEOS and Clipper,
// as one table of times, ratios and answers. A benchmark to run by hand, never a test.

#include "bench/compare/Operations.h"
#include "bench/compare/Options.h"
#include "bench/compare/Sides.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef ARCLINE_BENCH_DATA_DIR
#define ARCLINE_BENCH_DATA_DIR "../shared/bench/data"
#endif
#ifndef ARCLINE_COMPARE_BUILD_TYPE
#define ARCLINE_COMPARE_BUILD_TYPE "unknown"
#endif

namespace {

using namespace compare;

std::string compiler() {
#if defined(__clang__)
    return std::string("Clang ") + __clang_version__;
#elif defined(__GNUC__)
    return std::string("GCC ") + __VERSION__;
#else
    return "unknown compiler";
#endif
}

void print_header(std::ostream& out, const Options& o) {
    out << "arcline_compare: the workloads of " << o.data << "; every operation runs once untimed, then "
        << o.repeat << (o.repeat == 1 ? " time" : " times") << " on the clock.\n";
    const char* lines[] = {
        "Times: CPU time of the running thread in ms, median and minimum of the timed runs; reading the",
        "files and converting them to each library's types are not timed. peer/arcline: the peer's median",
        "over arcline's (above 1: arcline is faster). \"not yet\": arcline has no such operation yet; "
        "\"n/a\":",
        "the library has none.",
    };
    for (const char* line : lines)
        out << line << '\n';
    out << "Peers: " << geos_side::version() << " (C API) and " << clipper_side::version()
        << ". They get every arc as chords within " << chord_deviation
        << " of it (vertices counted\nbelow) and make round corners within the same deviation; Clipper works "
           "on integers, model units x "
        << std::llround(clipper_side::scale) << ".\n"
        << "Results: loops of a region (outer loops and holes), spans (arcline) or vertices (peers), area or "
           "count.\n"
        << "Build: " << compiler() << ", " << ARCLINE_COMPARE_BUILD_TYPE << ".\n\n";
}

} // namespace

int main(int argc, char** argv) {
    const char* env_data = std::getenv("ARCLINE_BENCH_DATA");
    Options options;
    std::string error;
    if (!parse_options(std::vector<std::string>(argv + 1, argv + argc),
                       env_data && *env_data ? env_data : ARCLINE_BENCH_DATA_DIR, options, error)) {
        std::cerr << "arcline_compare: " << error << '\n';
        return 2;
    }
    options.data = std::filesystem::path(options.data).lexically_normal().string();
    if (options.help) {
        std::cout << usage();
        return 0;
    }

    // Every file is read before anything is timed, so that a missing one stops the run at once.
    std::vector<std::pair<const WorkloadKind*, std::unique_ptr<Workload>>> work;
    for (const WorkloadKind& kind : workload_kinds()) {
        if (!options.only.empty() &&
            std::find(options.only.begin(), options.only.end(), kind.name) == options.only.end())
            continue;
        auto w = std::make_unique<Workload>();
        if (!read_workload(options.data, kind.name, *w, error)) {
            std::cerr << "arcline_compare: " << error << '\n';
            return 2;
        }
        work.emplace_back(&kind, std::move(w));
    }

    Session session;
    session.repeat = options.repeat;
    session.progress = isatty(STDERR_FILENO) == 1;
    for (const auto& [kind, w] : work)
        kind->run(*w, session);

    print_header(std::cout, options);
    print_table(std::cout, session.rows, session.headings);
    std::cout << '\n';
    for (const std::string& m : session.checks.mismatches())
        std::cout << m << '\n';
    if (session.checks.mismatches().empty())
        std::cout << "Every answer agrees with the known answers and between the libraries.\n";

    if (!options.csv.empty() && !write_csv(options.csv, session.rows, error)) {
        std::cerr << "arcline_compare: " << error << '\n';
        return 2;
    }
    return session.checks.mismatches().empty() ? 0 : 1;
}
