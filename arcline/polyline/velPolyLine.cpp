#include "arcline/polyline/velPolyLine.h"

#include "arcline/platform/utAssert.h"

IMPLEMENT_SERIAL(velPolyLine, velAbsPolyArcLine, 1)

void velPolyLine::add_arc(const giPoint3&, const giPoint3&) {
    UT_REPORT_REFUSAL("velPolyLine::add_arc() This geometry cannot contain arcs", "velPolyLine::add_arc");
}

int velPolyLine::ok_to_add_arc(const giPoint3&, const giPoint3&) const {
    UT_REPORT_REFUSAL("velPolyLine::ok_to_add_arc() This geometry cannot contain arcs",
                      "velPolyLine::ok_to_add_arc");
    return 0;
}

int velPolyLine::ok_to_edit_mid_pos(int, const giPoint3&) const {
    UT_REPORT_REFUSAL("velPolyLine::ok_to_edi_mid_pos() This geometry cannot contain arcs",
                      "velPolyLine::ok_to_edit_mid_pos");
    return 0;
}

const giFloatArray3coPageArrcoPrf& velPolyLine::get_polygonized_points(double, int) const {
    return elements().shared();
}

void velPolyLine::Serialize(CArchive& ar) {
    serialize_triples(ar, elements(), 1, 0);
}
