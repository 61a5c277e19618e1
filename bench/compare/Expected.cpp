#include "bench/compare/Expected.h"

#include <cmath>
#include <cstdio>

namespace compare {

namespace {

std::string number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

} // namespace

void Checks::mark(Row& row, bool ok) {
    if (!ok)
        row.check = "MISMATCH";
    else if (row.check.empty())
        row.check = "ok";
}

bool Checks::near(Row& row, const std::string& what, double got, double want, double tolerance,
                  Row* partner) {
    const bool ok = std::abs(got - want) <= tolerance; // NaN fails
    mark(row, ok);
    if (partner) mark(*partner, ok);
    if (!ok)
        m_mismatches.push_back("MISMATCH " + row.workload + " " + row.operation + " " + row.library + ": " +
                               what + " (got " + number(got) + ", expected " + number(want) + ", tolerance " +
                               number(tolerance) + ")");
    return ok;
}

bool Checks::equal(Row& row, const std::string& what, long long got, long long want, Row* partner) {
    const bool ok = got == want;
    mark(row, ok);
    if (partner) mark(*partner, ok);
    if (!ok)
        m_mismatches.push_back("MISMATCH " + row.workload + " " + row.operation + " " + row.library + ": " +
                               what + " (got " + std::to_string(got) + ", expected " + std::to_string(want) +
                               ")");
    return ok;
}

bool Checks::input_near(const std::string& workload, const std::string& what, double got, double want,
                        double tolerance) {
    const bool ok = std::abs(got - want) <= tolerance;
    if (!ok)
        m_mismatches.push_back("MISMATCH " + workload + " input: " + what + " (got " + number(got) +
                               ", expected " + number(want) + ", tolerance " + number(tolerance) + ")");
    return ok;
}

} // namespace compare
