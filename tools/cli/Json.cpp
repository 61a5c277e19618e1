#include "tools/cli/Json.h"

#include <ostream>

namespace arcline::cli {

void print_json(const Json& document, Session& session) {
    session.out() << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

} // namespace arcline::cli
