#pragma once
// Shared pieces of the debug-file tests: a scratch directory that cleans up after itself, whole-file reads
// and writes, and the code letters of a decoded document.

#include "arcline/debug/CDGReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace debugtest {

namespace fs = std::filesystem;

// A new directory under the system's temporary directory, removed with its contents on destruction. enter()
// makes it the current directory until destruction.
class ScratchDir {
public:
    ScratchDir() {
        std::mt19937_64 rng(
            std::random_device{}() ^
            static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
        m_path = fs::temp_directory_path() / ("arcline-debug-" + std::to_string(rng()));
        fs::create_directories(m_path);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        std::error_code ec;
        if (m_previous) fs::current_path(*m_previous, ec);
        fs::remove_all(m_path, ec);
    }
    void enter() {
        m_previous = fs::current_path();
        fs::current_path(m_path);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
    std::optional<fs::path> m_previous;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The records of a document file; the test fails when it does not read.
inline std::vector<lumet::CDGRecord> records_of(const std::string& path) {
    std::vector<lumet::CDGRecord> out;
    lumet::CDGReader::Fault fault;
    EXPECT_TRUE(lumet::CDGReader::read(path, out, &fault))
        << path << ":" << fault.line << ": " << fault.reason;
    return out;
}

inline std::string codes(const std::vector<lumet::CDGRecord>& records) {
    std::string out;
    for (const auto& r : records)
        out += r.code;
    return out;
}

} // namespace debugtest
