#pragma once
// The visibility of n boundary segments (or whole polylines), indexed 0 .. n - 1, as the visibility
// traversal decides it: visible (1), not visible (0) or undefined (-1), with the parameter at which it was
// decided and a confidence, the distance of the deciding point from its neighbours (scaled). A result of
// confidence above certain_confidence is final; a weaker one is replaced by any more confident later one.
// Blocked entries (a caller's int array, not owned, may be null) need no result and count as known.
//
//     velVisibilityResult r;
//     r.initialize(n, nullptr);
//     r.set_visibility(3, 1, 0.25, 0.5);    // segment 3 visible, decided at t = 0.25
//     if (r.results_complete()) ...        // every entry blocked or certain

#include <cfloat>
#include <vector>

class velVisibilityResult {
public:
    // Results of at most this confidence may still be replaced.
    static constexpr double certain_confidence = 0.01;

    velVisibilityResult() = default;

    // n entries, undefined, confidence 0; `blocked` (may be null) must outlive the result.
    void initialize(int n, const int* blocked);
    // No entries.
    void reset();

    // Offers a result for entry i: ignored for a blocked entry, for an entry already defined with a certain
    // confidence, and unless `confidence` exceeds the stored one.
    void set_visibility(int i, int visible, double t, double confidence);
    void set_visibility(int i, int visible) { set_visibility(i, visible, 0.0, 1.0); }

    int size() const { return m_n; }
    int blocked(int i) const { return m_blocked && m_blocked[i] != 0; }
    int visibility_defined(int i) const { return m_visible[at(i)] >= 0; }
    int visibility_certain(int i) const { return m_confidence[at(i)] > certain_confidence; }
    int visible(int i) const { return m_visible[at(i)]; }
    double confidence(int i) const { return m_confidence[at(i)]; }
    double t(int i) const { return m_t[at(i)]; }
    // Entries blocked or with a certain result.
    int known() const { return m_known; }
    int results_complete() const { return m_known == m_n; }

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }

    int m_n = 0;
    const int* m_blocked = nullptr;
    std::vector<int> m_visible;
    std::vector<double> m_confidence;
    std::vector<double> m_t;
    int m_known = 0;
};
