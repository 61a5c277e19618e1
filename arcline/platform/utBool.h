#pragma once
// The library's truth value: an int holding 1 or 0, as its tests and results are. Arrays of flags hold
// utBool rather than bool so that they are plain arrays whose elements can be referenced.

using utBool = int;
