// velOffsetter: settings, region offsets (frame, nesting tree, branches), the sort of raw offsets, bands.

#include "arcline/polyutils/velOffsetter.h"

#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velAbsPolyArcLineListCursor.h"
#include "arcline/lists/velPolylineWithOffsetFlagsListCursor.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/platform/velProgressBreak.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolyArcLineOffsetter.h"
#include "arcline/polyutils/velPolylineListUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "arcline/polyutils/velSortedSpanRecords.h"
#include "arcline/polyutils/velSorterScratch.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

velOffsetter::SorterFunc velOffsetter::s_sorter_func = nullptr;
void* velOffsetter::s_sorter_data = nullptr;

namespace {

velDebugGeometry& channel() {
    static velDebugGeometry& dbg = velDebugGeometry::get_from_manager("veloffsetter");
    return dbg;
}

void debug_list(const velPolylineListIter& list, const char* name) {
    if (channel().active(2)) channel().copy_iter(list, name, 2);
}

// A new empty list of poly-arc-lines that keeps the offsetters' span records.
std::unique_ptr<velPolylineWithOffsetFlagsListCursor> new_records_list() {
    return std::make_unique<velPolylineWithOffsetFlagsListCursor>(utPtrClaim(),
                                                                  new velAbsPolyArcLineListCursor());
}

// Appends polyline `index` of `in` to `out`.
void copy_polyline(velPolylineListIter& in, int index, velPolylineListCursor& out) {
    in.set_index(index);
    out.create_last_polyline();
    velPolylineUtils::append(in, out);
}

// Appends the rectangle of `box` (anticlockwise, at its lowest z) to `list`.
void add_frame(velPolylineListCursor& list, const giBox3& box) {
    velAbsPolyArcLineListCursor frame;
    frame.create_last_polyline();
    velAbsPolyArcLine* p = frame.current_polyarcline();
    const double z = box.min().z;
    p->add_pos(giPoint3(box.min().x, box.min().y, z));
    p->add_pos(giPoint3(box.max().x, box.min().y, z));
    p->add_pos(giPoint3(box.max().x, box.max().y, z));
    p->add_pos(giPoint3(box.min().x, box.max().y, z));
    p->add_pos(giPoint3(box.min().x, box.min().y, z));
    velSorterScratch::copy_all(frame.iterator(), list);
}

// The open polyline `in` as a closed loop there and back along it, lengthened at each end by
// min(0.01 |offset|, 0.3 |E - S|) along its end tangents (by a short line), anticlockwise when it is not
// flat: its offset is a band with round ends. 0, writing nothing, for a polyline without spans.
int there_and_back(velPolylineListIter& in, double distance, velPolylineListCursor& out) {
    const int n = in.num_pos() - 1;
    if (n < 1) return 0;
    const velAbsContourcoPrf contour = velPolyArcLineOffsetter::current_contour(in);
    const giPoint3 S = in.get_pos(0), E = in.get_pos(n);
    const double ext = std::min(0.01 * distance, 0.3 * (E - S).length());
    const giVector3 vs = contour->first_span()->start_vector(), ve = contour->last_span()->end_vector();
    giVector3 ts(vs.x(), vs.y(), 0.0), te(ve.x(), ve.y(), 0.0);
    const bool extend = ext > 0.0 && ts.unitize() > velTol::coincident && te.unitize() > velTol::coincident;
    velAbsPolyArcLineListCursor loop;
    loop.create_last_polyline();
    velAbsPolyArcLine* p = loop.current_polyarcline();
    auto forward = [&]() {
        for (int k = 0; k < n; ++k) {
            if (in.span_linear(k))
                p->add_pos(in.get_pos(k + 1));
            else
                p->add_arc(in.get_mid_pos(k), in.get_pos(k + 1));
        }
    };
    auto backward = [&]() {
        for (int k = n - 1; k >= 0; --k) {
            if (in.span_linear(k))
                p->add_pos(in.get_pos(k));
            else
                p->add_arc(in.get_mid_pos(k), in.get_pos(k));
        }
    };
    const giPoint3 before = extend ? S - ext * ts : S;
    const giPoint3 after = extend ? E + ext * te : E;
    p->add_pos(before);
    if (extend) p->add_pos(S);
    forward();
    if (extend) {
        p->add_pos(after);
        p->add_pos(E);
    }
    backward();
    if (extend) p->add_pos(before);
    if (velPolylineUtils::area(loop.iterator()) < -velTol::clockwise_area) p->reverse();
    velSorterScratch::copy_all(loop.iterator(), out);
    return 1;
}

} // namespace

