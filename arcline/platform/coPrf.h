#pragma once
// Reference-counted pointer with shared ownership: the object is released with its last holder, and the
// count is atomic so that holders in different threads may copy and drop it. Instantiations are named after
// the element type: velAbsSpancoPrf is a coPrf<velAbsSpan>.

#include <memory>

template <class T>
using coPrf = std::shared_ptr<T>;
