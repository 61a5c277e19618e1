#include "arcline/polyline/utils/velPolylineLink.h"

double velPolylineLink::length() const {
    return end().point().distance(start().point());
}