velOffsetter::velOffsetter() : m_sorter(std::make_unique<velPolylineSorter>()) {}

velOffsetter::~velOffsetter() = default;

void velOffsetter::set_offset_properties(velAbsSpancoPrf span) {
    m_offset_properties = span && span->offsetting_property_set_exists() ? std::move(span) : nullptr;
}

void velOffsetter::set_sorter(SorterFunc func, void* data) {
    s_sorter_func = func;
    s_sorter_data = data;
}

velPolylineListCursor* velOffsetter::offset_using_voronoi(velPolylineListIter& in,
                                                          velPolylineListIter& /*in2*/, double offset,
                                                          int keep_order) {
    int changed = 0;
    return polyarcline_offset(in, offset, 0, m_span_offset_flag, changed, keep_order, 0);
}

int velOffsetter::interrupted() const {
    return m_progress && m_progress->check();
}

int velOffsetter::has_offset_property_set(int set) const {
    return m_offset_properties && m_offset_properties->offsetting_property_set_exists() &&
           (set != 0 || m_offset_properties->non_empty_offsetting_property_set_exists());
}

// --- Regions

void velOffsetter::offset(velPolylineListIter& in, velPolylineListCursor& out, double offset) {
    std::unique_ptr<velPolylineListCursor> copy(out.create_empty());
    velSorterScratch::copy_all(in, *copy);
    this->offset(*copy, out, offset);
}

void velOffsetter::offset(velPolylineListCursor& in, velPolylineListCursor& out, double offset) {
    out.clear();
    if (std::fabs(offset) < no_offset || in.size() == 0) {
        velSorterScratch::copy_all(in.iterator(), out);
        return;
    }
    const bool positive = offset > 0.0;
    const int largest = velPolylineListUtils::largest_area(in.iterator());
    bool outer_cw = false;
    if (largest >= 0) {
        in.set_index(largest);
        outer_cw = in.num_pos() > 1 && velPolylineUtils::area(in.iterator()) < 0.0;
    }
    // To grow the material the region is reversed (outer boundaries become holes of the plane) and, when
    // its largest boundary does not then run anticlockwise, put inside a frame: the sorter then always
    // shrinks material, and the frame's offset is dropped at the end.
    if (positive) velPolylineListUtils::reverse_contours(in);
    const bool framed = positive != outer_cw;
    const int frame_index = in.size();
    if (framed) {
        giBox3 box = velPolylineListUtils::box(in.iterator(), vel_3d_box);
        const double extent = std::max(box.max().x - box.min().x, box.max().y - box.min().y);
        const double margin =
            m_sharp_corners
                ? frame_margin_sharp
                : std::max({3.0 * std::fabs(offset), frame_margin_min, frame_margin_fraction * extent});
        box = giBox3(box.min() - giVector3(margin, margin, 0.0), box.max() + giVector3(margin, margin, 0.0));
        add_frame(in, box);
    }

    intNaryTree tree;
    m_sorter->nesting_tree(in.iterator(), 1, tree);
    tree.Root();
    for (int i = 0; i < tree.NumOffspring(); ++i) {
        tree.Down(i);
        offset_sort_branch(tree, in, out, offset, m_sharp_corners, m_span_offset_flag, m_delete_pars);
        tree.Up();
        if (interrupted()) break;
    }

    if (framed) {
        const int frame_offset = velPolylineListUtils::largest_area(out.iterator());
        if (frame_offset >= 0) {
            out.set_index(frame_offset);
            out.remove();
        }
        in.set_index(frame_index);
        in.remove();
    }
    if (positive) {
        velPolylineListUtils::reverse_contours(out);
        velPolylineListUtils::reverse_contours(in);
    }
}

void velOffsetter::offset_sort_branch(intNaryTree& branch, velPolylineListCursor& in,
                                      velPolylineListCursor& out, double offset, int extend, int set,
                                      int keep_order) {
    std::unique_ptr<velPolylineListCursor> boundary(in.create_empty());
    copy_polyline(in.iterator(), branch.Read(), *boundary);
    for (int i = 0; i < branch.NumOffspring(); ++i) {
        branch.Down(i);
        copy_polyline(in.iterator(), branch.Read(), *boundary);
        branch.Up();
    }
    std::unique_ptr<velPolylineListCursor> result(out.create_empty());
    offset_sort(*boundary, *result, offset, -std::fabs(offset), extend, set, keep_order);
    velPolylineListUtils::move(*result, out);
    for (int i = 0; i < branch.NumOffspring(); ++i) {
        branch.Down(i);
        for (int j = 0; j < branch.NumOffspring(); ++j) {
            branch.Down(j);
            offset_sort_branch(branch, in, out, offset, extend, set, keep_order);
            branch.Up();
        }
        branch.Up();
    }
}

