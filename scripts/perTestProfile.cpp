// Writes one clang coverage profile per test (scripts/unique_coverage.sh): the counters are cleared before
// each test and written after it to $ARCLINE_PROFILE_DIR/<file>@<suite>.<name>.profraw, so that what each
// test alone covers can be compared with what the rest of the suite covers. Linked only into the
// instrumented build (ARCLINE_TEST_PER_TEST_PROFILE).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

extern "C" int __llvm_profile_write_file(void);
extern "C" void __llvm_profile_reset_counters(void);
extern "C" void __llvm_profile_set_filename(const char*);

namespace {

std::string file_safe(std::string s) {
    for (char& c : s)
        if (c == '/' || c == ' ' || c == '<' || c == '>' || c == '"' || c == '\'' || c == '*' || c == '|' ||
            c == ':')
            c = '_';
    return s;
}

class PerTestProfile : public testing::EmptyTestEventListener {
public:
    explicit PerTestProfile(std::string dir) : m_dir(std::move(dir)) {}
    void OnTestStart(const testing::TestInfo&) override { __llvm_profile_reset_counters(); }
    void OnTestEnd(const testing::TestInfo& t) override {
        std::string file = t.file() ? t.file() : "unknown";
        const auto tests = file.find("/tests/");
        if (tests != std::string::npos) file = file.substr(tests + 7);
        const std::string path = m_dir + "/" + file_safe(file) + "@" +
                                 file_safe(std::string(t.test_suite_name()) + "." + t.name()) + ".profraw";
        __llvm_profile_set_filename(path.c_str());
        __llvm_profile_write_file();
        // What runs between tests and at exit goes to a file of its own.
        __llvm_profile_set_filename((m_dir + "/between.profraw").c_str());
    }

private:
    std::string m_dir;
};

const bool registered = [] {
    const char* dir = std::getenv("ARCLINE_PROFILE_DIR");
    if (dir) testing::UnitTest::GetInstance()->listeners().Append(new PerTestProfile(dir));
    return true;
}();

} // namespace
