#pragma once
// One geometry input of the arcline program, read whole: a file or standard input ("-"), in the record
// format (velGeometryIO), the picture format or DXF, told apart by their first word. Reading reports its
// faults and warnings to the session as "file:line: reason" and "file:line: warning: reason" (warnings are
// faults under --strict) and keeps what came before a fault. See TextGeometryReader and Dxf for what each
// format warns about. Every coordinate read is finite: one that is not is a fault.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "tools/cli/Session.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace arcline::cli {

class GeometryInput {
public:
    enum class Format { none, records, picture, dxf, cdg };

    // Reads `path` ("-": standard input), telling the session what went wrong.
    static GeometryInput read(const std::string& path, Session& session);
    // Reads every path in order.
    static std::vector<GeometryInput> read_all(const std::vector<std::string>& paths, Session& session);

    // Reads the bytes of `path` ("-": standard input, read once per session). False with the reason in
    // `why` ("cannot open: No such file or directory", "is a directory").
    static bool load_bytes(const std::string& path, Session& session, std::string& bytes, std::string& why);
    // The format of a text by its first word; none when it is not one of ours.
    static Format format_of(std::string_view text);
    static const char* format_name(Format f);

    // The path as given, and as messages show it ("<stdin>" for "-").
    const std::string& path() const { return m_path; }
    const std::string& name() const { return m_name; }
    Format format() const { return m_format; }
    // The polylines read; the list stays at one address, so iterators over it survive moves of this object.
    const velAbsPolyArcLinecoDListPrgcoPrgcoDList& polylines() const { return *m_polylines; }
    // Whether the whole input was read without a fault.
    bool ok() const { return m_fault.empty(); }
    // False when it could not be read at all.
    bool readable() const { return m_readable; }
    // For a command that writes `output` from this input alone: false when the input was unreadable or
    // faulty, and then (for a faulty one) the error stream says that `output` is not written.
    bool usable_for_output(const std::string& output, Session& session) const;
    // The first fault as "file:line: reason"; empty when none.
    const std::string& fault() const { return m_fault; }
    int warnings() const { return m_warnings; }

private:
    GeometryInput() = default;

    std::string m_path, m_name;
    Format m_format = Format::none;
    std::unique_ptr<velAbsPolyArcLinecoDListPrgcoPrgcoDList> m_polylines =
        std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>();
    std::string m_fault;
    bool m_readable = true;
    int m_warnings = 0;
};

} // namespace arcline::cli
