#pragma once
// Streaming thinning of a chain of points in N dimensions: points are fed one by one, and the filter tells,
// as soon as it knows, which of them to keep so that every point dropped lies within the tolerance of the
// polyline through the kept ones.
//
// Keep rule. The last kept point is the anchor. A new point q is accepted as the tentative end of the current
// run when every point fed since the anchor (before q) lies within tol of the segment from the anchor to q;
// then nothing is decided. Otherwise the point fed just before q is kept and becomes the anchor of a new run
// that q continues. A run is also closed that way once it holds max_run points, which bounds the work per
// point (the test walks the run) at the price of a kept point every max_run points on a straight chain.
// The first point fed is kept at once; flush() keeps the last. Distances are to the segment, not to its
// line, so a chain that runs out and back keeps its turning point.
//
// Points are numbered in the order fed, from 0 after construction or restart(). Non-finite coordinates are
// outside the contract.

#include <vector>

class mlVectorStripN {
public:
    // Longest run between kept points.
    static constexpr int max_run = 256;

    // A filter for points of `dimension` coordinates (at least 1) with tolerance tol (>= 0).
    mlVectorStripN(int dimension, double tol);

    int dimension() const { return m_dim; }
    double tolerance() const { return m_tol; }

    // Feeds the next point (dimension() coordinates, copied). Returns the number of a point now known to be
    // kept (the first point, or the point before p when p does not continue the run), else -1.
    int add(const double* p);
    // Ends the chain: the number of the last point fed when it has not been reported kept, else -1. The
    // filter can be fed on afterwards; the last point is then the anchor.
    int flush();
    // Forgets the chain: the next point fed is number 0 and is kept.
    void restart();

private:
    // Squared distance from point a of the run to the segment from the anchor to q.
    double distance_squared_to_chord(std::size_t a, const double* q) const;
    // Makes the last point of the run the anchor of a new run holding only it; returns its number.
    int keep_last();

    int m_dim;
    double m_tol;
    // Coordinates of the run: the anchor, then the points fed since, m_dim each.
    std::vector<double> m_run;
    int m_fed = 0;            // points fed since the last restart
    int m_anchor_number = -1; // number of the anchor, -1 before the first point
};
