#pragma once
// One workload file of the shared benchmark data, read once before anything is timed: the poly-arc-lines as
// arcline reads them, and the same polylines as chords for the peers.

#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "bench/compare/Chords.h"

#include <string>
#include <vector>

namespace compare {

struct Workload {
    std::string name; // the file name without ".txt", as in the table
    std::string path;
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    std::vector<Chain> chains; // polyline k as chords, in the file's order
    int spans = 0;
    int arc_spans = 0;
    long long chord_vertices = 0;    // of all chains; a ring counts each vertex once
    double exact_area = 0.0;         // signed, of the closed polylines, arcs counted as arcs
    double chord_area = 0.0;         // signed, of the closed chains
    std::vector<double> exact_areas; // polyline k's signed area (0 when open)
};

// Reads `dir`/`name`.txt. False with a message naming the file (and the line of a fault) when the file is
// missing or malformed or holds no polyline.
bool read_workload(const std::string& dir, const std::string& name, Workload& out, std::string& error);

} // namespace compare
