#pragma once
// The debug geometry channels for one run of a command that runs library algorithms: levels from the
// environment (ARCLINE_DEBUG="intersect=1,arclinesorter=2") and then from the command's --debug options,
// which win; the channels' output goes into the debug geometry document of --debug-out (default
// arcline-debug.cdg in the current directory), made only when something is written.
//
//     DebugOutput debug(session);
//     if (!debug.start()) return session.exit_code();   // a fault was reported, or --debug list answered
//     const int code = runner(session);
//     debug.finish();                                   // flush the channels, end the document, report
//
// Messages: a malformed setting is a fault naming ARCLINE_DEBUG or --debug (exit 2); a document that could
// not be written is "FILE: cannot write the debug geometry document" (exit 1); after a run that wrote
// debug geometry the error stream says where it went. The levels go back to their defaults at the end, so
// that runs in one process (the tests) do not see each other's settings.

#include "arcline/debug/velDebugGeometryCdgOutput.h"
#include "tools/cli/Session.h"

#include <memory>

namespace arcline::cli {

class DebugOutput {
public:
    explicit DebugOutput(Session& session) : m_session(session) {}
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;
    ~DebugOutput();

    // Sets the levels and installs the output. False when the command must not run: a fault was reported
    // (exit code 2), or --debug list printed the channels (exit code 0).
    bool start();
    // Hands over what the channels kept, ends the document and says where it went.
    void finish();

    static constexpr const char* environment_variable = "ARCLINE_DEBUG";
    static constexpr const char* default_document = "arcline-debug.cdg";

private:
    void stop();

    Session& m_session;
    std::unique_ptr<velDebugGeometryCdgOutput> m_output;
    bool m_any_on = false;
};

} // namespace arcline::cli
