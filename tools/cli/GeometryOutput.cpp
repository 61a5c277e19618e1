#include "tools/cli/GeometryOutput.h"

#include "arcline/debug/CDGDocument.h"
#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velPolylineListIter.h"
#include "tools/cli/Dxf.h"
#include "tools/cli/OutputFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <unistd.h>

namespace arcline::cli {

namespace {

void number(std::string& out, double v) {
    char text[32];
    text[0] = ' ';
    const std::to_chars_result r =
        std::to_chars(text + 1, text + sizeof text, v, std::chars_format::general, 17);
    out.append(text, r.ptr);
}

void point(std::string& out, const giPoint3& p) {
    number(out, p.x);
    number(out, p.y);
    number(out, p.z);
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The debug document of `list`, made by velGeometryIO::write_cdg in a temporary file and read back.
std::optional<std::string> cdg_text(const velPolylineListIter& list, const std::string& label,
                                    std::string& why) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    std::string name = ((ec ? fs::path("/tmp") : folder) / "arcline-XXXXXX.cdg").string();
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0) {
        why = std::string("cannot make a temporary file: ") + std::strerror(errno);
        return std::nullopt;
    }
    ::close(fd);
    name = buffer.data();
    const std::unique_ptr<velPolylineListIter> it(list.create_new());
    velGeometryIO::write_cdg(name.c_str(), label.c_str(), *it);
    const bool written = static_cast<bool>(lumet::CDGDocument::flushDoc(name));
    lumet::CDGDocument::closeDoc(name);
    std::ifstream in(name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const bool read = !in.bad();
    in.close();
    std::remove(name.c_str());
    if (!written || !read) {
        why = "cannot write the temporary debug document " + name;
        return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<GeometryOutput::Format> GeometryOutput::parse_format(const std::string& name) {
    if (name == "records") return Format::records;
    if (name == "dxf") return Format::dxf;
    if (name == "cdg") return Format::cdg;
    return std::nullopt;
}

GeometryOutput::Format GeometryOutput::format_of_path(const std::string& path) {
    const std::string ext = lower(std::filesystem::path(path).extension().string());
    if (ext == ".dxf") return Format::dxf;
    if (ext == ".cdg") return Format::cdg;
    return Format::records;
}

std::string GeometryOutput::records(const velPolylineListIter& list) {
    std::string out = "velGeometryIO 1";
    const std::unique_ptr<velPolylineListIter> it(list.create_new());
    for (it->reset(); ++*it;) {
        const int n = it->num_pos();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && !it->span_linear(i - 1)) {
                out += "\na";
                point(out, it->get_mid_pos(i - 1));
            } else {
                out += "\np";
            }
            point(out, it->get_pos(i));
        }
        out += "\ns";
    }
    out += "\ne";
    return out;
}

std::optional<std::string> GeometryOutput::text(const velPolylineListIter& list, Format format,
                                                const std::string& label, const std::string& where,
                                                Session& session) {
    switch (format) {
    case Format::records:
        return records(list);
    case Format::dxf: {
        Dxf::Written dxf = Dxf::write(list);
        for (const std::string& note : dxf.notes)
            session.warning(where, note);
        return std::move(dxf.text);
    }
    case Format::cdg: {
        std::string why;
        std::optional<std::string> text = cdg_text(list, label, why);
        if (!text) session.not_written(where, why);
        return text;
    }
    }
    return std::nullopt;
}

bool GeometryOutput::write(const std::string& path, const velPolylineListIter& list, Format format,
                           const std::string& label, Session& session) {
    const std::optional<std::string> bytes =
        text(list, format, label, path == "-" ? "<stdout>" : path, session);
    return bytes && OutputFile::write(path, *bytes, session);
}

} // namespace arcline::cli
