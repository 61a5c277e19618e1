#pragma once
// The geometry types of a dimension, for the classes that are written once for the plane and for space (the
// zone trees): velGiDimensionalTypes<2> works in XY with giPoint2 and giBox2, velGiDimensionalTypes<3> in
// space with giPoint3 and giBox3. Each names its point and box types, the box kind that asks a list iterator
// for span boxes of that dimension, its span box cache, and converts points to and from 3D
// (convert_from_3d drops z in the plane; convert_to_3d puts a plane point at z = 0).

#include "arcline/intersect/velPolyarcline2dBoxCache.h"
#include "arcline/intersect/velPolyarcline3dBoxCache.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint2.h"
#include "arcline/platform/giPoint3.h"

template <int D>
class velGiDimensionalTypes;

template <>
class velGiDimensionalTypes<2> {
public:
    static constexpr int dimension = 2;
    using Point = giPoint2;
    using Box = giBox2;
    using BoxKind = vel2dBox;
    using BoxCache = velPolyarcline2dBoxCache;
    static constexpr BoxKind box_kind = vel_2d_box;

    static giPoint2 convert_from_3d(const giPoint3& p) { return p.xy(); }
    static giPoint3 convert_to_3d(const giPoint2& p) { return {p.x, p.y, 0.0}; }

private:
    velGiDimensionalTypes() = default;
};

template <>
class velGiDimensionalTypes<3> {
public:
    static constexpr int dimension = 3;
    using Point = giPoint3;
    using Box = giBox3;
    using BoxKind = vel3dBox;
    using BoxCache = velPolyarcline3dBoxCache;
    static constexpr BoxKind box_kind = vel_3d_box;

    static giPoint3 convert_from_3d(const giPoint3& p) { return p; }
    static giPoint3 convert_to_3d(const giPoint3& p) { return p; }

private:
    velGiDimensionalTypes() = default;
};
