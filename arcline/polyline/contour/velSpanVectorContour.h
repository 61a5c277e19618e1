#pragma once
// A contour that holds its span objects themselves, in a vector: no polyline underneath. get_span() hands
// out the stored object, so a change made through it changes the contour, and a span appended is kept as
// it is (not copied): whoever appended it still holds a handle on the contour's span. Spans of any class
// may be stored (velFreeSpan copies, or spans of a class that carries offsetting properties), which makes
// this the working contour of the offsetters: appending, dropping the end span and cleaning cost no
// polyline rewrite.
//
// Like every contour it is connected: a span appended to a non-empty contour is moved to start at the last
// point (an arc keeping its bulge) when it starts elsewhere. Closure is the exact coincidence of the ends.
//
// It has no polyline to write: get_cursor() is null. create_empty_cursor() gives a cursor that writes
// double-precision poly-arc-lines with their span records, so that its contents can be written out.

#include "arcline/polyline/contour/velAbsContour.h"
#include "arcline/polyline/velTolerances.h"

#include <vector>

class velSpanVectorContour : public velAbsContour {
public:
    velSpanVectorContour() = default;
    velSpanVectorContour(const velSpanVectorContour&) = delete;
    velSpanVectorContour& operator=(const velSpanVectorContour&) = delete;
    ~velSpanVectorContour() override = default;

    // An empty vector contour.
    velAbsContourcoPrf clone() const override;
    // A vector contour of copies of the spans (their create_new()).
    velAbsContourcoPrf create_new() const override;
    // None: the contour has no polyline.
    velPolylineListCursor* get_cursor() override { return nullptr; }
    // An offset-flag cursor around a new list of double-precision poly-arc-lines; the caller owns it.
    velPolylineListCursor* create_empty_cursor() const override;

    // Box extents of the spans as they are now (changes through span handles count).
    double get_width() const override { return compute_box().xlength(); }
    double get_height() const override { return compute_box().ylength(); }
    double get_tol() const override { return contour_tol; }
    // Signed XY area (arcs exact, the contour closed by its chord) below -1e-12.
    int is_clockwise() const override;
    int size() const override { return static_cast<int>(m_spans.size()); }
    velAbsSpancoPrf first_span() const override { return get_span(1); }
    velAbsSpancoPrf get_span(int i) const override;
    velAbsSpancoPrf last_span() const override { return get_span(size()); }
    // A span object of no kind.
    velAbsSpancoPrf invalid_span() const override;

    // In place, with the results of the span-by-span rebuilds of velAbsContour.
    void reverse() override;
    void remove_end_span() override;
    int clean(double tol) override;

    // Signed XY area of the spans, the contour closed by its chord: anticlockwise positive, arcs exact.
    double area() const;
    // Sum of the span lengths.
    double length() const;
    // The stored spans.
    const std::vector<velAbsSpancoPrf>& spans() const { return m_spans; }
    void reserve_spans(int n) { m_spans.reserve(static_cast<std::size_t>(n > 0 ? n : 0)); }

    // Points of a vector contour within this distance coincide.
    static constexpr double contour_tol = velTol::span_fraction;

protected:
    // Keeps the span itself; refuses a null span and one of no kind.
    int append_span(velAbsSpancoPrf span) override;
    // Takes other's spans (copies of them when other is this contour).
    int replace_contour(velAbsContourcoPrf other) override;

private:
    std::vector<velAbsSpancoPrf> m_spans;
};
