#pragma once
// The assertion reporter. Operations that a class refuses (an arc on a straight-only polyline, say) report
// here and then return without effect; nothing throws. The default handler prints the report to stderr; a
// host application may install its own (for a log window, a test, a crash reporter).

namespace ut {

// Receives file, line, message, function name and the failed expression.
using AssertHandler = void (*)(const char* file, int line, const char* message, const char* function,
                               const char* expression);

// Installs `handler` (null restores the default) and returns the handler that was installed before.
AssertHandler set_assert_handler(AssertHandler handler);

} // namespace ut

// Reports a failed assertion through the installed handler.
void ut_report_assert_failure(const char* file, int line, const char* message, const char* function,
                              const char* expression);

// Reports a refusal that is always a failure (the expression is "utFALSE").
#define UT_REPORT_REFUSAL(message, function)                                                                 \
    ::ut_report_assert_failure(__FILE__, __LINE__, (message), (function), "utFALSE")