void velOffsetter::offset_sort(velPolylineListCursor& in, velPolylineListCursor& out, double offset1,
                               double offset2, int extend, int set, int keep_order) {
    debug_list(in.iterator(), "Input");
    double stage = 0.0;
    if (is_progress_reporting()) {
        stage = m_progress->remove_stage();
        m_progress->next_stage(0.399 * stage);
    }
    if (has_offset_property_set(set) &&
        ((offset1 < 0.0 && offset2 < 0.0) || is_positive_sausage_offset_allowed())) {
        int changed = 0;
        sausage_offset(in.iterator(), out, offset2, extend, set, changed, keep_order, 1);
    } else {
        int changed = 0;
        std::unique_ptr<velPolylineListCursor> raw(polyarcline_or_voronoi_offset(
            in.iterator(), in.iterator(), offset2, extend, set, changed, keep_order, 0));
        if (interrupted()) return;
        if (is_progress_reporting()) m_progress->next_stage(0.599 * stage);
        if (raw) {
            sort(raw->iterator(), out);
            if (m_order_properties) update_order_nodes(out);
        }
    }
    debug_list(out.iterator(), "Output");
}

velPolylineListCursor* velOffsetter::polyarcline_or_voronoi_offset(velPolylineListIter& in,
                                                                   velPolylineListIter& in2, double offset,
                                                                   int extend, int set, int& changed,
                                                                   int keep_order, int split) {
    if ((split == 1 || !has_offset_property_set(set)) && extend == 0 && m_voronoi_permitted &&
        is_voronoi_available() && std::fabs(offset) >= voronoi_min_offset) {
        changed = 1;
        return offset_using_voronoi(in, in2, offset, keep_order);
    }
    return polyarcline_offset(in, offset, extend, set, changed, keep_order, split);
}

velPolylineListCursor* velOffsetter::polyarcline_offset(velPolylineListIter& in, double offset, int extend,
                                                        int set, int& changed, int keep_order, int split) {
    changed = 0;
    if (is_progress_reporting()) m_progress->set_range(in.size());
    std::unique_ptr<velPolylineWithOffsetFlagsListCursor> out;
    for (in.reset(); ++in;) {
        const velAbsContourcoPrf contour = velPolyArcLineOffsetter::current_contour(in);
        if (!split && m_offset_properties) contour->set_offsetting_pars(*m_offset_properties);
        velPolyArcLineOffsetter raw_offsetter(*contour, offset);
        raw_offsetter.set_span_info(1);
        raw_offsetter.set_chamfer_corners(m_chamfer_corners, m_max_corner_offset);
        int part_changed = 0;
        const velAbsContourcoPrf raw = raw_offsetter.offset(extend, set, part_changed, keep_order);
        if (!raw || raw->size() == 0) {
            changed = 1;
        } else {
            if (!out) out = new_records_list();
            velPolyArcLineOffsetter::append_raw(*raw, *out);
            changed |= part_changed;
        }
        if (is_progress_reporting()) m_progress->increment();
        if (m_progress && m_progress->check()) return nullptr;
    }
    if (!out || out->size() == 0) return nullptr;
    return out.release();
}

void velOffsetter::sort(velPolylineListIter& in, velPolylineListCursor& out) {
    if (s_sorter_func) {
        s_sorter_func(1, s_sorter_data, in, out);
    } else {
        m_sorter->set_visible_mode(1);
        m_sorter->set_progress_break(m_progress, m_no_report);
        m_sorter->sort(in, out);
        m_sorter->set_progress_break(nullptr);
    }
    if (interrupted()) {
        out.clear();
        return;
    }
    if (m_span_info) {
        if (auto* records = dynamic_cast<velPolylineWithOffsetFlagsListCursor*>(&out))
            velSortedSpanRecords::recover(in, *records);
    }
    velPolylineListUtils::remove_arc_span_temp_state(out);
    progress_report_stage_done();
}

