#include "arcline/polyline/velPolyLine.h"

#include "arcline/platform/utAssert.h"

IMPLEMENT_SERIAL(velPolyLine, velAbsPolyArcLine, 1)

namespace {
constexpr int schema = 1;
}

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
    if (ar.IsStoring()) {
        ar << schema;
        velAbsPolyArcLine::Serialize(ar);
        for (int i = 0; i < num_pos(); ++i) {
            giFloatArray3 f = elements().read(i);
            Serialize_giFloatArray3(ar, f);
        }
        return;
    }
    int word = 0;
    ar >> word;
    if (word != schema) AfxThrowArchiveException(CArchiveException::badSchema);
    velAbsPolyArcLine::Serialize(ar);
    const int n = num_pos();
    elements().reset(compute_page_factor(n));
    for (int i = 0; i < n; ++i) {
        giFloatArray3 f;
        Serialize_giFloatArray3(ar, f);
        elements().write(i, f);
    }
    invalidate_caches();
}
