#pragma once
// Debug geometry documents: text files of compact records (points, lines, arcs, vectors, ellipses,
// triangles, tools, work planes, transforms, information texts) grouped into named nodes, for a separate
// viewer. Everything is static; the writer depends on nothing else in the library, so any part of the
// kernel may call it.
//
// File layout. The file starts with "CDG1". Every record starts on a new line: a line break is written
// before each record and none after it, and closing the document ends the last line. A record is one code
// letter followed by its fields without separators; the last field of most records is a free text (label or
// node name) running to the end of the line. A line break inside such a text would start a new record, so
// line breaks and carriage returns in texts are written as spaces.
//
// Packed fields use the alphabet of `alphabet`: a value is a little-endian bit stream cut into 6-bit
// groups, least significant group first, one character per group, no padding, no separator.
//   number     one double as an IEEE single in a 36-bit stream (four zero high bits): 6 characters
//   point      x | y << 32 | z << 64, each a single: 16 characters
//   parameters u | v << 32 | a << 64 | b << 65, u and v singles, a and b flag bits: 11 characters
//   colour     "#" and six hexadecimal digits, either case; digit k (from 1) is the nibble k - 1 of a
//              24-bit value (the first digit lowest): 4 characters. A character that is not a hexadecimal
//              digit, or a missing one, counts as 0.
//   matrix     16 numbers in the caller's order as six points: elements 0-2, 3-5, 6-8, 9-11, 12-14 and
//              element 15 with two zeros.
//
// Records (code: fields):
//   U name                        node opened by pushNode or by an export given a node name
//   u colour name                 coloured node
//   O                             node closed
//   X matrix / x                  transform set / cleared
//   P point colour label          point
//   p point colour par(1,1) label point with a pair of values
//   L point point colour label    line
//   l point point colour par(1,1) par(0,0) label        line with a pair of values (written twice)
//   V point point colour label    vector: base and direction
//   v point point colour par(1,1) label                 vector with a pair of values
//   A centre start normal par colour label              arc (par (sweep, 0) flags (1, 0)) or helix
//                                                       (par (sweep, rise) flags (1, 1))
//   a centre start normal par par(1,1) par(0,0) colour label   arc or helix with a pair of values
//   F start mid end centre colour label                 arc through three points with its centre
//   E centre major minor colour label                   ellipse by its centre and axis end points
//   e centre major minor par(1,1) colour label          elliptic arc, par = (start angle, end angle)
//   T point point point label     triangle
//   t tip par(1,1) par(1,1) label tool: (diameter, corner radius), (length, shank diameter)
//   W matrix label                work plane
//   I text                        information text
// Angles are in radians, anticlockwise about the normal. A "pair of values" is shown by the viewer beside
// the entity (curve parameters at its ends, for instance); the library gives it no further meaning.
//
// Document mode. Documents are named; the file of a document is its name followed by ".cdg" unless the name
// already ends with ".cdg", so "trace" and "trace.cdg" name the same document and file. Every call but
// closeDoc and flushDoc opens its document first when it is not open (a document springs into being at its
// first use, its file truncated; injectDoc only when it copies), and every call first closes the node that
// the previous export opened for itself, if any. Calls return the document's output stream; the reference
// stays valid for the rest of the process (after closeDoc the stream is closed and ignores writes until the
// document is opened again). A file that cannot be opened gives a failed stream: the calls then write
// nothing, and report nothing. Documents still open when the process ends are closed as closeDoc closes
// them.
//
// Immediate mode appends each record to "immediate.cdg" in the current directory, opening and closing the
// file for every record, so that the file is complete whenever the process dies. Each immediate record ends
// with its own line break.
//
// Threads: the table of documents and the immediate file are guarded by one process-wide lock. Writing into
// a document's stream is not locked: one document is written by one thread at a time.

#include "arcline/debug/P3.h"

#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace lumet {

// Two values of a parameters field; which flags go with them is fixed by the record.
using ParamPair = std::pair<double, double>;
// A 4x4 matrix as 16 values in the order the viewer takes them.
using Matrix16 = std::span<const double, 16>;

class CDGDocument {
public:
    static constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    static constexpr std::string_view header = "CDG1";
    static constexpr std::string_view immediate_file = "immediate.cdg";

    // ---- Encodings of the packed fields.
    static std::string floatToBase64(double value);
    static std::string pointToBase64(double x, double y, double z);
    static std::string pointToBase64(const P3& p) { return pointToBase64(p.x, p.y, p.z); }
    static std::string paramsToBase64(const ParamPair& pair, bool a, bool b);
    static std::string colorToBase64(std::string_view colour);
    static std::string matrixToBase64(Matrix16 matrix);
    // The file of document `doc`.
    static std::string fileName(std::string_view doc);

