#include "arcline/intersect/velNode3.h"

#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/torPolyline3.h"

int velNode3::subsquare(const giPoint3& p) const {
    const giPoint3 c = split_point();
    return ((p.y >= c.y ? 1 : 0) ^ (p.x >= c.x ? 3 : 0)) + (p.z >= c.z ? 4 : 0);
}

void velNode3::subdivisions(const giPoint3& c, giBox3 boxes[8]) const {
    const giPoint3 lo = limits().min(), hi = limits().max();
    for (int i = 0; i < 8; ++i) {
        const int q = i & 3;
        const bool high_x = q >= 2, high_y = q == 1 || q == 2, high_z = i >= 4;
        boxes[i] = giBox3({high_x ? c.x : lo.x, high_y ? c.y : lo.y, high_z ? c.z : lo.z},
                          {high_x ? hi.x : c.x, high_y ? hi.y : c.y, high_z ? hi.z : c.z});
    }
}

void velNode3::picture(torCurvePtr3coDList& curves) const {
    if (contains_children()) {
        for (int i = 0; i < num_children; ++i)
            child(i)->picture(curves);
        return;
    }
    const giBox3& b = limits();
    coDListcoCursor<torCurvePtr3> cursor(curves);
    for (int w = 0; w < 2; ++w)
        cursor.insert_last(std::make_shared<torPolyline3>(std::vector<giPoint3>{
            b.point(0, 0, w), b.point(1, 0, w), b.point(1, 1, w), b.point(0, 1, w), b.point(0, 0, w)}));
    for (int u = 0; u < 2; ++u)
        for (int v = 0; v < 2; ++v)
            cursor.insert_last(
                std::make_shared<torPolyline3>(std::vector<giPoint3>{b.point(u, v, 0), b.point(u, v, 1)}));
}
