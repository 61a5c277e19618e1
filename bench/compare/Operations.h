#pragma once
// The operations of each workload, run with every library in turn: rows of the table, and the checks of
// their answers against the known answers and against each other.

#include "bench/compare/Expected.h"
#include "bench/compare/Report.h"
#include "bench/compare/Workload.h"

#include <string>
#include <vector>

namespace compare {

// What a workload's operations add to.
struct Session {
    int repeat = 11;
    bool progress = false; // name each operation on standard error as it starts
    std::vector<Row> rows;
    std::vector<Heading> headings;
    Checks checks;
};

struct WorkloadKind {
    const char* name;
    void (*run)(const Workload& w, Session& s);
};

// The workloads in the order of the table: segments_20k, two_regions, circles_2k, blob_10k, pocket.
const std::vector<WorkloadKind>& workload_kinds();

} // namespace compare
