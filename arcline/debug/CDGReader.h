#pragma once
// Reads debug geometry documents (see CDGDocument) back into records: the viewer and the tests use it.
// Parsing is strict about packed fields (length, alphabet, zero padding bits) and lenient about layout:
// blank lines are skipped and a carriage return before a line break is dropped, so documents continued in
// append mode, immediate files and closed documents all read.

#include "arcline/debug/CDGRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumet {

class CDGReader {
public:
    // Where a read went wrong: the line (from 1; 0 when the file could not be opened) and a short reason.
    struct Fault {
        int line = 0;
        std::string reason;
    };

    // Reads the document file at `path`, appending its records to `out`. Returns false when the file
    // cannot be opened, does not start with a line "CDG1", or holds a malformed record; the records before
    // the fault are kept, and `fault`, when given, says where and why.
    static bool read(const std::string& path, std::vector<CDGRecord>& out, Fault* fault = nullptr);
    // The same on the text of a document.
    static bool parse(std::string_view text, std::vector<CDGRecord>& out, Fault* fault = nullptr);
    // One record line without its line break. On failure `out` is unspecified and `reason`, when given,
    // says why.
    static bool parseRecord(std::string_view line, CDGRecord& out, std::string* reason = nullptr);

    // Decoders of the packed fields; empty on a wrong length, a character outside the alphabet or padding
    // bits that are not zero.
    static std::optional<double> decodeNumber(std::string_view packed);
    static std::optional<P3> decodePoint(std::string_view packed);
    static std::optional<CDGRecord::Params> decodeParams(std::string_view packed);
    static std::optional<std::string> decodeColour(std::string_view packed);

    // Packed lengths of the fields.
    static constexpr std::size_t number_chars = 6;
    static constexpr std::size_t point_chars = 16;
    static constexpr std::size_t params_chars = 11;
    static constexpr std::size_t colour_chars = 4;
    static constexpr std::size_t matrix_chars = 6 * point_chars;

private:
    CDGReader() = default;
};

} // namespace lumet
