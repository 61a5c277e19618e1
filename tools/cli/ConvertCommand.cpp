#include "arcline/debug/velGeometryIO.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "tools/cli/Commands.h"
#include "tools/cli/GeometryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace arcline::cli {

namespace {

// velGeometryIO::write says nothing when it cannot write: the file must exist and start with the header.
bool written(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string word;
    return static_cast<bool>(in >> word) && word == "velGeometryIO";
}

} // namespace

int run_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ArgParser parser(
        "arcline convert", "IN OUT",
        "Reads IN, a geometry record file or a picture file, and writes its polylines to OUT in\n"
        "the record format (velGeometryIO 1, every coordinate exact). When IN has a fault, the\n"
        "polylines before it are written and the exit code is 2.");
    if (const int code = parse_or_exit(parser, args, out, err); code >= 0) return code;
    const auto& files = parser.positionals();
    if (files.size() < 2)
        return bad_arguments(parser, files.empty() ? "missing IN and OUT" : "missing OUT", err);
    if (files.size() > 2) return bad_arguments(parser, "unexpected argument '" + files[2] + "'", err);

    const GeometryFile in = GeometryFile::load(files[0]);
    if (!in.ok()) err << in.fault() << "\n";
    if (!in.readable()) return exit_bad_input;

    const std::string& path = files[1];
    if (std::FILE* probe = std::fopen(path.c_str(), "ab")) {
        std::fclose(probe);
    } else {
        err << path << ": cannot write: " << std::strerror(errno) << "\n";
        return exit_not_written;
    }
    velAbsPolyArcLineListIter list(in.polylines());
    velGeometryIO::write(path.c_str(), list);
    if (!written(path)) {
        err << path << ": cannot write\n";
        return exit_not_written;
    }
    if (!in.ok()) {
        err << parser.command() << ": wrote the " << in.polylines().size()
            << " polyline(s) read before the fault to " << path << "\n";
        return exit_bad_input;
    }
    return exit_ok;
}

} // namespace arcline::cli
