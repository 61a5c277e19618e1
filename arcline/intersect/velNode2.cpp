#include "arcline/intersect/velNode2.h"

#include "arcline/platform/coDListcoCursor.h"
#include "arcline/platform/torPolyline3.h"

int velNode2::subsquare(const giPoint3& p) const {
    const giPoint2 c = split_point();
    return (p.y >= c.y ? 1 : 0) ^ (p.x >= c.x ? 3 : 0);
}

void velNode2::subdivisions(const giPoint2& c, giBox2 boxes[4]) const {
    const giPoint2 lo = limits().min(), hi = limits().max();
    boxes[0] = giBox2(lo, c);
    boxes[1] = giBox2({lo.x, c.y}, {c.x, hi.y});
    boxes[2] = giBox2(c, hi);
    boxes[3] = giBox2({c.x, lo.y}, {hi.x, c.y});
}

void velNode2::picture(torCurvePtr3coDList& curves) const {
    if (contains_children()) {
        for (int i = 0; i < num_children; ++i)
            child(i)->picture(curves);
        return;
    }
    const giPoint2 lo = limits().min(), hi = limits().max();
    coDListcoCursor<torCurvePtr3> cursor(curves);
    cursor.insert_last(std::make_shared<torPolyline3>(std::vector<giPoint3>{
        {lo.x, lo.y, 0.0}, {hi.x, lo.y, 0.0}, {hi.x, hi.y, 0.0}, {lo.x, hi.y, 0.0}, {lo.x, lo.y, 0.0}}));
}
