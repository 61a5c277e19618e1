#include "arcline/polyline/velPolyArcLine.h"

IMPLEMENT_SERIAL(velPolyArcLine, velAbsPolyArcLine, 1)

namespace {
constexpr int schema = 1;
}

void velPolyArcLine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << schema;
        velAbsPolyArcLine::Serialize(ar);
        const int count = num_pos() > 0 ? 2 * num_pos() - 1 : 0;
        for (int i = 0; i < count; ++i) {
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
    const int count = n > 0 ? 2 * n - 1 : 0;
    for (int i = 0; i < count; ++i) {
        giFloatArray3 f;
        Serialize_giFloatArray3(ar, f);
        elements().write(i, f);
    }
    invalidate_caches();
}
