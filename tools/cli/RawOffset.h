#pragma once
// The raw offset mode of `arcline offset` (--raw): every polyline offset span by span with its corners
// joined, where the offset overlaps itself the loops kept and closed by temporary spans (the spans that
// the valid offset cuts away), counted and drawn dashed.

#include "tools/cli/GeometryInput.h"
#include "tools/cli/RegionOffset.h"
#include "tools/cli/Session.h"

#include <string>

namespace arcline::cli {

struct RawOffsetRequest {
    double distance = 0.0;
    OffsetCorners corners;
    std::string output; // OUT ("-": standard output)
    std::string svg;    // the picture; empty for none
    bool json = false;  // the counts as JSON on standard output
};

// Offsets `in` (read without a fault) as asked, writes OUT, the counts and the picture; the exit code.
int run_raw_offset(const GeometryInput& in, const RawOffsetRequest& request, Session& session);

} // namespace arcline::cli
