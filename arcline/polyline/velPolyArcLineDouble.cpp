#include "arcline/polyline/velPolyArcLineDouble.h"

#include "arcline/platform/utAssert.h"

IMPLEMENT_SERIAL(velPolyArcLineDouble, velAbsPolyArcLine, 1)

void velPolyArcLineDouble::Serialize(CArchive&) {
    UT_REPORT_REFUSAL("velPolyArcLineDouble::Serialize() - not implemented",
                      "velPolyArcLineDouble::Serialize");
}
