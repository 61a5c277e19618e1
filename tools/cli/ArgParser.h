#pragma once
// The command-line parser of the arcline program's subcommands. It knows flags (--arrows), options that take
// a value (-o OUT, --output OUT, --output=OUT) and positionals; "--" ends the options and "-" alone is a
// positional (standard input or output). --help and -h are always known. The parser never prints: a failed
// parse leaves a message naming the offending argument in error(), and usage() gives the text to show.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arcline::cli {

class ArgParser {
public:
    // `command` is the name shown in the usage ("arcline svg"), `synopsis` what follows it ("FILE... -o
    // OUT.svg"), `summary` one or more lines on what the command does.
    ArgParser(std::string command, std::string synopsis, std::string summary);

    // A flag without value. `short_name` 0 for none.
    ArgParser& flag(std::string long_name, char short_name, std::string help);
    // An option with a value; given twice, the last value counts.
    ArgParser& option(std::string long_name, char short_name, std::string value_name, std::string help);

    // Parses the arguments after the command name. False on an unknown option, a missing value, or a value
    // given to a flag; error() then names the argument. Parsing stops at --help.
    bool parse(const std::vector<std::string>& args);

    bool help_requested() const { return m_help; }
    // Whether the flag or option `long_name` was given.
    bool has(std::string_view long_name) const;
    // The value of option `long_name`, when given.
    std::optional<std::string> value(std::string_view long_name) const;
    const std::vector<std::string>& positionals() const { return m_positionals; }
    const std::string& error() const { return m_error; }
    const std::string& command() const { return m_command; }

    // The usage text: synopsis, summary and one line per option, ending in a line break.
    std::string usage() const;

    // A finite number, the whole text (no trailing characters); empty otherwise.
    static std::optional<double> number(std::string_view text);

private:
    struct Option {
        std::string long_name;
        char short_name = 0;
        std::string value_name; // empty for a flag
        std::string help;
    };

    const Option* find_long(std::string_view name) const;
    const Option* find_short(char name) const;
    bool fail(std::string message);

    std::string m_command, m_synopsis, m_summary;
    std::vector<Option> m_options;
    // Given flags and options in order, with their values (empty for flags).
    std::vector<std::pair<std::string, std::string>> m_given;
    std::vector<std::string> m_positionals;
    std::string m_error;
    bool m_help = false;
};

} // namespace arcline::cli
