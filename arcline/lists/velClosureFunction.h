#pragma once
// The closure function: tells whether polyline `index` of `underlying` is closed. `data` is the function's
// own (the caller keeps it alive while the function is in use). The function reads `underlying` as const:
// it must not move the caller's iterator (a function that needs to walk to the polyline walks a clone).

class velPolylineListIter;

using velClosureFunction = int (*)(const velPolylineListIter& underlying, int index, void* data);
