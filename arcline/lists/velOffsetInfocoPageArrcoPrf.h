#pragma once
// The offset records of one polyline, one per span in span order, held by a shared pointer: an offset-flag
// cursor and the caller that hands it a polyline's records (set_current_flags) share one array.

#include "arcline/lists/velOffsetInfo.h"
#include "arcline/platform/coPageArr.h"
#include "arcline/platform/coPrf.h"

using velOffsetInfocoPageArr = coPageArr<velOffsetInfo>;
using velOffsetInfocoPageArrcoPrf = coPrf<velOffsetInfocoPageArr>;
