#include "tools/cli/ArgParser.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace arcline::cli {

ArgParser::ArgParser(std::string command, std::string synopsis, std::string summary)
    : m_command(std::move(command)), m_synopsis(std::move(synopsis)), m_summary(std::move(summary)) {}

ArgParser& ArgParser::flag(std::string long_name, char short_name, std::string help) {
    m_options.push_back({std::move(long_name), short_name, {}, std::move(help)});
    return *this;
}

ArgParser& ArgParser::option(std::string long_name, char short_name, std::string value_name,
                             std::string help) {
    m_options.push_back({std::move(long_name), short_name, std::move(value_name), std::move(help)});
    return *this;
}

const ArgParser::Option* ArgParser::find_long(std::string_view name) const {
    for (const Option& o : m_options)
        if (o.long_name == name) return &o;
    return nullptr;
}

const ArgParser::Option* ArgParser::find_short(char name) const {
    for (const Option& o : m_options)
        if (o.short_name != 0 && o.short_name == name) return &o;
    return nullptr;
}

bool ArgParser::fail(std::string message) {
    m_error = std::move(message);
    return false;
}

bool ArgParser::parse(const std::vector<std::string>& args) {
    m_given.clear();
    m_positionals.clear();
    m_error.clear();
    m_help = false;
    bool options_ended = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (options_ended || arg.size() < 2 || arg[0] != '-') {
            m_positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            return true;
        }
        const Option* option = nullptr;
        std::optional<std::string> attached; // the value of --name=value
        if (arg[1] == '-') {
            const std::size_t eq = arg.find('=');
            option = find_long(std::string_view(arg).substr(2, eq == std::string::npos ? eq : eq - 2));
            if (eq != std::string::npos) attached = arg.substr(eq + 1);
        } else if (arg.size() == 2) {
            option = find_short(arg[1]);
        }
        if (!option) return fail("unknown option '" + arg + "'");
        if (option->value_name.empty()) {
            if (attached) return fail("option '" + arg + "' takes no value");
            m_given.emplace_back(option->long_name, std::string());
        } else if (attached) {
            m_given.emplace_back(option->long_name, *attached);
        } else if (k + 1 < args.size()) {
            m_given.emplace_back(option->long_name, args[++k]);
        } else {
            return fail("option '" + arg + "' needs a value (" + option->value_name + ")");
        }
    }
    return true;
}

bool ArgParser::has(std::string_view long_name) const {
    for (const auto& [name, value] : m_given)
        if (name == long_name) return true;
    return false;
}

std::optional<std::string> ArgParser::value(std::string_view long_name) const {
    std::optional<std::string> last;
    for (const auto& [name, value] : m_given)
        if (name == long_name) last = value;
    return last;
}

std::string ArgParser::usage() const {
    std::string out = "usage: " + m_command + " " + m_synopsis + "\n\n" + m_summary + "\n\noptions:\n";
    auto line = [&out](std::string head, const std::string& help) {
        constexpr std::size_t help_column = 24;
        head = "  " + head;
        out += head;
        if (head.size() + 2 > help_column) {
            out += "\n" + std::string(help_column, ' ');
        } else {
            out += std::string(help_column - head.size(), ' ');
        }
        // Help of several lines continues in the help column.
        for (const char c : help)
            out += c == '\n' ? "\n" + std::string(help_column, ' ') : std::string(1, c);
        out += "\n";
    };
    for (const Option& o : m_options) {
        std::string head;
        if (o.short_name) head = std::string("-") + o.short_name + ", ";
        head += "--" + o.long_name;
        if (!o.value_name.empty()) head += " " + o.value_name;
        line(head, o.help);
    }
    line("-h, --help", "show this help and exit");
    return out;
}

std::optional<double> ArgParser::number(std::string_view text) {
    double v = 0.0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const std::from_chars_result r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace arcline::cli
