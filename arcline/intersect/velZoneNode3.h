#pragma once
// A node of a zone tree in space: an octree node (velNode3) holding the indices of the items (spans) that
// reach into its box; the twin of velZoneNode2. See velZoneNodeTree for the division rule (its zone area is
// the product of the box's two largest extents), the shared scratch array and the added virtual operations.
// velPolylineZoneNode<3> is the concrete tree over the spans of one polyline.
//
// Ownership: as velNode3 (a node owns its children); a node owns its item array.

#include "arcline/intersect/velNode3.h"
#include "arcline/intersect/velZoneNodeTree.h"
#include "arcline/platform/giBox3.h"
#include "arcline/platform/giPoint3.h"

class velZoneNode3 : public velZoneNodeTree<velNode3, velZoneNode3, giBox3, giPoint3> {
protected:
    using velZoneNodeTree::velZoneNodeTree;
};
