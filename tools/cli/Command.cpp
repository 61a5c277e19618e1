#include "tools/cli/Command.h"

#include "tools/cli/DebugOutput.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#ifndef ARCLINE_VERSION
#define ARCLINE_VERSION "unknown"
#endif

namespace arcline::cli {

namespace {

struct Entry {
    CommandInfo info;
    CommandAttach attach;
};

// Filled by the registrations of the command files during static initialisation.
std::vector<std::unique_ptr<Entry>>& registry() {
    static std::vector<std::unique_ptr<Entry>> entries;
    return entries;
}

std::vector<const Entry*> sorted_commands() {
    std::vector<const Entry*> out;
    for (const auto& e : registry())
        out.push_back(e.get());
    std::sort(out.begin(), out.end(), [](const Entry* a, const Entry* b) {
        return a->info.order != b->info.order ? a->info.order < b->info.order : a->info.name < b->info.name;
    });
    return out;
}

constexpr const char* program_description =
    "Looks at and converts poly-arc-line geometry: geometry record files (velGeometryIO), picture files,\n"
    "DXF files and debug geometry documents (.cdg). '-' names standard input or output.\n"
    "Exit codes: 0 done, 1 an output could not be written or an algorithm failed (the output then says\n"
    "what it holds), 2 bad arguments or bad input.";

void add_common_options(CLI::App& app, CommonOptions& common, bool debug) {
    app.add_flag("--strict", common.strict,
                 "treat warnings about the inputs as faults (exit code 2; reading stops there)");
    if (!debug) return;
    app.add_option("--debug", common.debug,
                   "set a debug channel's level (repeat, or separate with commas; also from\n"
                   "ARCLINE_DEBUG, which these override); 'list' lists the channels")
        ->type_name("CHANNEL=LEVEL")
        ->allow_extra_args(false);
    app.add_option("--debug-out", common.debug_out,
                   "the debug geometry document the channels write (default arcline-debug.cdg);\n"
                   "draw it with 'arcline cdg2svg'")
        ->type_name("FILE.cdg");
}

std::string program_help(const CLI::App& app) {
    std::ostringstream s;
    s << "usage: arcline COMMAND [OPTIONS] [ARGUMENTS...]\n\n" << app.get_description() << "\n\ncommands:\n";
    std::size_t width = 0; // the summaries start in one column, two spaces after the longest name
    for (const Entry* e : sorted_commands())
        width = std::max(width, e->info.name.size());
    for (const Entry* e : sorted_commands()) {
        std::string name = "  " + e->info.name;
        name.resize(width + 4, ' ');
        s << name << e->info.summary << '\n';
    }
    s << "\n'arcline COMMAND --help' shows the options of a command; 'arcline --version' the version.\n";
    return s.str();
}

// The help of one command: usage line, description, arguments and options with their help aligned.
std::string command_help(const CLI::App& sub) {
    std::ostringstream s;
    std::vector<std::pair<std::string, std::string>> arguments, options;
    std::string usage = "usage: arcline " + sub.get_name() + " [OPTIONS]";
    for (const CLI::Option* opt : sub.get_options()) {
        std::string head;
        if (opt->get_positional()) {
            head = opt->get_name();
            if (opt->get_expected_max() > 1) head += "...";
            usage += opt->get_required() ? " " + head : " [" + head + "]";
            arguments.emplace_back(head, opt->get_description());
            continue;
        }
        for (const std::string& n : opt->get_snames())
            head += (head.empty() ? "-" : ", -") + n;
        for (const std::string& n : opt->get_lnames())
            head += (head.empty() ? "--" : ", --") + n;
        // CLI11 appends its validators' descriptions to the type name after a colon.
        const std::string type = opt->get_type_name().substr(0, opt->get_type_name().find(':'));
        if (opt->get_type_size() > 0 && !type.empty()) head += " " + type;
        std::string help = opt->get_description();
        if (opt->get_required()) help += " (required)";
        options.emplace_back(head, help);
    }
    s << usage << "\n\n" << sub.get_description() << "\n";
    auto list = [&s](const char* title, const std::vector<std::pair<std::string, std::string>>& items) {
        if (items.empty()) return;
        constexpr std::size_t column = 24;
        s << "\n" << title << ":\n";
        for (const auto& [head, help] : items) {
            std::string line = "  " + head;
            line += line.size() + 2 > column ? "\n" + std::string(column, ' ')
                                             : std::string(column - line.size(), ' ');
            for (const char c : help)
                line += c == '\n' ? "\n" + std::string(column, ' ') : std::string(1, c);
            s << line << "\n";
        }
    };
    list("arguments", arguments);
    list("options", options);
    return s.str();
}

} // namespace

CommandRegistration register_command(CommandInfo info, CommandAttach attach) {
    registry().push_back(std::make_unique<Entry>(Entry{std::move(info), std::move(attach)}));
    return {&registry().back()->info};
}

int run_arcline(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    Session session(in, out, err);
    CLI::App app(program_description, "arcline");
    app.set_help_flag(); // the program's own help below
    app.require_subcommand(0, 1);
    app.get_formatter()->column_width(26);
    bool want_help = false, want_version = false;
    app.add_flag("-h,--help", want_help, "show this help and exit");
    app.add_flag("--version", want_version, "show the version and exit");

    struct Parsed {
        CLI::App* sub;
        CommandRunner runner;
        const CommandInfo* info;
    };
    std::vector<Parsed> commands;
    for (const Entry* e : sorted_commands()) {
        CLI::App* sub = app.add_subcommand(e->info.name, e->info.summary);
        sub->set_help_flag("-h,--help", "show the options of this command and exit");
        commands.push_back({sub, e->attach(*sub), &e->info});
        add_common_options(*sub, session.options(), e->info.debug_channels);
    }

    if (args.empty()) {
        err << "arcline: missing command\n" << program_help(app);
        return exit_bad_input;
    }
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        for (const auto& [sub, runner, info] : commands) {
            if (sub->parsed()) {
                out << command_help(*sub);
                return exit_ok;
            }
        }
        out << program_help(app);
        return exit_ok;
    } catch (const CLI::ParseError& e) {
        std::string where = "arcline";
        for (const auto& [sub, runner, info] : commands)
            if (sub->parsed()) where += " " + sub->get_name();
        if (where == "arcline" && !args.empty() && args[0].rfind('-', 0) != 0)
            err << "arcline: unknown command '" << args[0] << "'\n" << program_help(app);
        else
            err << where << ": " << e.what() << "\n"
                << "Run '" << where << " --help' for the options.\n";
        return exit_bad_input;
    }
    if (want_help) {
        out << program_help(app);
        return exit_ok;
    }
    if (want_version) {
        out << "arcline " << ARCLINE_VERSION << "\n";
        return exit_ok;
    }
    for (const auto& [sub, runner, info] : commands) {
        if (sub->parsed()) {
            session.set_command("arcline " + sub->get_name());
            DebugOutput debug(session);
            if (info->debug_channels && !debug.start()) return session.exit_code();
            int code = runner(session);
            if (info->debug_channels) {
                debug.finish();
                if (code == exit_ok) code = session.exit_code();
            }
            out.flush();
            if (!out) {
                session.not_written("<stdout>", "cannot write standard output");
                return std::max(code, exit_not_written);
            }
            return code;
        }
    }
    err << "arcline: missing command\n" << program_help(app);
    return exit_bad_input;
}

} // namespace arcline::cli
