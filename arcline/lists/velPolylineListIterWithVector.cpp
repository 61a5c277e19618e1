#include "arcline/lists/velPolylineListIterWithVector.h"

UT_IMPLEMENT_TYPE_ID(velPolylineListIterWithVector, velPolylineListIter, velPolylineListIter)
