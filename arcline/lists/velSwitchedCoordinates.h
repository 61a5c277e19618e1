#pragma once
// Which two coordinates velSwitchedCoordinatePolylineListIter exchanges. Each exchange is its own inverse.
// Values other than the three exchanges leave points as they are.

enum velSwitchedCoordinates {
    velSwitchXY = 0,  // (x, y, z) -> (y, x, z)
    velSwitchYZ = 1,  // (x, y, z) -> (x, z, y)
    velSwitchZX = 2,  // (x, y, z) -> (z, y, x)
    velSwitchNone = 3 // unchanged
};
