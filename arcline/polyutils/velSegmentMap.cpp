#include "arcline/polyutils/velSegmentMap.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {
std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}
const std::vector<double>& none() {
    static const std::vector<double> empty;
    return empty;
}
} // namespace

velSegmentMap::velSegmentMap(int num_polylines) {
    resize(num_polylines);
}

void velSegmentMap::clear() {
    m_cuts.clear();
    m_redundant.clear();
    m_sorted.clear();
}

void velSegmentMap::resize(int num_polylines) {
    const std::size_t n = at(std::max(num_polylines, 0));
    m_cuts.resize(n);
    m_redundant.resize(n);
    m_sorted.resize(n, 1);
}

void velSegmentMap::add_trimming(int polyline, double t) {
    if (polyline < 0 || polyline >= size()) return;
    m_cuts[at(polyline)].push_back(t);
    m_sorted[at(polyline)] = 0;
}

void velSegmentMap::add_redundant_trimming(int polyline, double t) {
    if (polyline < 0 || polyline >= size()) return;
    m_redundant[at(polyline)].push_back(t);
}

void velSegmentMap::sort(int polyline) const {
    if (m_sorted[at(polyline)]) return;
    std::sort(m_cuts[at(polyline)].begin(), m_cuts[at(polyline)].end());
    m_sorted[at(polyline)] = 1;
}

const std::vector<double>& velSegmentMap::trimmings(int polyline) const {
    if (polyline < 0 || polyline >= size()) return none();
    sort(polyline);
    return m_cuts[at(polyline)];
}

const std::vector<double>& velSegmentMap::redundant_trimmings(int polyline) const {
    if (polyline < 0 || polyline >= size()) return none();
    return m_redundant[at(polyline)];
}

double velSegmentMap::distance_to_trimming_parameter(int polyline, double t) const {
    if (polyline < 0 || polyline >= size()) return DBL_MAX;
    double best = DBL_MAX;
    const std::vector<double>& cuts = trimmings(polyline);
    const auto it = std::lower_bound(cuts.begin(), cuts.end(), t);
    if (it != cuts.end()) best = *it - t;
    if (it != cuts.begin()) best = std::min(best, t - *(it - 1));
    for (const double c : m_redundant[at(polyline)])
        best = std::min(best, std::fabs(t - c));
    return best;
}
