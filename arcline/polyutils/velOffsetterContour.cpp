// velOffsetter: single contours. A closed contour's sides are its raw offsets to the left and right, sorted;
// an open polyline's sides are cut from one sorted band: the polyline forward with its right side labelled, a
// cap at its end, backward with its left side labelled, a cap at its start. The caps are two short lines
// there and back, which the raw offset rounds into half circles; the labels that the sorted spans carry tell
// the runs of each side apart.

#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineListIterWithOffsetFlags.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velOffsetter.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSortedSpanRecords.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Every span labelled with `side`; positions kept when the contour has them, else numbered from 0.
void label_spans(velAbsContour& contour, velSpanSide side) {
    const velAbsSpancoPrf first = contour.first_span();
    const bool has_positions = first && first->span_position() >= 0;
    for (int i = 1, n = contour.size(); i <= n; ++i) {
        const velAbsSpancoPrf span = contour.get_span(i);
        span->set_span_info(has_positions ? span->span_position() : i - 1, side);
    }
}

// Two lines from the end point a little way along the end tangent and back, labelled end cap.
void add_end_cap(velAbsContour& contour) {
    const velAbsSpancoPrf last = contour.last_span();
    if (!last) return;
    const giVector3 v = last->end_vector();
    giVector3 t(v.x(), v.y(), 0.0);
    if (t.unitize() <= velTol::coincident) return;
    const giPoint3 E = last->end_point();
    const giPoint3 out = E + velOffsetter::end_cap_length * t;
    for (const auto& [a, b] : {std::pair{E, out}, std::pair{out, E}}) {
        const velAbsSpancoPrf cap = last->create_line_span(a, b);
        cap->set_span_info(-1, velSpanSideEndCap);
        contour.append(cap);
    }
}

// The polylines of `from` appended to `to`, with their records when `to` keeps records.
void hand_over(velPolylineWithOffsetFlagsListCursor& from, velPolylineListCursor* to) {
    if (!to) return;
    if (dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(to)) {
        velPolylineListUtils::move(from, *to);
        return;
    }
    velSorterScratch::copy_all(from.iterator(), *to);
}

void remove_labels(velPolylineListCursor* list) {
    auto* records = dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(list);
    if (!records) return;
    for (records->reset(); ++*records;) {
        velPolylineListIterWithOffsetFlags* it =
            dynamic_cast<velPolylineListIterWithOffsetFlags*>(&records->iterator());
        for (int k = 0, n = records->num_pos() - 1; k < n; ++k) {
            velOffsetInfo info;
            if (it) it->get_offset_info(k, info);
            records->set_offset_flag(k, info.temporary_span, -1, velSpanSideNone);
        }
    }
}

} // namespace

int velOffsetter::side_class(int label) {
    switch (label) {
    case velSpanSideLeft:
    case velSpanSideLeftCorner:
        return 1;
    case velSpanSideRight:
    case velSpanSideRightCorner:
        return 3;
    default:
        return 4;
    }
}

velPolylineListCursor* velOffsetter::offset(velAbsContour& contour, double offset) {
    velPolylineListCursor* out = contour.create_empty_cursor();
    if (offset >= 0.0)
        this->offset(contour, offset, nullptr, out);
    else
        this->offset(contour, -offset, out, nullptr);
    return out;
}

void velOffsetter::offset(velAbsContour& contour, double d, velPolylineListCursor* left,
                          velPolylineListCursor* right) {
    if (contour.size() == 0) return;
    if (velPolylineListCursor* own = contour.get_cursor()) debug_list(own->iterator(), "input");
    if (std::fabs(d) <= no_offset) {
        for (velPolylineListCursor* to : {left, right}) {
            if (!to) continue;
            velAbsContourcoPrf copy = contour.create_new();
            if (velPolylineListCursor* c = copy->get_cursor()) velSorterScratch::copy_all(c->iterator(), *to);
        }
        return;
    }
    if (contour.is_closed()) {
        if (left) {
            label_spans(contour, velSpanSideLeft);
            offset_closed(contour, -d, *left);
        }
        if (right) {
            label_spans(contour, velSpanSideRight);
            offset_closed(contour, d, *right);
        }
        label_spans(contour, velSpanSideNone);
    } else {
        offset_open(contour, d, left, right);
    }
    if (!m_span_info) {
        remove_labels(left);
        remove_labels(right);
    }
    if (left) debug_list(left->iterator(), "left offset");
    if (right) debug_list(right->iterator(), "right offset");
}

void velOffsetter::offset_closed(velAbsContour& contour, double offset, velPolylineListCursor& out) {
    const auto sorted =
        offset_and_sort(contour, offset, contour.is_clockwise() != 0, "pre sorted closed offset");
    if (!sorted) return;
    start_at_lowest_position(*sorted);
    debug_list(sorted->iterator(), "left offset");
    hand_over(*sorted, &out);
}

