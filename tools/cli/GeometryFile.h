#pragma once
// One geometry file (record or picture format) read for the arcline program: its polylines and, when the
// read went wrong, a message "name:line: reason" (or "name: reason" when no line applies). A fault never
// loses what came before it: the polylines finished before the fault are kept.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

#include <memory>
#include <string>

namespace arcline::cli {

class GeometryFile {
public:
    // Reads `path`. The picture reader's reports are kept from the assertion reporter while it runs (they
    // come back in the fault message instead).
    static GeometryFile load(const std::string& path);

    // Why `path` cannot be read ("is a directory", "cannot open: No such file or directory"); empty when
    // it can be opened for reading.
    static std::string unreadable(const std::string& path);

    const std::string& path() const { return m_path; }
    // The polylines read; the list stays at one address, so iterators over it survive moves of this object.
    const velAbsPolyArcLinecoDListPrgcoPrgcoDList& polylines() const { return *m_polylines; }
    bool ok() const { return m_fault.empty(); }
    // False when the file could not be opened at all (the fault then says why).
    bool readable() const { return m_readable; }
    // Empty when the whole file was read.
    const std::string& fault() const { return m_fault; }

private:
    GeometryFile() = default;

    std::string m_path;
    std::unique_ptr<velAbsPolyArcLinecoDListPrgcoPrgcoDList> m_polylines =
        std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>();
    std::string m_fault;
    bool m_readable = true;
};

} // namespace arcline::cli
