#pragma once
// Writes one output of a command, all or nothing. A file is written to a temporary file beside it (same
// folder, so the rename stays on one file system), renamed over it only when every byte was written; on a
// fault the temporary is removed and the target is as it was. A target that exists keeps its permission
// bits; a symbolic link is followed, so the link stays and its target is replaced. A path that exists and
// is not a regular file (a device such as /dev/null or /dev/full, a pipe, /dev/stdout) is written in place.
// "-" is standard output. A fault is reported to the session as "path: cannot write: reason" (exit code 1).

#include "tools/cli/Session.h"

#include <string>
#include <string_view>

namespace arcline::cli {

class OutputFile {
public:
    // False after the message.
    static bool write(const std::string& path, std::string_view bytes, Session& session);
    // False, after a fault, when two of the command's outputs would share standard output: OUT, the JSON
    // summary (`json`, always on standard output) and the picture (`svg` "-").
    static bool one_per_standard_output(const std::string& output, bool json, const std::string& svg,
                                        Session& session);

private:
    OutputFile() = default;
};

} // namespace arcline::cli