void velOffsetter::progress_report_stage_done() {
    if (!is_progress_reporting()) return;
    m_progress->next_stage(0.01);
    m_progress->set_range(1000);
    m_progress->increment();
}

// --- Bands

void velOffsetter::sausage_offset(velPolylineListIter& in, velPolylineListCursor& out, double offset,
                                  int extend, int set, int& changed, int keep_order, int reverse) {
    changed = 0;
    std::unique_ptr<velPolylineListCursor> pieces(out.create_empty());
    std::unique_ptr<velPolylineListCursor> kept(out.create_empty());
    if (m_offset_properties)
        split_polyline_list(in, *pieces, *kept, set);
    else
        velSorterScratch::copy_all(in, *pieces);
    if (is_progress_reporting()) m_progress->set_range(2 * pieces->size() + 1);

    std::unique_ptr<velPolylineListCursor> collected(out.create_empty());
    const double distance = std::fabs(offset);
    for (int k = 0; k < pieces->size(); ++k) {
        pieces->set_index(k);
        std::unique_ptr<velPolylineListCursor> loop(out.create_empty());
        const bool open = !velPolylineUtils::closed(pieces->iterator(), 0.0);
        double used = offset;
        if (open) {
            if (!there_and_back(pieces->iterator(), distance, *loop)) continue;
            used = distance;
        } else {
            loop->create_last_polyline();
            velPolylineUtils::append(pieces->iterator(), *loop);
        }
        int part_changed = 0;
        std::unique_ptr<velPolylineListCursor> raw(polyarcline_or_voronoi_offset(
            loop->iterator(), pieces->iterator(), used, extend, set, part_changed, keep_order, 1));
        if (is_progress_reporting()) m_progress->increment();
        if (!raw) {
            changed = 1;
        } else if (open) {
            std::unique_ptr<velPolylineListCursor> sorted(out.create_empty());
            sort(raw->iterator(), *sorted);
            if (reverse) velPolylineListUtils::reverse_contours(*sorted);
            velPolylineListUtils::move(*sorted, *collected);
        } else {
            velSorterScratch::copy_all(raw->iterator(), *collected);
        }
        if (part_changed) changed = 1;
        if (is_progress_reporting()) m_progress->increment();
    }
    out.clear();
    sort(collected->iterator(), out);
    if (m_order_properties) update_order_nodes(out);
    progress_report_stage_done();
}

// --- Offsetting properties: spans of this library are all offset, so every polyline is one piece.

void velOffsetter::split_polyline_list(velPolylineListIter& in, velPolylineListCursor& offset_pieces,
                                       velPolylineListCursor& kept_pieces, int set) {
    for (in.reset(); ++in;) {
        if (const velAbsContourcoPrf contour = in.get_current(); contour && m_offset_properties)
            contour->set_offsetting_pars(*m_offset_properties);
        split_polyline(in, offset_pieces, kept_pieces, set);
    }
    if (m_multiple_offset_mode) transfer_to_offset_all(kept_pieces, offset_pieces);
}

void velOffsetter::split_polyline(velPolylineListIter& in, velPolylineListCursor& offset_pieces,
                                  velPolylineListCursor& kept_pieces, int set) {
    // Maximal runs of spans that are offset under `set`, and runs that are not.
    const int n = in.num_pos() - 1;
    if (n < 1) return;
    const velAbsContourcoPrf contour = velPolyArcLineOffsetter::current_contour(in);
    std::vector<int> offset_span(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        offset_span[static_cast<std::size_t>(k)] =
            contour->get_span(k + 1)->should_span_be_offset(set) ? 1 : 0;
    int start = 0;
    for (int k = 1; k <= n; ++k) {
        if (k < n && offset_span[static_cast<std::size_t>(k)] == offset_span[static_cast<std::size_t>(start)])
            continue;
        velPolylineListCursor& to =
            offset_span[static_cast<std::size_t>(start)] ? offset_pieces : kept_pieces;
        to.create_last_polyline();
        velPolylineUtils::append(in, start, k, to);
        start = k;
    }
}

void velOffsetter::transfer_to_offset_all(velPolylineListCursor& kept, velPolylineListCursor& offset_pieces) {
    velPolylineListUtils::move(kept, offset_pieces);
}

void velOffsetter::update_order_nodes(velPolylineListCursor& list) {
    if (!m_order_properties) return;
    for (list.reset(); ++list;) {
        const velAbsContourcoPrf contour = list.get_current();
        if (!contour) continue;
        contour->set_order_properties(*m_order_properties);
    }
}
