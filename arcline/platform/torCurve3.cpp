#include "arcline/platform/torCurve3.h"

#include "arcline/platform/torTrimmedCurve3.h"

torCurvePtr3 torCurve3::subcurve(double t0, double t1) const {
    return std::make_shared<torTrimmedCurve3>(shared_from_this(), t0, t1);
}
