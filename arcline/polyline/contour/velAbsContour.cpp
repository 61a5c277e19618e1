#include "arcline/polyline/contour/velAbsContour.h"

#include "arcline/polyline/contour/velFreeSpan.h"

#include <algorithm>
#include <cmath>

namespace {

// Meetings of consecutive spans at their joint are where the contour runs on, not crossings.
constexpr double joint_tol = 1e-9;

bool at_joint(double t_before, double t_after) {
    return std::fabs(t_before - 1.0) <= joint_tol && std::fabs(t_after) <= joint_tol;
}

} // namespace

int velAbsContour::operator++() {
    if (m_current >= size()) return 0;
    ++m_current;
    return 1;
}

int velAbsContour::append(velAbsContourcoPrf other) {
    if (!other) return 1;
    const int same = views_same_polyline(*other);
    std::vector<velAbsSpancoPrf> spans = same ? other->span_copies() : std::vector<velAbsSpancoPrf>();
    if (!same) {
        for (int i = 1, n = other->size(); i <= n; ++i)
            spans.push_back(other->get_span(i));
    }
    int all = 1;
    for (velAbsSpancoPrf& span : spans)
        all &= append_span(span) ? 1 : 0;
    invalidate_cache();
    if (!same) other->replace_contour(clone());
    return all;
}

int velAbsContour::append(velAbsSpancoPrf span) {
    const int result = append_span(std::move(span));
    invalidate_cache();
    return result;
}

std::vector<velAbsSpancoPrf> velAbsContour::span_copies() const {
    std::vector<velAbsSpancoPrf> spans;
    const int n = size();
    spans.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        spans.push_back(std::make_shared<velFreeSpan>(*get_span(i)));
    return spans;
}

int velAbsContour::rebuild(std::vector<velAbsSpancoPrf>& spans, int closed) {
    if (closed && !spans.empty()) {
        const giPoint3 end = spans.back()->end_point();
        // Moving an arc's start rewrites its mid point from the bulge: only when the start really moves.
        if (spans.front()->start_point() != end) spans.front()->copy_to_start_point(end);
    }
    velAbsContourcoPrf fresh = clone();
    fresh->reserve(static_cast<int>(spans.size()));
    for (velAbsSpancoPrf& span : spans)
        fresh->append_span(span);
    const int result = replace_contour(fresh);
    invalidate_cache();
    return result;
}

int velAbsContour::shift_to_start(velAbsSpancoPrf span) {
    if (!span || !is_closed()) return 0;
    const int n = size();
    int k = 1;
    while (k <= n && *get_span(k) != *span)
        ++k;
    if (k > n) return 0;
    if (k == 1) return 1;
    std::vector<velAbsSpancoPrf> spans = span_copies();
    std::rotate(spans.begin(), spans.begin() + (k - 1), spans.end());
    return rebuild(spans, 0);
}

void velAbsContour::close() {
    if (size() == 0) return;
    first_span()->copy_to_start_point(last_point());
    invalidate_cache();
}

void velAbsContour::reverse() {
    std::vector<velAbsSpancoPrf> spans = span_copies();
    std::reverse(spans.begin(), spans.end());
    for (velAbsSpancoPrf& span : spans)
        span->reverse();
    rebuild(spans, 0);
}

void velAbsContour::remove_end_span() {
    remove_span(size());
}

int velAbsContour::remove_span(int i) {
    const int n = size();
    if (i < 1 || i > n) return 0;
    const int closed = is_closed();
    std::vector<velAbsSpancoPrf> spans = span_copies();
    const velAbsSpan& removed = *spans[static_cast<std::size_t>(i - 1)];
    if (i > 1)
        spans[static_cast<std::size_t>(i - 2)]->copy_to_end_point(removed.end_point());
    else if (n > 1)
        spans[1]->copy_to_start_point(removed.start_point());
    spans.erase(spans.begin() + (i - 1));
    return rebuild(spans, closed);
}

int velAbsContour::clean(double tol) {
    const int closed = is_closed();
    std::vector<velAbsSpancoPrf> spans = span_copies();
    std::vector<velAbsSpancoPrf> kept;
    kept.reserve(spans.size());
    int removed_before = 0; // a run of removed spans ends before the next kept one
    for (velAbsSpancoPrf& span : spans) {
        const giPoint3 s = span->start_point();
        const bool degenerate = s.distance(span->end_point()) <= tol &&
                                (span->is_of_class_line() || s.distance(span->mid_point()) <= tol);
        if (degenerate) {
            removed_before = 1;
            continue;
        }
        if (removed_before && !kept.empty()) span->copy_to_start_point(kept.back()->end_point());
        removed_before = 0;
        kept.push_back(span);
    }
    const int removed = static_cast<int>(spans.size() - kept.size());
    if (removed == 0) return 0;
    return rebuild(kept, closed) ? removed : 0;
}

