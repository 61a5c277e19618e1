#include "tools/cli/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arcline::cli {

namespace {

namespace fs = std::filesystem;

// Writes every byte, retrying interrupted and partial writes; errno tells why on false.
bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string reason(int error) {
    return std::string("cannot write: ") + std::strerror(error);
}

// A file that is not a regular file: written in place, as a stream.
bool write_in_place(const std::string& path, std::string_view bytes, Session& session) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        session.not_written(path, reason(errno));
        return false;
    }
    const bool ok = write_all(fd, bytes);
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) {
        session.not_written(path, reason(ok ? errno : error));
        return false;
    }
    return true;
}

} // namespace

bool OutputFile::write(const std::string& path, std::string_view bytes, Session& session) {
    if (path == "-") {
        std::ostream& out = session.out();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            session.not_written("<stdout>", "cannot write standard output");
            return false;
        }
        return true;
    }
    if (path.empty()) {
        session.not_written("arcline", "an output path is empty");
        return false;
    }
    struct stat st {};
    fs::path target = path;
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            session.not_written(path, "cannot write: is a directory");
            return false;
        }
        return write_in_place(path, bytes, session);
    }
    if (exists) {
        std::error_code ec;
        const fs::path real = fs::canonical(target, ec);
        if (!ec) target = real;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string leaf = ".";
    leaf += target.filename().string();
    leaf += ".arcline-XXXXXX";
    std::string temp = (folder / leaf).string();
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        session.not_written(path, reason(errno));
        return false;
    }
    temp = name.data();
    mode_t mode = 0;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) {
        // A file system without modes still takes the bytes.
    }
    bool ok = write_all(fd, bytes);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        session.not_written(path, reason(error));
        return false;
    }
    return true;
}

bool OutputFile::one_per_standard_output(const std::string& output, bool json, const std::string& svg,
                                         Session& session) {
    if (output == "-" && (json || svg == "-")) {
        session.fault(session.command(), json ? "OUT and --json cannot both be standard output"
                                              : "OUT and --svg cannot both be standard output");
        return false;
    }
    if (json && svg == "-") {
        session.fault(session.command(), "--json and --svg cannot both be standard output");
        return false;
    }
    return true;
}

} // namespace arcline::cli
