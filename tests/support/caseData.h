#pragma once
// Cases kept as data (see tests/support/README). A case folder under tests/data/ holds one record file
// (velGeometryIO format) per case, NAME.txt, and a sidecar `expected` with one line per case:
//
//     # name polylines positions arcs closed area length minx miny minz maxx maxy maxz   (or "empty" box)
//     unit_circle 1 3 2 1 3.1415926535897931 6.2831853071795862 -1 -1 0 1 1 0
//
// Lines starting with '#' and blank lines are skipped; a case may add "tol ABS REL" after its box to widen
// the default tolerance. Table-driven tests take `case_names(folder)` as their parameters and `load_case`
// each, so adding a case is adding a file and its line. Regressions are named after what broke.

#include "polylineProps.h"

#include "arcline/debug/velGeometryIO.h"

#include <fstream>
#include <string>
#include <vector>

#ifndef ARCLINE_TEST_DATA_DIR
#error "the test target defines ARCLINE_TEST_DATA_DIR"
#endif

namespace support {

struct Case {
    std::string name;
    Polylines lines; // as read, in file order
    Props expected;
    Tol tol;
};

// The folder tests/data/<folder>.
inline std::string data_dir(const std::string& folder) {
    return std::string(ARCLINE_TEST_DATA_DIR) + "/" + folder;
}

namespace detail {

struct SidecarLine {
    std::string name;
    Props props;
    Tol tol;
};

inline std::vector<SidecarLine> read_sidecar(const std::string& folder) {
    std::vector<SidecarLine> out;
    std::ifstream in(data_dir(folder) + "/expected");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream ss(line);
        SidecarLine s;
        if (!(ss >> s.name) || s.name[0] == '#') continue;
        Props& p = s.props;
        ss >> p.polylines >> p.positions >> p.arcs >> p.closed >> p.area >> p.length;
        std::string word;
        ss >> word;
        if (word != "empty") {
            giPoint3 lo, hi;
            std::istringstream first(word);
            first >> lo.x;
            ss >> lo.y >> lo.z >> hi.x >> hi.y >> hi.z;
            p.box.merge(lo);
            p.box.merge(hi);
        }
        bool ok = !ss.fail();
        if (ok && ss >> word) ok = word == "tol" && ss >> s.tol.abs >> s.tol.rel;
        if (!ok) ADD_FAILURE() << data_dir(folder) << "/expected:" << number << ": malformed line";
        out.push_back(s);
    }
    if (out.empty()) ADD_FAILURE() << "no cases in " << data_dir(folder) << "/expected";
    return out;
}

} // namespace detail

// The names of the cases of a folder, in sidecar order: the parameters of a table-driven suite.
inline std::vector<std::string> case_names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& s : detail::read_sidecar(folder))
        names.push_back(s.name);
    return names;
}

// Reads NAME.txt of the folder and its expected properties; a file that does not read is a test failure.
inline Case load_case(const std::string& folder, const std::string& name) {
    Case c;
    c.name = name;
    for (const auto& s : detail::read_sidecar(folder)) {
        if (s.name != name) continue;
        c.expected = s.props;
        c.tol = s.tol;
    }
    const std::string path = data_dir(folder) + "/" + name + ".txt";
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    velGeometryIOFault fault;
    if (!velGeometryIO::read(path.c_str(), list, fault))
        ADD_FAILURE() << path << ":" << fault.line << ": " << fault.reason;
    for (velAbsPolyArcLinecoDListPrgcoPrgcoDListcoIterator it(list); ++it;)
        c.lines.emplace_back((*it)->create_new());
    return c;
}

} // namespace support
