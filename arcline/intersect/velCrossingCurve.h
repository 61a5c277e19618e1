#pragma once
// Which of the two curves of a crossing "starts" there: the one the traced boundary continues on. The
// values are part of the record: dumps and the sorter test them by value.

enum velCrossingCurve {
    velCrossingCurve1 = -3,       // curve 1 (index1, param1)
    velCrossingCurve2 = -2,       // curve 2 (index2, param2)
    velCrossingCurveUnknown = -1, // not decided (the local directions did not tell)
};
