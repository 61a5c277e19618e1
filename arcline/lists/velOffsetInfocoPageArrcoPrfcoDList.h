#pragma once
// The offset records of a list of polylines: one array per polyline, in list order, kept beside the list
// by velPolylineWithOffsetFlagsListCursor and read by velPolylineWithOffsetFlagsListIter. A null array is a
// polyline without records.

#include "arcline/lists/velOffsetInfocoPageArrcoPrf.h"
#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/coDListcoIterator.h"

using velOffsetInfocoPageArrcoPrfcoDList = coDList<velOffsetInfocoPageArrcoPrf>;
using velOffsetInfocoPageArrcoPrfcoDListcoIterator = coDListcoIterator<velOffsetInfocoPageArrcoPrf>;
using velOffsetInfocoPageArrcoPrfcoDListcoCursor = coDListcoCursor<velOffsetInfocoPageArrcoPrf>;
