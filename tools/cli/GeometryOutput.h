#pragma once
// Geometry written by the arcline program: the record format (velGeometryIO 1, byte for byte what
// velGeometryIO::write writes), DXF (see Dxf) or a debug geometry document (what velGeometryIO::write_cdg
// writes), chosen by name or by the output's extension (".dxf", ".cdg"; anything else: records). Written
// like every output (see OutputFile): all or nothing, "-" for standard output.

#include "tools/cli/Session.h"

#include <optional>
#include <string>

class velPolylineListIter;

namespace arcline::cli {

class GeometryOutput {
public:
    enum class Format { records, dxf, cdg };

    // The format named "records", "dxf" or "cdg"; empty for another name.
    static std::optional<Format> parse_format(const std::string& name);
    // The format of an output path by its extension (any case).
    static Format format_of_path(const std::string& path);

    // The text of `list` in `format`; `label` names the top node of a debug document. Notes on what the
    // format could not hold go to the session as warnings "where: warning: ...". Empty with a message
    // (exit code 1) when the debug document could not be made.
    static std::optional<std::string> text(const velPolylineListIter& list, Format format,
                                           const std::string& label, const std::string& where,
                                           Session& session);
    // text() written to `path`. False after a message.
    static bool write(const std::string& path, const velPolylineListIter& list, Format format,
                      const std::string& label, Session& session);

    // The record format of `list`.
    static std::string records(const velPolylineListIter& list);

private:
    GeometryOutput() = default;
};

} // namespace arcline::cli