    // ---- Document mode: the document and its nodes.
    // Opens the document if it is not open: without `append` the file is truncated and "CDG1" written,
    // with `append` the existing file is continued and no header written (a missing or empty file gets
    // one). An open document is left as it is (whatever `append` says), except that a node opened by the
    // previous export is closed.
    static std::ofstream& createDoc(std::string_view doc, bool append = false);
    static std::ofstream& pushNode(std::string_view doc, std::string_view name);
    static std::ofstream& pushColoredNode(std::string_view doc, std::string_view colour,
                                          std::string_view name);
    // Closes the innermost node; with no node open it writes nothing.
    static std::ofstream& popNode(std::string_view doc);
    // Closes every open node.
    static std::ofstream& popAllNodes(std::string_view doc);
    static std::ofstream& setTransform(std::string_view doc, Matrix16 matrix);
    static std::ofstream& clearTransform(std::string_view doc);

    // ---- Document mode: entities. Each takes an optional node name after the document: the entity then
    // goes into a node of its own, opened before it (U) and closed by the next call on the document (O).
    // P2 arguments are taken as points at z = 0.
    static std::ofstream& exportPoint(std::string_view doc, const P3& p, std::string_view colour,
                                      std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, std::string_view node, const P3& p,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, double x, double y, double z,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, std::string_view node, double x, double y,
                                      double z, std::string_view colour, std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, double x, double y, std::string_view colour,
                                      std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, std::string_view node, double x, double y,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, const P3& p, const ParamPair& values,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportPoint(std::string_view doc, std::string_view node, const P3& p,
                                      const ParamPair& values, std::string_view colour,
                                      std::string_view label);

    static std::ofstream& exportLine(std::string_view doc, const P3& a, const P3& b, std::string_view colour,
                                     std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, std::string_view node, const P3& a, const P3& b,
                                     std::string_view colour, std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, double x0, double y0, double z0, double x1,
                                     double y1, double z1, std::string_view colour, std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, std::string_view node, double x0, double y0,
                                     double z0, double x1, double y1, double z1, std::string_view colour,
                                     std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, double x0, double y0, double x1, double y1,
                                     std::string_view colour, std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, std::string_view node, double x0, double y0,
                                     double x1, double y1, std::string_view colour, std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, const P3& a, const P3& b, const ParamPair& values,
                                     std::string_view colour, std::string_view label);
    static std::ofstream& exportLine(std::string_view doc, std::string_view node, const P3& a, const P3& b,
                                     const ParamPair& values, std::string_view colour,
                                     std::string_view label);

    // A vector drawn from `base` along `direction`.
    static std::ofstream& exportVector(std::string_view doc, const P3& base, const P3& direction,
                                       std::string_view colour, std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, std::string_view node, const P3& base,
                                       const P3& direction, std::string_view colour, std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, double x, double y, double z, double dx,
                                       double dy, double dz, std::string_view colour, std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, std::string_view node, double x, double y,
                                       double z, double dx, double dy, double dz, std::string_view colour,
                                       std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, double x, double y, double dx, double dy,
                                       std::string_view colour, std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, std::string_view node, double x, double y,
                                       double dx, double dy, std::string_view colour, std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, const P3& base, const P3& direction,
                                       const ParamPair& values, std::string_view colour,
                                       std::string_view label);
    static std::ofstream& exportVector(std::string_view doc, std::string_view node, const P3& base,
                                       const P3& direction, const ParamPair& values, std::string_view colour,
                                       std::string_view label);

    // The arc about `centre` from `start`, turning `sweep` radians anticlockwise about `normal` (A).
    static std::ofstream& exportArc(std::string_view doc, const P3& centre, const P3& start, const P3& normal,
                                    double sweep, std::string_view colour, std::string_view label);
    static std::ofstream& exportArc(std::string_view doc, std::string_view node, const P3& centre,
                                    const P3& start, const P3& normal, double sweep, std::string_view colour,
                                    std::string_view label);
    static std::ofstream& exportArc(std::string_view doc, const P3& centre, const P3& start, const P3& normal,
                                    double sweep, const ParamPair& values, std::string_view colour,
                                    std::string_view label);
    static std::ofstream& exportArc(std::string_view doc, std::string_view node, const P3& centre,
                                    const P3& start, const P3& normal, double sweep, const ParamPair& values,
                                    std::string_view colour, std::string_view label);
    // The arc through start, mid and end whose centre the caller gives (F).
    static std::ofstream& exportArc(std::string_view doc, const P3& start, const P3& mid, const P3& end,
                                    const P3& centre, std::string_view colour, std::string_view label);
    static std::ofstream& exportArc(std::string_view doc, std::string_view node, const P3& start,
                                    const P3& mid, const P3& end, const P3& centre, std::string_view colour,
                                    std::string_view label);
    // The arc through start, mid and end (F) with the centre computed. Collinear points have no circle: the
    // mid point is written as the centre, and the viewer draws the two chords.
    static std::ofstream& exportArcFromPoints(std::string_view doc, const P3& start, const P3& mid,
                                              const P3& end, std::string_view colour, std::string_view label);
    static std::ofstream& exportArcFromPoints(std::string_view doc, std::string_view node, const P3& start,
                                              const P3& mid, const P3& end, std::string_view colour,
                                              std::string_view label);
    static std::ofstream& exportArcFromPoints(std::string_view doc, double x0, double y0, double z0,
                                              double xm, double ym, double zm, double x1, double y1,
                                              double z1, std::string_view colour, std::string_view label);
    static std::ofstream& exportArcFromPoints(std::string_view doc, std::string_view node, double x0,
                                              double y0, double z0, double xm, double ym, double zm,
                                              double x1, double y1, double z1, std::string_view colour,
                                              std::string_view label);
    static std::ofstream& exportArcFromPoints(std::string_view doc, double x0, double y0, double xm,
                                              double ym, double x1, double y1, std::string_view colour,
                                              std::string_view label);
    static std::ofstream& exportArcFromPoints(std::string_view doc, std::string_view node, double x0,
                                              double y0, double xm, double ym, double x1, double y1,
                                              std::string_view colour, std::string_view label);
    // The helix about the axis through `centre` from `start`, turning `sweep` radians anticlockwise about
    // `axis` while rising `rise` along it (A).
    static std::ofstream& exportHelix(std::string_view doc, const P3& centre, const P3& start, const P3& axis,
                                      double sweep, double rise, std::string_view colour,
                                      std::string_view label);
    static std::ofstream& exportHelix(std::string_view doc, std::string_view node, const P3& centre,
                                      const P3& start, const P3& axis, double sweep, double rise,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportHelix(std::string_view doc, const P3& centre, const P3& start, const P3& axis,
                                      double sweep, double rise, const ParamPair& values,
                                      std::string_view colour, std::string_view label);
    static std::ofstream& exportHelix(std::string_view doc, std::string_view node, const P3& centre,
                                      const P3& start, const P3& axis, double sweep, double rise,
                                      const ParamPair& values, std::string_view colour,
                                      std::string_view label);
    // A full circle (A, sweep 2 pi), starting at the point of the circle in the direction of the axis least
    // aligned with the normal (X for a circle in XY). The 2D forms lie in XY with normal (0, 0, 1).
    static std::ofstream& exportCircle(std::string_view doc, const P3& centre, const P3& normal,
                                       double radius, std::string_view colour, std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, std::string_view node, const P3& centre,
                                       const P3& normal, double radius, std::string_view colour,
                                       std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, const P2& centre, double radius,
                                       std::string_view colour, std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, std::string_view node, const P2& centre,
                                       double radius, std::string_view colour, std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, double cx, double cy, double cz, double nx,
                                       double ny, double nz, double radius, std::string_view colour,
                                       std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, std::string_view node, double cx, double cy,
                                       double cz, double nx, double ny, double nz, double radius,
                                       std::string_view colour, std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, double cx, double cy, double radius,
                                       std::string_view colour, std::string_view label);
    static std::ofstream& exportCircle(std::string_view doc, std::string_view node, double cx, double cy,
                                       double radius, std::string_view colour, std::string_view label);

    static std::ofstream& exportEllipse(std::string_view doc, const P3& centre, const P3& major_end,
                                        const P3& minor_end, std::string_view colour, std::string_view label);
    static std::ofstream& exportEllipse(std::string_view doc, std::string_view node, const P3& centre,
                                        const P3& major_end, const P3& minor_end, std::string_view colour,
                                        std::string_view label);
    // The elliptic arc between two angles measured from the major axis towards the minor one.
    static std::ofstream& exportEllipse(std::string_view doc, const P3& centre, const P3& major_end,
                                        const P3& minor_end, const ParamPair& angles, std::string_view colour,
                                        std::string_view label);
    static std::ofstream& exportEllipse(std::string_view doc, std::string_view node, const P3& centre,
                                        const P3& major_end, const P3& minor_end, const ParamPair& angles,
                                        std::string_view colour, std::string_view label);

    static std::ofstream& exportTriangle(std::string_view doc, const P3& a, const P3& b, const P3& c,
                                         std::string_view label);
    static std::ofstream& exportTriangle(std::string_view doc, std::string_view node, const P3& a,
                                         const P3& b, const P3& c, std::string_view label);
    static std::ofstream& exportTriangle(std::string_view doc, double ax, double ay, double az, double bx,
                                         double by, double bz, double cx, double cy, double cz,
                                         std::string_view label);
    static std::ofstream& exportTriangle(std::string_view doc, std::string_view node, double ax, double ay,
                                         double az, double bx, double by, double bz, double cx, double cy,
                                         double cz, std::string_view label);
    static std::ofstream& exportTriangle(std::string_view doc, double ax, double ay, double bx, double by,
                                         double cx, double cy, std::string_view label);
    static std::ofstream& exportTriangle(std::string_view doc, std::string_view node, double ax, double ay,
                                         double bx, double by, double cx, double cy, std::string_view label);

    // A tool standing on `tip` along +Z: shape = (diameter, corner radius), size = (length, shank diameter).
    static std::ofstream& exportTool(std::string_view doc, const P3& tip, const ParamPair& shape,
                                     const ParamPair& size, std::string_view label);
    static std::ofstream& exportTool(std::string_view doc, std::string_view node, const P3& tip,
                                     const ParamPair& shape, const ParamPair& size, std::string_view label);

    static std::ofstream& exportWorkplane(std::string_view doc, Matrix16 matrix, std::string_view label);
    static std::ofstream& exportWorkplane(std::string_view doc, std::string_view node, Matrix16 matrix,
                                          std::string_view label);

    static std::ofstream& exportInformation(std::string_view doc, std::string_view text);

    // ---- Document mode: the file.
    // Writes everything so far into the file, after closing a node that the previous export opened. The
    // file then ends right after the last record (no final line break: the next record's own line break
    // continues it), so a reader sees every record written so far. The document stays open and its stream
    // position does not move. A document that is not open is left alone.
    static std::ofstream& flushDoc(std::string_view doc);
    // Closes a node that the previous export opened, ends the last line, and closes the file; open nodes
    // are not closed (call popAllNodes first for a balanced file). A later call on the document opens the
    // file afresh, truncating it. A document that is not open is left alone: closing twice keeps the file.
    static void closeDoc(std::string_view doc);
    // The document's stream, for records of the caller's own. Opens the document like any other call.
    static std::ofstream& getOFStream(std::string_view doc);
    // Copies the records of the document file of `source` (named as documents are) into `doc` at its
    // current node, in order. The source must start with "CDG1"; blank lines are skipped. Its node records
    // are kept balanced within the copy: an O that would close a node opened before the copy is dropped, and
    // nodes still open at the end of the source are closed, so `doc` ends at the node depth it had.
    // Transform records are copied as they are. When `source` is open in this process it is flushed first.
    // Returns 1 on success; 0, writing nothing, when the source cannot be read, lacks the header, or is the
    // document itself.
    static int injectDoc(std::string_view doc, std::string_view source);

    // ---- Immediate mode ("immediate.cdg" in the current directory).
    // Creates or truncates the file and writes "CDG1" and a line break.
    static void imStart();
    // Each call starts immediate mode first when this process has not, then appends one record and its line
    // break and closes the file. An empty or missing file (the current directory changed, the file removed)
    // gets the header first, so the file is always complete.
    static void imPushNode(std::string_view name);
    static void imPopNode();
    static void imPoint(const P3& p, std::string_view colour, std::string_view label);
    static void imLine(const P3& a, const P3& b, std::string_view colour, std::string_view label);
    // The arc through a, b and c whose centre is d (F).
    static void imArc(const P3& a, const P3& b, const P3& c, const P3& d, std::string_view colour,
                      std::string_view label);
    static void imVector(const P3& base, const P3& direction, std::string_view colour,
                         std::string_view label);
    static void imWorkplane(Matrix16 matrix, std::string_view label);
    // The packed fields the immediate records use, for callers that compose records of their own.
    static std::string imVector3(double x, double y, double z) { return pointToBase64(x, y, z); }
    static std::string imColor(std::string_view colour) { return colorToBase64(colour); }

private:
    CDGDocument() = default;
};

} // namespace lumet
