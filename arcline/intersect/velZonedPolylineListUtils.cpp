#include "arcline/intersect/velZonedPolylineListUtils.h"

#include "arcline/intersect/velZoneCloseFragments.h"
#include "arcline/intersect/velZoneNearestSearch.h"

#include <cfloat>

// ---------------------------------------------------------------------------------------------------------
// Closest points

velPolylinePosition velZonedPolylineListUtils::closest_point(const giPoint3& point,
                                                             const velPolylineListIter& iter,
                                                             const velPolylineListZoneNode<3>& zones) {
    double distance;
    return closest_point(point, iter, zones, distance);
}

velPolylinePosition velZonedPolylineListUtils::closest_point(const giPoint3& point,
                                                             const velPolylineListIter& iter,
                                                             const velPolylineListZoneNode<3>& zones,
                                                             double& distance) {
    distance = DBL_MAX;
    int index = -1;
    double t = -1.0;
    if (!velZoneNearestSearch<3>::nearest_on_list(zones, point, index, t, distance)) return {};
    return {&iter, index, t};
}

velPolylinePosition velZonedPolylineListUtils::closest_point_2d(const giPoint2& point,
                                                                const velFlattenedPolylineListIter& iter,
                                                                const velPolylineListZoneNode<2>& zones) {
    double distance;
    return closest_point_2d(point, iter, zones, distance);
}

velPolylinePosition velZonedPolylineListUtils::closest_point_2d(const giPoint2& point,
                                                                const velFlattenedPolylineListIter& iter,
                                                                const velPolylineListZoneNode<2>& zones,
                                                                double& distance) {
    distance = DBL_MAX;
    int index = -1;
    double t = -1.0;
    if (!velZoneNearestSearch<2>::nearest_on_list(zones, point.xyz(iter.z_level()), index, t, distance))
        return {};
    return {&iter, index, t};
}

double velZonedPolylineListUtils::single_polyline_closest_point(const giPoint3& point,
                                                                const velPolylineListIter& iter,
                                                                const velPolylineZoneNode<3>& zones) {
    double distance;
    return single_polyline_closest_point(point, iter, zones, distance);
}

double velZonedPolylineListUtils::single_polyline_closest_point(const giPoint3& point,
                                                                const velPolylineListIter& iter,
                                                                const velPolylineZoneNode<3>& zones,
                                                                double& distance) {
    distance = DBL_MAX;
    double t = -1.0;
    if (iter.undefined() || iter.num_pos() == 0) return t;
    velZoneNearestSearch<3>::nearest_on_polyline(zones, iter, point, t, distance);
    return t;
}

double velZonedPolylineListUtils::single_polyline_closest_point_2d(const giPoint2& point,
                                                                   const velFlattenedPolylineListIter& iter,
                                                                   const velPolylineZoneNode<2>& zones) {
    double distance;
    return single_polyline_closest_point_2d(point, iter, zones, distance);
}

double velZonedPolylineListUtils::single_polyline_closest_point_2d(const giPoint2& point,
                                                                   const velFlattenedPolylineListIter& iter,
                                                                   const velPolylineZoneNode<2>& zones,
                                                                   double& distance) {
    distance = DBL_MAX;
    double t = -1.0;
    if (iter.undefined() || iter.num_pos() == 0) return t;
    velZoneNearestSearch<2>::nearest_on_polyline(zones, iter, point.xyz(iter.z_level()), t, distance);
    return t;
}

// ---------------------------------------------------------------------------------------------------------
// Free parameters

namespace {

// The first span of the current polyline of `iter` with a part left free by `remove` (which takes the span
// and its fragments), and the middle of that span's longest free stretch; -1.0 when there is none.
template <class Remove>
double first_free_parameter(const velPolylineListIter& iter, Remove&& remove) {
    const int n = iter.undefined() ? 0 : iter.num_pos();
    for (int j = 0; j + 1 < n; ++j) {
        if (iter.get_pos(j).coincident(iter.get_pos(j + 1), velZonedPolylineListUtils::zero_span_length))
            continue;
        velAbstractFragments free;
        free.append(0.0, 1.0);
        remove(j, free);
        const double middle = velZoneCloseFragments::middle_of_longest(free);
        if (middle >= 0.0) return j + middle;
    }
    return -1.0;
}

} // namespace

double velZonedPolylineListUtils::non_self_intersecting_parameter(const velFlattenedPolylineListIter& iter,
                                                                  double tolerance,
                                                                  const velPolylineZoneNode<2>& zones) {
    return first_free_parameter(iter, [&](int j, velAbstractFragments& free) {
        velZoneCloseFragments::remove_fragments_same_polyline(iter, j, tolerance, zones, free);
    });
}

int velZonedPolylineListUtils::non_intersecting_parameters(const velFlattenedPolylineListIter& /*iter*/,
                                                           double tolerance,
                                                           const velPolylineListZoneNode<2>& zones,
                                                           std::vector<double>& out) {
    const int n = zones.size();
    out.assign(static_cast<std::size_t>(n), -1.0);
    int found = 0;
    for (int i = 0; i < n; ++i) {
        const velPolylineZoneNode<2>& own = zones.individual_polyline_zones(i);
        const velPolylineListIter& poly = own.iterator();
        const double t = first_free_parameter(poly, [&](int j, velAbstractFragments& free) {
            velZoneCloseFragments::remove_fragments_same_polyline(poly, j, tolerance, own, free);
            if (!free.empty())
                velZoneCloseFragments::remove_fragments_other_polylines(poly, i, j, tolerance, zones, free);
        });
        out[static_cast<std::size_t>(i)] = t;
        if (t >= 0.0) ++found;
    }
    return found;
}
