#pragma once
// The rows of the comparison: printed as one table, and written as CSV for scripts.

#include "bench/compare/Measure.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace compare {

enum class RowKind {
    timed,         // the library ran the operation
    not_yet,       // arcline has no such operation yet: "not yet"
    not_available, // the library offers no such operation: "n/a"
    part,          // one level of a timed series, shown for its answer; its time is in the series' row
};

struct Row {
    std::string workload;
    std::string operation;
    std::string library;
    RowKind kind = RowKind::timed;
    Measured m;
    bool value_is_count = false; // the answer's value is a count (crossings, levels), not an area
    double ratio = Answer::none; // this peer's median over arcline's, when both were timed
    std::string check;           // "ok", "MISMATCH", or empty when there is nothing to check
};

// A workload's line above its rows (what it holds, what the peers get).
struct Heading {
    std::size_t first_row = 0;
    std::string text;
};

// The table: a header line, then each heading followed by its rows. Times in ms with two decimals (three
// below 10 ms), areas with four decimals, "-" where a column has nothing.
void print_table(std::ostream& out, const std::vector<Row>& rows, const std::vector<Heading>& headings);

// CSV with the columns workload, operation, library, median_ms, min_ms, result_loops,
// result_spans_or_vertices, area_or_count; "not yet" and "n/a" stand in median_ms and min_ms, a level of a
// series has them empty, and so has every column without a value. Written whole (a temporary file renamed)
// or not at all; false with a message when the file cannot be written.
// v formatted by a printf pattern of one double ("%.2f").
std::string format_number(const char* pattern, double v);

bool write_csv(const std::string& path, const std::vector<Row>& rows, std::string& error);

} // namespace compare
