#include "arcline/platform/utAssert.h"

#include <atomic>
#include <cstdio>

namespace {

void default_handler(const char* file, int line, const char* message, const char* function,
                     const char* expression) {
    std::fprintf(stderr, "%s(%d): assertion failed: %s\n  in %s\n  expression: %s\n", file ? file : "?", line,
                 message ? message : "", function ? function : "?", expression ? expression : "");
}

std::atomic<ut::AssertHandler> g_handler{&default_handler};

} // namespace

ut::AssertHandler ut::set_assert_handler(AssertHandler handler) {
    return g_handler.exchange(handler ? handler : &default_handler);
}

void ut_report_assert_failure(const char* file, int line, const char* message, const char* function,
                              const char* expression) {
    g_handler.load()(file, line, message, function, expression);
}
