#include "arcline/polyutils/velPolyArcLineOffsetter.h"

#include "arcline/polyline/contour/velPolyArcLineAdapter.h"
#include "arcline/polyline/contour/velSpanVectorContour.h"
#include "arcline/polyline/velTolerances.h"
#include "arcline/polyutils/velChamferJoin.h"
#include "arcline/polyutils/velExtendJoin.h"
#include "arcline/polyutils/velOffsetGapCloser.h"
#include "arcline/polyutils/velOffsetValidity.h"
#include "arcline/polyutils/velRawPolyArcLineOffset.h"
#include "arcline/polyutils/velRoundJoin.h"
#include "arcline/polyutils/velSpanOffset.h"
#include "arcline/polyutils/velTrimJoin.h"

#include <cmath>
#include <memory>

velPolyArcLineOffsetter::velPolyArcLineOffsetter(velAbsContour& contour, double offset)
    : m_contour(contour), m_offset(offset), m_tol(velTol::offset_join_fraction * std::fabs(offset)) {}

void velPolyArcLineOffsetter::set_chamfer_corners(int on, double max_corner_offset) {
    m_chamfer_corners = on;
    m_max_corner_offset = max_corner_offset;
}

velOffsetJoinSettings velPolyArcLineOffsetter::settings(int keep_order) const {
    velOffsetJoinSettings s;
    s.offset = m_offset;
    s.tol = m_tol;
    s.span_info = m_span_info;
    s.keep_order = keep_order;
    return s;
}

int velPolyArcLineOffsetter::is_offsetting_required(velAbsContourcoPrf& result) const {
    if (std::fabs(m_offset) <= velTol::offset_zero || m_contour.size() == 0) {
        result = m_contour.create_new();
        return 0;
    }
    if (velOffsetValidity::vanishes(m_contour, m_offset)) {
        result.reset();
        return 0;
    }
    return 1;
}

namespace {

// A contour of the kind of `kind` (its clone()) holding `spans` in order: a vector contour is `spans`
// itself; any other kind receives the spans through append (which refuses what the kind cannot hold).
velAbsContourcoPrf of_kind(const velAbsContour& kind, std::shared_ptr<velSpanVectorContour> spans) {
    if (dynamic_cast<const velSpanVectorContour*>(&kind)) return spans;
    velAbsContourcoPrf out = kind.clone();
    for (const velAbsSpancoPrf& span : spans->spans())
        out->append(span);
    return out;
}

} // namespace

velAbsContourcoPrf velPolyArcLineOffsetter::offset(int extend, int set, int& changed, int keep_order) {
    changed = 0;
    // The spans of a poly-arc-line carry no offsetting properties (every one is offset, whatever the set
    // and keep_order): the offset is made on values, which also tells vanishing itself.
    const auto* polyarcline = dynamic_cast<const velPolyArcLineAdapter*>(&m_contour);
    if (polyarcline && std::fabs(m_offset) > velTol::offset_zero && m_contour.size() > 0) {
        velRawPolyArcLineOffset::Settings raw;
        raw.joins.offset = m_offset;
        raw.joins.tol = m_tol;
        raw.joins.chamfer = m_chamfer_corners;
        raw.joins.max_corner_offset = m_max_corner_offset;
        raw.joins.span_info = m_span_info;
        raw.extend = extend;
        return velRawPolyArcLineOffset::offset(*polyarcline, raw, changed);
    }
    velAbsContourcoPrf settled;
    if (!is_offsetting_required(settled)) return settled;

    const velAbsContour& in = m_contour;
    const velOffsetJoinSettings join_settings = settings(keep_order);
    const double ctol = m_contour.get_tol();
    const int n = in.size();
    auto result = std::make_shared<velSpanVectorContour>();
    result->reserve_spans(2 * n + 1);

    velAbsSpancoPrf prev_in;
    int prev_should = 0, first_should = 0;
    for (int i = 1; i <= n; ++i) {
        const velAbsSpancoPrf cur_in = in.get_span(i);
        const int should = cur_in->should_span_be_offset(set);
        velAbsSpancoPrf cur_off;
        if (should) {
            cur_off = velSpanOffset::offset_span(m_offset, ctol, m_span_info, *cur_in);
            if (cur_off && keep_order) cur_off->delete_properties_keeping_order();
        } else {
            cur_off = cur_in->create_new();
        }
        const int join = prev_in && should && prev_should;
        trim_extend_or_offset(extend, *result, result->last_span(), cur_off, join, prev_in, cur_in,
                              join_settings);
        velOffsetGapCloser::add_span(cur_off, *result, join_settings);
        changed |= should;
        if (i == 1) first_should = should;
        prev_in = cur_in;
        prev_should = should;
    }
    if (result->size() > 0 && in.is_closed()) {
        const int join = prev_should && first_should;
        trim_extend_or_offset(extend, *result, result->last_span(), result->first_span(), join,
                              in.last_span(), in.first_span(), join_settings);
        if (!result->is_closed()) result->close();
    }
    result->clean(velTol::span_fraction);
    if (result->size() == 0) return {};
    return of_kind(m_contour, std::move(result));
}

