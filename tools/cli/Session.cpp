#include "tools/cli/Session.h"

#include <istream>
#include <iterator>
#include <ostream>

namespace arcline::cli {

const std::string* Session::standard_input(std::string& why) {
    if (!m_stdin) {
        std::string bytes((std::istreambuf_iterator<char>(m_in)), std::istreambuf_iterator<char>());
        if (m_in.bad()) m_stdin_fault = "cannot read standard input";
        m_stdin = std::move(bytes);
    }
    why = m_stdin_fault;
    return why.empty() ? &*m_stdin : nullptr;
}

void Session::fault(std::string_view where, std::string_view text) {
    m_err << where << ": " << text << '\n';
    raise(exit_bad_input);
}

void Session::warning(std::string_view where, std::string_view text) {
    m_err << where << ": warning: " << text << '\n';
}

void Session::not_written(std::string_view where, std::string_view text) {
    m_err << where << ": " << text << '\n';
    raise(exit_not_written);
}

void Session::raise(int code) {
    if (m_exit == exit_ok) m_exit = code;
}

std::string Session::display_name(const std::string& path) {
    return path == "-" ? "<stdin>" : path;
}

} // namespace arcline::cli
