#include "arcline/polyutils/velChamferJoin.h"

#include "arcline/polyutils/velOffsetGapCloser.h"

void velChamferJoin::add_line(const giPoint3& S, const giPoint3& E, const velAbsSpan& before,
                              const velAbsSpan& after, velAbsContour& result,
                              const velOffsetJoinSettings& settings) {
    velAbsSpancoPrf line = before.create_line_span(S, E);
    settings.dress_corner_span(*line, before, after);
    velOffsetGapCloser::add_span(line, result, settings);
}

int velChamferJoin::lines(velAbsSpan& before, velAbsSpan& after, const velCornerGeometry& corner, double max,
                          velAbsContour& result, const velOffsetJoinSettings& settings) {
    const double k = corner.chamfer_extension(max);
    const giPoint3 C1 = before.end_point() + corner.T1 * k, C2 = after.start_point() - corner.T2 * k;
    before.copy_to_end_point(C1);
    add_line(C1, C2, before, after, result, settings);
    after.copy_to_start_point(C2);
    return 1;
}

int velChamferJoin::tangent_lines(velAbsSpan& before, const velAbsSpan& after,
                                  const velCornerGeometry& corner, double max, bool chamfer,
                                  velAbsContour& result, const velOffsetJoinSettings& settings) {
    const double k = chamfer ? corner.chamfer_extension(max) : corner.extension;
    const giPoint3 C1 = before.end_point() + corner.T1 * k, C2 = after.start_point() - corner.T2 * k;
    if (before.is_of_class_arc())
        add_line(before.end_point(), C1, before, after, result, settings);
    else
        before.copy_to_end_point(C1);
    if (chamfer) add_line(C1, C2, before, after, result, settings);
    add_line(C2, after.start_point(), before, after, result, settings);
    return 1;
}
