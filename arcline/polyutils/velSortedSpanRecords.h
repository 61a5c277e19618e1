#pragma once
// The span records of raw offsets carried over to their sorted loops. The sorter cuts raw offsets at their
// crossings and rejoins the pieces without the offsetters' records (temporary flags, input positions, side
// labels); every sorted span still lies on one raw span, so it takes that span's record: the raw span
// nearest to the sorted span's mid point among those that run its way there.
//
// Raw spans are read once into values and put in a grid of cells about as large as a typical span; a sorted
// span tries the raw span after the one its predecessor matched first (sorted loops follow raw offsets for
// long stretches), then the grid cells about its mid point.

class velPolylineListIter;
class velPolylineWithOffsetFlagsListCursor;

class velSortedSpanRecords {
public:
    // A sorted span's mid point lies within this fraction of the raw offsets' extent of its raw span (the
    // sorter may have moved its input by its retry distance as well).
    static constexpr double match_fraction = 1e-9;

    // Gives every span of every polyline of `sorted` the record of the raw span of `raw` (an offset-flag
    // iterator; others carry no records and nothing is done) that it lies on. Spans that lie on none keep
    // the default record. Returns the number of spans given a record.
    static int recover(const velPolylineListIter& raw, velPolylineWithOffsetFlagsListCursor& sorted);
};
