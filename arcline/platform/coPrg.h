#pragma once
// The shared pointer kept in lists of polylines. Same ownership rules as coPrf; a distinct name so that the
// list instantiations read as they do elsewhere (velAbsPolyArcLinecoDListPrgcoPrgcoDList).

#include <memory>

template <class T>
using coPrg = std::shared_ptr<T>;
