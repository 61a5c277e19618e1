#include "arcline/polyutils/velTrimJoin.h"

#include "arcline/polyline/velTolerances.h"

int velTrimJoin::join(const velAbsSpancoPrf& before, const velAbsSpancoPrf& after) {
    double t_before[2], t_after[2];
    if (before->intersect(after, t_before, t_after, 2) == 1 && t_before[0] != 0.0 && t_after[0] != 1.0) {
        const int cut_after = after->trim(t_after[0], 1.0);
        const int cut_before = before->trim(0.0, t_before[0]);
        if (cut_after || cut_before) return 1;
    }
    if (before->is_raster_span()) after->move_start_pt_normal(velTol::span_fraction);
    if (after->is_raster_span()) before->move_end_pt_normal(-velTol::span_fraction);
    return 0;
}
