#include "arcline/polyline/velPolyLineDouble.h"

#include "arcline/platform/utAssert.h"

IMPLEMENT_SERIAL(velPolyLineDouble, velAbsPolyArcLine, 1)

void velPolyLineDouble::add_arc(const giPoint3&, const giPoint3&) {
    UT_REPORT_REFUSAL("velPolyLine::add_arc() This geometry cannot contain arcs",
                      "velPolyLineDouble::add_arc");
}

int velPolyLineDouble::ok_to_add_arc(const giPoint3&, const giPoint3&) const {
    UT_REPORT_REFUSAL("velPolyLineDouble::ok_to_add_arc() This geometry cannot contain arcs",
                      "velPolyLineDouble::ok_to_add_arc");
    return 0;
}

int velPolyLineDouble::ok_to_edit_mid_pos(int, const giPoint3&) const {
    UT_REPORT_REFUSAL("velPolyLineDouble::ok_to_edit_mid_pos() This geometry cannot contain arcs",
                      "velPolyLineDouble::ok_to_edit_mid_pos");
    return 0;
}

void velPolyLineDouble::Serialize(CArchive&) {
    UT_REPORT_REFUSAL("Do not want to serialise velPolyLineDouble", "velPolyLineDouble::Serialize");
}
