#pragma once
// What one run of the arcline program shares among its pieces: the standard streams, the options that
// every command takes, standard input (read once), and the exit code that the messages raise.
//
// Exit codes: 0 done; 1 an output could not be written; 2 bad arguments or bad input. Messages go to the
// error stream as "where: reason" for faults and "where: warning: reason" for warnings, where "where" is
// "file:line", "file" or the command's name.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arcline::cli {

inline constexpr int exit_ok = 0;
inline constexpr int exit_not_written = 1;
inline constexpr int exit_bad_input = 2;

// Options every command takes; see Command.cpp, which adds them to each command (the debug options to
// commands that run library algorithms; see DebugOutput).
struct CommonOptions {
    // Warnings about the inputs are faults: exit code 2, and reading stops there.
    bool strict = false;
    // --debug CHANNEL=LEVEL[,CHANNEL=LEVEL...], in the order given ("list" lists the channels).
    std::vector<std::string> debug;
    // --debug-out FILE.cdg: the debug geometry document; empty for the default.
    std::string debug_out;
};

class Session {
public:
    Session(std::istream& in, std::ostream& out, std::ostream& err) : m_in(in), m_out(out), m_err(err) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }
    CommonOptions& options() { return m_options; }
    const CommonOptions& options() const { return m_options; }
    // The command's name as messages show it ("arcline convert"); set before the command runs.
    const std::string& command() const { return m_command; }
    void set_command(std::string name) { m_command = std::move(name); }

    // The bytes of standard input. It is read once, at the first call; every later call (a second "-"
    // among the inputs) gets the same bytes. Empty with a message in `why` when it cannot be read.
    const std::string* standard_input(std::string& why);

    // A fault: "where: text", exit code 2.
    void fault(std::string_view where, std::string_view text);
    // A warning: "where: warning: text"; the exit code stays.
    void warning(std::string_view where, std::string_view text);
    // An output that could not be written: "where: text", exit code 1 (unless a fault came first).
    void not_written(std::string_view where, std::string_view text);
    // Raises the exit code to `code` (the first non-zero code stays).
    void raise(int code);
    int exit_code() const { return m_exit; }

    // How messages name a path: "<stdin>" for "-".
    static std::string display_name(const std::string& path);

private:
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    CommonOptions m_options;
    std::string m_command = "arcline";
    std::optional<std::string> m_stdin;
    std::string m_stdin_fault;
    int m_exit = exit_ok;
};

} // namespace arcline::cli
