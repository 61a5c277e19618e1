#pragma once
// A side of a BSP node's rectangle. Cut ends of pieces carry the side they lie on as their end flag.

enum velDirection {
    velDirectionTop = 0,    // maximum y
    velDirectionLeft = 1,   // minimum x
    velDirectionBottom = 2, // minimum y
    velDirectionRight = 3,  // maximum x
};