void velOffsetter::offset_open(velAbsContour& contour, double d, velPolylineListCursor* left,
                               velPolylineListCursor* right) {
    velAbsContourcoPrf band = contour.create_new();
    label_spans(*band, velSpanSideRight);
    add_end_cap(*band);
    velAbsContourcoPrf back = contour.create_new();
    label_spans(*back, velSpanSideLeft);
    back->reverse();
    add_end_cap(*back);
    band->append(back);
    band->close();
    const bool inward = (band->is_clockwise() != 0) == (d > 0.0);
    const auto sorted = offset_and_sort(*band, d, inward, "pre sorted offset");
    if (!sorted) return;
    debug_list(sorted->iterator(), "post sorted offset");
    if (left) extract_side(sorted->iterator(), *left, 1 + (inward ? 1 : 0));
    if (right) extract_side(sorted->iterator(), *right, 2 - (inward ? 1 : 0));
}

std::unique_ptr<velPolylineWithOffsetFlagsListCursor>
velOffsetter::offset_and_sort(velAbsContour& contour, double offset, bool reversed, const char* name) {
    velPolyArcLineOffsetter raw_offsetter(contour, offset);
    raw_offsetter.set_span_info(1);
    raw_offsetter.set_chamfer_corners(m_chamfer_corners, m_max_corner_offset);
    int changed = 0;
    const velAbsContourcoPrf raw = raw_offsetter.offset(m_sharp_corners, 1, changed, m_delete_pars);
    if (!raw || raw->size() == 0) return nullptr;
    auto raw_list = new_records_list();
    velPolyArcLineOffsetter::append_raw(*raw, *raw_list);
    if (reversed) velPolylineListUtils::reverse_contours(*raw_list);
    debug_list(raw_list->iterator(), name);
    auto sorted = new_records_list();
    if (!m_closed_sorter) m_closed_sorter = std::make_unique<velPolylineSorter>();
    m_closed_sorter->set_progress_break(m_progress, 1);
    m_closed_sorter->sort(raw_list->iterator(), *sorted);
    m_closed_sorter->set_progress_break(nullptr);
    velSortedSpanRecords::recover(raw_list->iterator(), *sorted);
    if (reversed) velPolylineListUtils::reverse_contours(*sorted);
    return sorted;
}

void velOffsetter::start_at_lowest_position(velPolylineListCursor& list) {
    auto* records = dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(&list);
    if (!records) return;
    for (records->reset(); ++*records;) {
        const auto* it = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&records->iterator());
        if (!it || !velPolylineUtils::closed(records->iterator(), 0.0)) continue;
        int lowest = -1, at = -1;
        for (int k = 0, n = records->num_pos() - 1; k < n; ++k) {
            velOffsetInfo info;
            it->get_offset_info(k, info);
            if (info.span_position < 0 || (lowest >= 0 && info.span_position >= lowest)) continue;
            lowest = info.span_position;
            at = k;
            if (lowest == 0) break;
        }
        if (at <= 0) continue;
        const velAbsContourcoPrf contour = records->get_current();
        if (contour) contour->shift_to_start(contour->get_span(at + 1));
    }
}

void velOffsetter::extract_side(velPolylineListIter& sorted, velPolylineListCursor& out, int side) {
    const auto* records = dynamic_cast<const velPolylineListIterWithOffsetFlags*>(&sorted);
    if (!records) return;
    const int wanted = side_class(side);
    const int before = out.size();
    for (sorted.reset(); ++sorted;) {
        const int n = sorted.num_pos() - 1;
        if (n < 1) continue;
        std::vector<std::pair<int, int>> runs;
        int start = -1, run_class = 0, last_class = 0;
        auto end_run = [&](int end) {
            if (start >= 0 && run_class == wanted) runs.emplace_back(start, end);
            start = -1;
        };
        for (int k = 0; k < 2 * n; ++k) {
            velOffsetInfo info;
            records->get_offset_info(k % n, info);
            const int c = side_class(info.span_side);
            if (c == 4) {
                if (info.span_side == velSpanSideEndCap) end_run(k - 1);
                continue;
            }
            if (start >= 0 && c == run_class) continue;
            end_run(k - 1);
            start = k;
            run_class = c;
            last_class = c;
        }
        if (runs.empty()) {
            if (last_class == wanted) {
                out.create_last_polyline();
                velPolylineUtils::append(sorted, out);
            }
            continue;
        }
        // A run that ends in the first round is met again in the second, where it is taken; a run taken
        // once is not taken again when the second round meets it from its start (previous: the start of the
        // last run taken).
        int previous = -1;
        for (const auto& [s, e] : runs) {
            if (e < n - 1 || (previous >= 0 && s == previous + n)) continue;
            previous = s;
            out.create_last_polyline();
            const int s0 = s % n;
            const int e1 = e + 1 - (s - s0); // the run's end, counted from s0
            if (e1 <= n) {
                velPolylineUtils::append(sorted, s0, e1, out);
            } else {
                velPolylineUtils::append(sorted, s0, n, out);
                velPolylineUtils::append(sorted, 0, e1 - n, out);
            }
        }
    }
    if (side != 1) return;
    for (int i = before; i < out.size(); ++i) {
        out.set_index(i);
        if (const velAbsContourcoPrf c = out.get_current())
            c->reverse();
        else
            velPolylineUtils::reverse(out);
    }
}
