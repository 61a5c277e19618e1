#include "arcline/lists/velSingleAbsArcLineListIter.h"

UT_IMPLEMENT_TYPE_ID(velSingleAbsArcLineListIter, velPolylineListIter, velPolylineListIter)
