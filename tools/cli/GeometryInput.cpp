#include "tools/cli/GeometryInput.h"

#include "tools/cli/Diagnostics.h"
#include "tools/cli/Dxf.h"
#include "tools/cli/Format.h"
#include "tools/cli/TextGeometryReader.h"
#include "tools/cli/TextScanner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace arcline::cli {

namespace {

std::string_view without_bom(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

} // namespace

bool GeometryInput::load_bytes(const std::string& path, Session& session, std::string& bytes,
                               std::string& why) {
    why.clear();
    if (path == "-") {
        const std::string* in = session.standard_input(why);
        if (!in) return false;
        bytes = *in;
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        why = "is a directory";
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        why = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        why = std::string("cannot read: ") + std::strerror(errno);
        return false;
    }
    return true;
}

GeometryInput::Format GeometryInput::format_of(std::string_view text) {
    text = without_bom(text);
    if (Dxf::looks_like(text)) return Format::dxf;
    TextScanner in(text);
    const std::string_view word = in.peek_word();
    if (word == "velGeometryIO" || word == "velPointFilterIO") return Format::records;
    if (word == "picture") return Format::picture;
    if (word == "CDG1") return Format::cdg;
    return Format::none;
}

const char* GeometryInput::format_name(Format f) {
    switch (f) {
    case Format::records:
        return "records";
    case Format::picture:
        return "picture";
    case Format::dxf:
        return "dxf";
    case Format::cdg:
        return "cdg";
    case Format::none:
        break;
    }
    return "none";
}

GeometryInput GeometryInput::read(const std::string& path, Session& session) {
    GeometryInput input;
    input.m_path = path;
    input.m_name = Session::display_name(path);
    std::string bytes, why;
    if (!load_bytes(path, session, bytes, why)) {
        input.m_readable = false;
        input.m_fault = input.m_name + ": " + why;
        session.fault(input.m_name, why);
        return input;
    }
    const std::string_view text = without_bom(bytes);
    Diagnostics diag(session.options().strict);
    input.m_format = format_of(text);
    switch (input.m_format) {
    case Format::records:
        TextGeometryReader::read_records(text, *input.m_polylines, diag);
        break;
    case Format::picture:
        TextGeometryReader::read_picture(text, *input.m_polylines, diag);
        break;
    case Format::dxf:
        Dxf::read(text, *input.m_polylines, diag);
        break;
    case Format::cdg:
        diag.fail(1, "a debug geometry document, not geometry: draw it with 'arcline cdg2svg'");
        break;
    case Format::none: {
        TextScanner in(text);
        const std::string_view word = in.peek_word();
        diag.fail(in.line(), word.empty() ? std::string("empty file: no header")
                                          : "not a geometry file (record, picture or DXF): it starts with " +
                                                format::quoted(word));
        break;
    }
    }
    for (const Diagnostics::Item& item : diag.items()) {
        const std::string where = format::where(input.m_name, item.line);
        if (item.fault) {
            session.fault(where, item.text);
            if (input.m_fault.empty()) input.m_fault = where + ": " + item.text;
        } else {
            session.warning(where, item.text);
            ++input.m_warnings;
        }
    }
    if (diag.warnings_dropped() > 0) {
        session.warning(input.m_name, std::to_string(diag.warnings_dropped()) + " more warning(s) not shown");
        input.m_warnings += static_cast<int>(std::min<long long>(diag.warnings_dropped(), 1 << 30));
    }
    return input;
}

std::vector<GeometryInput> GeometryInput::read_all(const std::vector<std::string>& paths, Session& session) {
    std::vector<GeometryInput> out;
    out.reserve(paths.size());
    for (const std::string& path : paths)
        out.push_back(read(path, session));
    return out;
}

bool GeometryInput::usable_for_output(const std::string& output, Session& session) const {
    if (!readable()) return false;
    if (ok()) return true;
    session.err() << session.command() << ": " << Session::display_name(output) << " not written\n";
    return false;
}

} // namespace arcline::cli
