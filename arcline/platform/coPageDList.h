#pragma once
// The doubly linked list under the name that the lists of polylines use (a list of shared polyline pointers
// is a velAbsPolyArcLinecoDListPrgcoPrgcoDList). It is the same container as coDList.

#include "arcline/platform/coDList.h"
#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/coDListcoIterator.h"

template <class T>
using coPageDList = coDList<T>;
template <class T>
using coPageDListcoIterator = coDListcoIterator<T>;
template <class T>
using coPageDListcoCursor = coDListcoCursor<T>;