void velPolyArcLineOffsetter::trim_extend_or_offset(int extend, velAbsContour& result,
                                                    const velAbsSpancoPrf& prev_off,
                                                    const velAbsSpancoPrf& cur_off, int join,
                                                    const velAbsSpancoPrf& prev_in,
                                                    const velAbsSpancoPrf& cur_in,
                                                    const velOffsetJoinSettings& settings) const {
    if (!prev_off) {
        if (join && prev_in && cur_in)
            velRoundJoin::join(prev_in, cur_in, prev_off, cur_off, result, settings);
        return;
    }
    // (A result of one span meets itself at the closing point: only a rounded corner applies there.)
    if (cur_off && cur_off != prev_off) {
        // Temporary lines stand for collapsed arcs: their crossings with neighbours mean nothing.
        if (m_contour.size() > 2 && !prev_off->is_temp_line_span() && !cur_off->is_temp_line_span() &&
            velTrimJoin::join(prev_off, cur_off))
            return;
        if (extend && extend_spans(prev_off, cur_off, result, settings)) return;
    }
    if (join) velRoundJoin::join(prev_in, cur_in, prev_off, cur_off, result, settings);
}

int velPolyArcLineOffsetter::extend_spans(const velAbsSpancoPrf& prev_off, const velAbsSpancoPrf& cur_off,
                                          velAbsContour& result,
                                          const velOffsetJoinSettings& settings) const {
    if (prev_off->is_raster_span() || cur_off->is_raster_span()) return 0;
    if (!velCornerGeometry::convex(prev_off->end_vector(), cur_off->start_vector(), m_offset)) return 0;
    if (prev_off->is_of_class_line() && cur_off->is_of_class_line())
        return find_intersection_of_lines(prev_off, cur_off, result, settings);
    return find_intersection_with_arcs(prev_off, cur_off, result, settings);
}

int velPolyArcLineOffsetter::chamfers(const velAbsSpan& prev_off, const velAbsSpan& cur_off) const {
    // A corner beside a temporary span (a collapsed arc) lies on a loop that the sorter cuts away; a chamfer
    // there would fold back across the material and leave a loop of the wrong sense, so it is joined sharp.
    auto temporary = [](const velAbsSpan& s) { return s.is_temp_line_span() || s.is_temp_arc_span(); };
    return m_chamfer_corners && !temporary(prev_off) && !temporary(cur_off);
}

int velPolyArcLineOffsetter::find_intersection_of_lines(const velAbsSpancoPrf& prev_off,
                                                        const velAbsSpancoPrf& cur_off, velAbsContour& result,
                                                        const velOffsetJoinSettings& settings) const {
    const velCornerGeometry corner(prev_off->end_vector(), cur_off->start_vector(), m_offset);
    if (corner.degenerate()) return 0;
    const double max = m_max_corner_offset;
    if (!chamfers(*prev_off, *cur_off) || max < 0.0 || corner.corner_distance <= max)
        return velExtendJoin::lines(*prev_off, *cur_off, corner);
    // Not even a chamfer reaches within max of the input corner: round it.
    if (std::fabs(m_offset) > max) return 0;
    return velChamferJoin::lines(*prev_off, *cur_off, corner, max, result, settings);
}

int velPolyArcLineOffsetter::find_intersection_with_arcs(const velAbsSpancoPrf& prev_off,
                                                         const velAbsSpancoPrf& cur_off,
                                                         velAbsContour& result,
                                                         const velOffsetJoinSettings& settings) const {
    const velCornerGeometry corner(prev_off->end_vector(), cur_off->start_vector(), m_offset);
    if (corner.degenerate()) return 0;
    const double max = m_max_corner_offset;
    if (!chamfers(*prev_off, *cur_off) || max < 0.0) return velExtendJoin::along_circles(prev_off, cur_off);
    if (std::fabs(m_offset) > max) return 0;
    return velChamferJoin::tangent_lines(*prev_off, *cur_off, corner, max, corner.corner_distance > max,
                                         result, settings);
}
