#include "tools/cli/GeometryFile.h"

#include "arcline/debug/velGeometryIO.h"
#include "arcline/platform/utAssert.h"
#include "tools/cli/Format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace arcline::cli {

namespace {

void ignore_report(const char*, int, const char*, const char*, const char*) {}

// Keeps the assertion reporter quiet for its lifetime.
class QuietReports {
public:
    QuietReports() : m_previous(ut::set_assert_handler(&ignore_report)) {}
    QuietReports(const QuietReports&) = delete;
    QuietReports& operator=(const QuietReports&) = delete;
    ~QuietReports() { ut::set_assert_handler(m_previous); }

private:
    ut::AssertHandler m_previous;
};

} // namespace

std::string GeometryFile::unreadable(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return "is a directory";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::string("cannot open: ") + std::strerror(errno);
    std::fclose(f);
    return {};
}

GeometryFile GeometryFile::load(const std::string& path) {
    GeometryFile file;
    file.m_path = path;
    if (const std::string why = unreadable(path); !why.empty()) {
        file.m_fault = path + ": " + why;
        file.m_readable = false;
        return file;
    }
    velGeometryIOFault fault;
    bool ok = false;
    {
        const QuietReports quiet;
        ok = velGeometryIO::read(path.c_str(), *file.m_polylines, fault);
    }
    if (ok && fault.empty()) return file;
    if (fault.empty()) fault.reason = "unreadable geometry"; // not expected: the reader says why it fails
    file.m_fault = format::where(path, fault.line) + ": " + fault.reason;
    return file;
}

} // namespace arcline::cli
