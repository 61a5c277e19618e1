#pragma once
// A node of a zone tree in the plane: a quadtree node (velNode2) holding the indices of the items (spans)
// that reach into its rectangle. See velZoneNodeTree for the division rule, the shared scratch array and
// the added virtual operations (min_zone_length, max_zone_length, outside, new_node, in that order).
// velPolylineZoneNode<2> is the concrete tree over the spans of one polyline.
//
// Ownership: as velNode2 (a node owns its children); a node owns its item array.

#include "arcline/intersect/velNode2.h"
#include "arcline/intersect/velZoneNodeTree.h"
#include "arcline/platform/giBox2.h"
#include "arcline/platform/giPoint2.h"

class velZoneNode2 : public velZoneNodeTree<velNode2, velZoneNode2, giBox2, giPoint2> {
protected:
    using velZoneNodeTree::velZoneNodeTree;
};
