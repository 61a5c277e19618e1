#pragma once
// Saves lists of poly-arc-lines as text and loads them back: how geometry is captured from a running
// algorithm and replayed, and how test geometry reaches the library. All members are static; the class
// holds no state.
//
// Record format (read and written), one record per line:
//     velGeometryIO 1          header: the word and a version (read, not checked); the reader also takes
//                              the word "velPointFilterIO"
//     p x y z                  a position: the first of a polyline, or the end of a straight span
//     a mx my mz x y z         an arc span from the previous position to (x, y, z) through its mid point
//     s                        end of the current polyline
//     e                        end of the file
// The writer prints every coordinate as printf's "%.17g" does, so that a double survives the round trip bit
// for bit (infinities and NaNs come back as such, a NaN with its sign but not its payload). Each record is
// preceded by a line break: the file starts with the header and ends with "e" and no final line break.
// Closure is not recorded: a closed polyline is written by its positions.
//
// The reader takes numbers as a text stream does: white space, line breaks included, may stand between the
// numbers of a record, and the rest of the line after a record is ignored. A record "e" is not the end:
// reading goes on to the end of the input. A polyline not ended by "s" is not delivered, and an "a" record
// that starts a polyline is dropped (an arc needs a start).
//
// Picture format (read only): "picture 1", the number of contours, then for each contour its number of
// spans and its start x y, then for each span "l n x y" (straight to x, y) or "a n x y b" (arc to x, y with
// bulge b; the mid point is right of the chord for b > 0, anticlockwise); n is read and ignored. Everything
// lies in z = 0. Faults are reported through ut_report_assert_failure with the function name
// "velGeometryIO::read_pictureio_format". After a wrong header word, a wrong version or an invalid span
// marker reading carries on; after a read that fails nothing more can be read, so the reader stops there,
// keeping the contours read so far and, of the contour being read, the spans before the fault.
//
// Loaded polylines are new velPolyArcLineDouble objects appended at the end of the caller's list; what the
// list held before is kept.

#include "arcline/debug/velGeometryIOFault.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"

class velPolylineListIter;
class velPolylineListCursor;

class velGeometryIO {
public:
    // Writes the list in the record format, walking it with reset() and ++. A file that cannot be opened
    // or written is not reported.
    static void write(const char* path, velPolylineListIter& list);

    // Reads a picture file or a record file, appending every finished polyline to `list`. False when the
    // file cannot be opened, when its header word is neither "velGeometryIO" nor "velPointFilterIO" (or it
    // has no header word or version number), or when a record is malformed (an unknown marker, a missing or
    // malformed number); the polylines finished before the fault stay appended. A picture file reads true.
    static bool read(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
    // Reads as above into a list of its own, then copies it into `out` with velPolylineListIter::copy
    // (after the cursor's current polyline; polylines without positions are skipped). The copy is made
    // whatever the result, so a failed read delivers what came before the fault.
    static bool read(const char* path, velPolylineListCursor& out);
    // The same reads, telling where the first fault was: `fault` is cleared, then on a false result filled
    // with the line and a short reason. A picture file reads true whatever its faults; `fault` still tells
    // the first of them (the line where reading stood, the reported message).
    static bool read(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list,
                     velGeometryIOFault& fault);
    static bool read(const char* path, velPolylineListCursor& out, velGeometryIOFault& fault);

    // Exports the list into the debug geometry document `file` (lumet::CDGDocument; ".cdg" is added to the
    // file name when missing) inside a node named `label`, each polyline with positions in a node
    // "polyline k" (k its index): a polyline of one position becomes a point coloured "#ffffff", each span
    // of a longer one a line ("#ffff00") or an arc through its three points ("#00ffff"), labelled
    // "span i". The document is flushed and stays open, so that later calls add further nodes;
    // CDGDocument::closeDoc(file) ends it.
    static void write_cdg(const char* file, const char* label, velPolylineListIter& list);

protected:
    velGeometryIO() = default;

private:
    friend struct velGeometryIOTestAccess;

    // True exactly when the file opens and starts with the word "picture" and the integer 1.
    static bool is_pictureio_file(const char* path);
    // Reads a picture file into `list`; always true.
    static bool read_pictureio_format(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list);
};
