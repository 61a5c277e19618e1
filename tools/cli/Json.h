#pragma once
// JSON output of the arcline program's --json options (nlohmann/json, keys in the order written).

#include "tools/cli/Session.h"

#include <nlohmann/json.hpp>

namespace arcline::cli {

using Json = nlohmann::ordered_json;

// Prints one JSON document to standard output, indented by two spaces and ended by a line break. Text that
// is not UTF-8 (file names, labels) has its bad bytes replaced by U+FFFD; numbers that are not finite
// print as null.
void print_json(const Json& document, Session& session);

} // namespace arcline::cli
