#pragma once
// An output function for the debug geometry channels that writes everything they hand over into a debug
// geometry document (lumet::CDGDocument, a ".cdg" file) for `arcline cdg2svg` or the document viewer:
//
//     velDebugGeometryCdgOutput out("trace.cdg");     // the file is made at the first output
//     out.install();                                  // every channel's output now goes to trace.cdg
//     dbgLevelManager::instance().set_levels_from_environment();   // ARCLINE_DEBUG="velPolylineUtils=2"
//     ... run algorithms ...
//     velDebugGeometry::flush_all();                  // what the channels kept
//     out.close();                                    // (or let the destructor do it)
//
// Each label handed over becomes one node named after the label ("velPolylineUtils:removed_short_spans"),
// holding a node "polyline k" per polyline with positions (k its index in what was handed over): a
// polyline of one position is a point, a longer one its spans, lines as lines and arcs as arcs through
// their three points. The first entity of a label is labelled with it, the others not (so that a picture
// of many spans stays readable). All the geometry of one label has one colour; labels take the colours
// of `palette` in the order they first appear. Curves handed to the pattern output are written
// the same way as polylines within `curve_tol` of them.
//
// Threads: output may come from any thread; writes into the document are serialised by the object's lock.
// The object must outlive its installation: the destructor uninstalls it (when it is still the installed
// output) and closes the document.

#include "arcline/platform/torCurvePtr3ListIT.h"
#include "arcline/platform/utString.h"

#include <map>
#include <mutex>
#include <string>

class velPolylineListIter;

class velDebugGeometryCdgOutput {
public:
    // Writes into document `doc` (".cdg" is added to the file name when missing); nothing is written
    // before the first output.
    explicit velDebugGeometryCdgOutput(std::string doc);
    velDebugGeometryCdgOutput(const velDebugGeometryCdgOutput&) = delete;
    velDebugGeometryCdgOutput& operator=(const velDebugGeometryCdgOutput&) = delete;
    ~velDebugGeometryCdgOutput();

    // Makes this object the channels' output function and pattern output function.
    void install();
    // Removes them, when they are still this object's.
    void uninstall();
    // Ends the document (its file is then complete). Output that comes later continues the file.
    void close();

    // The document name and its file.
    const std::string& document() const { return m_doc; }
    std::string file_name() const;
    // Labels written so far, and whether anything was.
    int labels_written() const;
    bool written() const { return labels_written() > 0; }
    // Whether writing the file failed (it could not be made, or a write did not go through).
    bool failed() const;

    // The output functions, with this object as `object`.
    static void output(void* object, const velPolylineListIter* geometry, utString label);
    static void pattern_output(void* object, torCurvePtr3ListIT& curves, const utString& label);

    // Colours of the labels, in order of first appearance, then again from the first.
    static constexpr const char* palette[] = {"#e6194b", "#3cb44b", "#4363d8", "#f58231", "#911eb4",
                                              "#42d4f4", "#f032e6", "#9a6324", "#469990", "#800000"};
    // Chordal tolerance of curves written through the pattern output.
    static constexpr double curve_tol = 1e-3;

private:
    void write(const velPolylineListIter& geometry, const std::string& label);

    std::string m_doc;
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_colours; // label -> index into palette
    int m_labels = 0;
    bool m_open = false;
    bool m_started = false; // a first output has made the file
    bool m_failed = false;
};
