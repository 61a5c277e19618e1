#pragma once
// A point of the plane for debug geometry documents. Documents hold 3D geometry; a P2 stands for the point
// (x, y, 0), and converts to a P3 wherever one is asked for.

namespace lumet {

struct P2 {
    double x = 0.0;
    double y = 0.0;

    constexpr P2() = default;
    constexpr P2(double px, double py) : x(px), y(py) {}

    constexpr bool operator==(const P2&) const = default;
};

} // namespace lumet