giBox2 velAbsContour::compute_box() const {
    giBox2 box;
    for (int i = 1, n = size(); i <= n; ++i)
        box.merge(get_span(i)->get_boundbox());
    return box;
}

const giBox2& velAbsContour::cached_box() const {
    if (m_box.empty()) m_box = compute_box();
    return m_box;
}

double velAbsContour::get_width() const {
    return cached_box().xlength();
}

double velAbsContour::get_height() const {
    return cached_box().ylength();
}

int velAbsContour::is_closed() const {
    if (size() == 0) return 0;
    return first_point().distance(last_point()) == 0.0;
}

giPoint3 velAbsContour::first_point() const {
    const velAbsSpancoPrf span = first_span();
    return span ? span->start_point() : giPoint3();
}

giPoint3 velAbsContour::last_point() const {
    const velAbsSpancoPrf span = last_span();
    return span ? span->end_point() : giPoint3();
}

void velAbsContour::set_offsetting_pars(const velAbsSpan& span) {
    for (int i = 1, n = size(); i <= n; ++i)
        get_span(i)->add_properties(span);
}

void velAbsContour::reset_order_properties() {
    const velAbsSpancoPrf none = invalid_span();
    for (int i = 1, n = size(); i <= n; ++i)
        get_span(i)->set_order_properties(*none);
}

void velAbsContour::set_order_properties(const velAbsSpan& span) {
    for (int i = 1, n = size(); i <= n; ++i)
        get_span(i)->set_order_properties(span);
}

velAbsSpancoPrf velAbsContour::get_order_properties() const {
    velAbsSpancoPrf first = first_span();
    return first && first->order_properties_exist() ? first : velAbsSpancoPrf();
}

void velAbsContour::mark_all_spans_with_order_node() {
    for (int i = 1, n = size(); i <= n; ++i)
        get_span(i)->create_order_node_span();
}

int velAbsContour::replace_contour(velAbsContourcoPrf) {
    return 0;
}

int velAbsContour::cross(const velAbsContour& other, velCrossingcoPageArr& out, int index1,
                         int index2) const {
    const bool self = &other == this;
    const int n = size(), m = other.size();
    std::vector<velAbsSpancoPrf> mine, theirs;
    std::vector<giBox2> my_boxes, their_boxes;
    for (int i = 1; i <= n; ++i) {
        mine.push_back(get_span(i));
        giBox2 box = mine.back()->get_boundbox();
        box.offset(joint_tol);
        my_boxes.push_back(box);
    }
    if (!self) {
        for (int j = 1; j <= m; ++j) {
            theirs.push_back(other.get_span(j));
            their_boxes.push_back(theirs.back()->get_boundbox());
        }
    }
    const std::vector<velAbsSpancoPrf>& spans2 = self ? mine : theirs;
    const std::vector<giBox2>& boxes2 = self ? my_boxes : their_boxes;
    const int this_closed = is_closed(), other_closed = self ? this_closed : other.is_closed();
    const int closed = self && this_closed;
    // The closing point of a closed contour is its parameter 0, not its last parameter.
    auto canonical = [](double t, int count, int is_closed) {
        return is_closed && std::fabs(t - count) <= joint_tol ? 0.0 : t;
    };

    std::vector<velCrossing> found;
    for (int i = 0; i < n; ++i) {
        for (int j = self ? i + 1 : 0; j < m; ++j) {
            if (!my_boxes[static_cast<std::size_t>(i)].crosses(boxes2[static_cast<std::size_t>(j)])) continue;
            double ta[2], tb[2];
            const int k =
                mine[static_cast<std::size_t>(i)]->intersect(spans2[static_cast<std::size_t>(j)], ta, tb);
            for (int c = 0; c < k; ++c) {
                if (self && j == i + 1 && at_joint(ta[c], tb[c])) continue;
                if (closed && i == 0 && j == n - 1 && at_joint(tb[c], ta[c])) continue;
                const giPoint3 p = mine[static_cast<std::size_t>(i)]->parameter_point(ta[c]);
                double p1 = canonical(i + ta[c], n, this_closed), p2 = canonical(j + tb[c], m, other_closed);
                if (self && p2 < p1) std::swap(p1, p2);
                found.emplace_back(p, index1, p1, index2, p2, 0);
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const velCrossing& a, const velCrossing& b) {
        return a.param1() != b.param1() ? a.param1() < b.param1() : a.param2() < b.param2();
    });
    // A meeting at a joint is found from both spans there: one crossing.
    const auto same = [](const velCrossing& a, const velCrossing& b) {
        return std::fabs(a.param1() - b.param1()) <= joint_tol &&
               std::fabs(a.param2() - b.param2()) <= joint_tol;
    };
    found.erase(std::unique(found.begin(), found.end(), same), found.end());
    for (const velCrossing& c : found)
        out.append(c);
    return static_cast<int>(found.size());
}
