#include "tools/cli/DebugOutput.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/platform/dbgLevel.h"
#include "arcline/platform/dbgLevelManager.h"

#include <ostream>
#include <string>

namespace arcline::cli {

namespace {

// Every level the library defines, with its legend.
void list_channels(std::ostream& out) {
    out << "# debug channels: NAME  legend of the levels (all start at 0)\n";
    for (const dbgLevel* level : velDebugGeometry::get_manager()->levels()) {
        out << level->name();
        if (*level->description()) out << "  " << level->description();
        if (level->type() != dbgLevel::geometry_type) out << " (a plain level, no geometry)";
        out << '\n';
    }
}

bool any_on() {
    for (const dbgLevel* level : velDebugGeometry::get_manager()->levels())
        if (level->level() > 0) return true;
    return false;
}

} // namespace

DebugOutput::~DebugOutput() {
    stop();
}

bool DebugOutput::start() {
    const CommonOptions& o = m_session.options();
    dbgLevelManager& levels = *velDebugGeometry::get_manager();
    for (const std::string& setting : o.debug) {
        if (setting == "list") {
            list_channels(m_session.out());
            return false;
        }
    }
    std::string why;
    if (!levels.set_levels_from_environment(environment_variable, &why)) {
        m_session.fault(environment_variable, why.substr(why.find(": ") + 2));
        return false;
    }
    for (const std::string& setting : o.debug) {
        if (!levels.set_levels(setting, &why)) {
            levels.reset_levels();
            m_session.fault("--debug", why);
            return false;
        }
    }
    if (o.debug_out == "-") {
        levels.reset_levels();
        m_session.fault("--debug-out", "the debug geometry document is a file; '-' is not taken");
        return false;
    }
    m_any_on = any_on();
    if (!m_any_on) {
        if (!o.debug_out.empty())
            m_session.warning("--debug-out",
                              std::string("no debug channel is on (--debug CHANNEL=LEVEL or ") +
                                  environment_variable + "), so nothing is written");
        return true;
    }
    m_output =
        std::make_unique<velDebugGeometryCdgOutput>(o.debug_out.empty() ? default_document : o.debug_out);
    m_output->install();
    return true;
}

void DebugOutput::finish() {
    if (!m_output) {
        stop();
        return;
    }
    velDebugGeometry::flush_all();
    m_output->uninstall();
    m_output->close();
    const std::string file = m_output->file_name();
    if (m_output->failed())
        m_session.not_written(file, "cannot write the debug geometry document");
    else if (m_output->written())
        m_session.err() << m_session.command() << ": debug geometry: " << m_output->labels_written()
                        << (m_output->labels_written() == 1 ? " label" : " labels") << " written to " << file
                        << '\n';
    else
        m_session.err() << m_session.command()
                        << ": debug geometry: the channels that are on wrote nothing\n";
    stop();
}

void DebugOutput::stop() {
    if (m_output) {
        m_output->uninstall();
        m_output.reset();
    }
    if (m_any_on) {
        // Nothing kept for a later run in this process.
        velDebugGeometry::flush_all();
        velDebugGeometry::get_manager()->reset_levels();
        m_any_on = false;
    }
}

} // namespace arcline::cli
