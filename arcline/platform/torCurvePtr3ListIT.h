#pragma once
// An iterator over a list of shared curves of space, as the curve kernel hands lists of curves around (the
// debug channels' pattern output takes one).

#include "arcline/platform/torCurvePtr3coDListcoIterator.h"

using torCurvePtr3ListIT = torCurvePtr3coDListcoIterator;
