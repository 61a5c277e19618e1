// arcline demo: runs the arcline program on the sample parts of this folder. First `arcline info` on the
// pocket (a gear with twelve islands) and on an open toolpath, then a concentric pocketing of the gear with
// step 1 (`arcline pocket`): its levels go to pocket_levels.txt and their picture to pocket.svg in the
// current directory, and the demo tells how long the pocketing took.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A word for the shell, in single quotes.
std::string quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the program with `args`, showing the command first; its exit code.
int run(const std::vector<std::string>& args) {
    std::string command = quoted(ARCLINE_PROGRAM);
    std::string shown = "arcline";
    for (const std::string& a : args) {
        command += ' ';
        command += quoted(a);
        shown += ' ';
        shown += a;
    }
    std::printf("$ %s\n", shown.c_str());
    std::fflush(stdout);
    const int status = std::system(command.c_str());
    std::printf("\n");
    return status;
}

} // namespace

int main() {
    const std::string dir = ARCLINE_EXAMPLES_DIR;
    const std::string pocket = dir + "/pocket.txt";
    const std::string toolpath = dir + "/toolpath.txt";
    int failed = 0;
    failed |= run({"info", pocket, toolpath});
    const auto start = std::chrono::steady_clock::now();
    failed |= run({"pocket", pocket, "1", "-o", "pocket_levels.txt", "--svg", "pocket.svg"});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (failed) {
        std::printf("the arcline program failed\n");
        return 1;
    }
    std::printf("pocketing took %.2f s (reading, every level's offset, writing the levels and the picture)\n",
                took.count());
    std::printf("the levels are in pocket_levels.txt; open pocket.svg in a browser to see them\n");
    return 0;
}
