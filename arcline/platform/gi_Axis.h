#pragma once
// The coordinate axes, from which unit vectors can be made.

enum gi_Axis { giAxisX = 0, giAxisY = 1, giAxisZ = 2 };
