// Rules of the library's sources, read from the files: headers include each other without cycles and
// downwards (the span kernel and the platform know no lists, crossings or algorithms), the crossing options
// block stays light, and tolerances are named: the shared values live in arcline/polyline/velTolerances.h
// and any other small constant is a named constexpr, never a literal inside an expression.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace sources_test {

namespace fs = std::filesystem;

namespace {

const fs::path root = fs::path(ARCLINE_TEST_DATA_DIR) / ".." / "..";

std::vector<std::string> lines_of(const fs::path& p) {
    std::ifstream in(p);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Library files by their include name ("arcline/...").
std::vector<std::string> library_files(const std::string& ext) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root / "arcline"))
        if (e.is_regular_file() && e.path().extension() == ext)
            out.push_back(fs::relative(e.path(), root).generic_string());
    return out;
}

std::map<std::string, std::vector<std::string>> include_graph() {
    std::map<std::string, std::vector<std::string>> g;
    for (const std::string& h : library_files(".h")) {
        auto& edges = g[h];
        for (const std::string& line : lines_of(root / h)) {
            const auto at = line.find("#include \"arcline/");
            if (at == 0) edges.push_back(line.substr(10, line.find('"', 10) - 10));
        }
    }
    return g;
}

std::set<std::string> reached(const std::map<std::string, std::vector<std::string>>& g,
                              const std::string& from) {
    std::set<std::string> seen;
    std::function<void(const std::string&)> visit = [&](const std::string& h) {
        if (!seen.insert(h).second || !g.count(h)) return;
        for (const auto& e : g.at(h))
            visit(e);
    };
    visit(from);
    seen.erase(from);
    return seen;
}

// The code of a line without its comment and string literals (good enough for this library's style).
std::string code_of(const std::string& line) {
    std::string out;
    bool in_string = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!in_string && line.compare(i, 2, "//") == 0) break;
        if (line[i] == '"' && (i == 0 || line[i - 1] != '\\')) in_string = !in_string;
        if (!in_string) out += line[i];
    }
    return out;
}

// Floating literals of a line of code.
std::vector<std::pair<std::string, double>> float_literals(const std::string& code) {
    std::vector<std::pair<std::string, double>> out;
    for (std::size_t i = 0; i < code.size();) {
        const bool starts =
            std::isdigit(static_cast<unsigned char>(code[i])) ||
            (code[i] == '.' && i + 1 < code.size() && std::isdigit(static_cast<unsigned char>(code[i + 1])));
        const bool word =
            i > 0 && (std::isalnum(static_cast<unsigned char>(code[i - 1])) || code[i - 1] == '_');
        if (!starts || word) {
            ++i;
            continue;
        }
        std::size_t j = i;
        bool is_float = false;
        while (j < code.size() &&
               (std::isdigit(static_cast<unsigned char>(code[j])) || code[j] == '.' || code[j] == 'e' ||
                code[j] == 'E' || code[j] == '\'' ||
                ((code[j] == '-' || code[j] == '+') && (code[j - 1] == 'e' || code[j - 1] == 'E')))) {
            is_float = is_float || code[j] == '.' || code[j] == 'e' || code[j] == 'E';
            ++j;
        }
        if (is_float && code.compare(i, 2, "0x") != 0) {
            const std::string text = code.substr(i, j - i);
            out.emplace_back(text, std::strtod(text.c_str(), nullptr));
        }
        i = j;
    }
    return out;
}

} // namespace

TEST(Sources, HeadersIncludeEachOtherWithoutCycles) {
    const auto g = include_graph();
    ASSERT_GT(g.size(), 100u);
    std::map<std::string, int> state; // 1 on the path, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& h) {
        if (state[h] == 2 || !g.count(h)) return;
        if (state[h] == 1) {
            std::string cycle;
            for (auto it = std::find(path.begin(), path.end(), h); it != path.end(); ++it)
                cycle += *it + " -> ";
            ADD_FAILURE() << "include cycle: " << cycle << h;
            return;
        }
        state[h] = 1;
        path.push_back(h);
        for (const auto& e : g.at(h))
            visit(e);
        path.pop_back();
        state[h] = 2;
    };
    for (const auto& [h, edges] : g)
        visit(h);
}

TEST(Sources, LowerLayersIncludeNothingAbove) {
    const auto g = include_graph();
    for (const auto& [h, edges] : g) {
        const bool low = h.rfind("arcline/platform/", 0) == 0 || h.rfind("arcline/polyline/spans/", 0) == 0;
        if (!low) continue;
        for (const std::string& e : reached(g, h))
            for (const char* above :
                 {"arcline/lists/", "arcline/intersect/", "arcline/polyutils/", "arcline/debug/"})
                EXPECT_NE(e.rfind(above, 0), 0u) << h << " reaches " << e;
    }
    // The crossing options block names the closure function; it needs no trimmed view for that.
    const auto cross_data = reached(g, "arcline/intersect/velCrossData.h");
    EXPECT_EQ(cross_data.count("arcline/lists/velTrimmedPolylineListIter.h"), 0u);
    EXPECT_EQ(cross_data.count("arcline/lists/velClosureFunction.h"), 1u);
}

TEST(Sources, TolerancesAreNamed) {
    // The shared values appear as literals only in the tolerance header; other small constants (below 0.01,
    // or just below 1) only in named constexpr definitions. The platform stand-ins keep their own.
    const std::set<double> shared{1e-5, 1e-10, 1e-15};
    for (const char* ext : {".h", ".cpp"}) {
        for (const std::string& f : library_files(ext)) {
            if (f.rfind("arcline/platform/", 0) == 0 || f == "arcline/polyline/velTolerances.h") continue;
            const auto lines = lines_of(root / f);
            for (std::size_t n = 0; n < lines.size(); ++n) {
                const std::string code = code_of(lines[n]);
                for (const auto& [text, v] : float_literals(code)) {
                    const bool small = (v > 0.0 && v < 0.01) || (v > 0.99 && v < 1.0);
                    if (!small) continue;
                    EXPECT_FALSE(shared.count(v))
                        << f << ":" << n + 1 << ": " << text << " belongs to velTol";
                    EXPECT_NE(code.find("constexpr"), std::string::npos)
                        << f << ":" << n + 1 << ": unnamed tolerance " << text;
                }
            }
        }
    }
}

} // namespace sources_test
