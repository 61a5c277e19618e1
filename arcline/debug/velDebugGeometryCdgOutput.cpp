#include "arcline/debug/velDebugGeometryCdgOutput.h"

#include "arcline/debug/CDGDocument.h"
#include "arcline/debug/torCurvePtr3velDbg.h"
#include "arcline/debug/velDebugGeometry.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velAbsPolyArcLinecoDListPrgcoPrgcoDList.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/coDListcoCursor.h"

#include <iterator>
#include <memory>
#include <utility>

using lumet::CDGDocument;

namespace {

lumet::P3 p3(const giPoint3& p) {
    return {p.x, p.y, p.z};
}

} // namespace

velDebugGeometryCdgOutput::velDebugGeometryCdgOutput(std::string doc) : m_doc(std::move(doc)) {}

velDebugGeometryCdgOutput::~velDebugGeometryCdgOutput() {
    uninstall();
    close();
}

void velDebugGeometryCdgOutput::install() {
    velDebugGeometry::set_output_function(&output, this);
    velDebugGeometry::set_pattern_output_function(&pattern_output, this);
}

void velDebugGeometryCdgOutput::uninstall() {
    if (velDebugGeometry::get_output_function() == &output && velDebugGeometry::get_output_object() == this)
        velDebugGeometry::set_output_function(nullptr, nullptr);
    if (velDebugGeometry::get_pattern_output_function() == &pattern_output)
        velDebugGeometry::set_pattern_output_function(nullptr, nullptr);
}

void velDebugGeometryCdgOutput::close() {
    const std::lock_guard lock(m_mutex);
    if (!m_open) return;
    CDGDocument::closeDoc(m_doc);
    m_open = false;
}

std::string velDebugGeometryCdgOutput::file_name() const {
    return CDGDocument::fileName(m_doc);
}

int velDebugGeometryCdgOutput::labels_written() const {
    const std::lock_guard lock(m_mutex);
    return m_labels;
}

bool velDebugGeometryCdgOutput::failed() const {
    const std::lock_guard lock(m_mutex);
    return m_failed;
}

void velDebugGeometryCdgOutput::output(void* object, const velPolylineListIter* geometry, utString label) {
    if (!object || !geometry) return;
    static_cast<velDebugGeometryCdgOutput*>(object)->write(*geometry, label);
}

void velDebugGeometryCdgOutput::pattern_output(void* object, torCurvePtr3ListIT& curves,
                                               const utString& label) {
    if (!object) return;
    velAbsPolyArcLinecoDListPrgcoPrgcoDList polylines;
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(polylines);
    torCurvePtr3ListIT walk = curves;
    for (walk.reset(); ++walk;) {
        torCurvePtr3velDbg converter(*walk, curve_tol);
        converter.calculate();
        for (const velAbsPolyArcLinecoPrg& p : converter.polylines())
            cursor.insert_last(p);
    }
    const velAbsPolyArcLineListIter iter(polylines);
    static_cast<velDebugGeometryCdgOutput*>(object)->write(iter, label);
}

void velDebugGeometryCdgOutput::write(const velPolylineListIter& geometry, const std::string& label) {
    // A clone: the caller's iterator does not move.
    const std::unique_ptr<velPolylineListIter> list(geometry.create_new());
    const std::lock_guard lock(m_mutex);
    if (!m_open) {
        // The first output starts the file afresh; output after close() continues it.
        CDGDocument::createDoc(m_doc, m_started);
        m_open = m_started = true;
    }
    const auto [entry, added] = m_colours.try_emplace(label, static_cast<int>(m_colours.size()));
    const char* colour = palette[static_cast<std::size_t>(entry->second) % std::size(palette)];
    ++m_labels;
    CDGDocument::pushNode(m_doc, label);
    // Only the first entity carries the label as text: the picture stays readable, and the colour and the
    // nodes tie the rest to it.
    std::string text = label;
    for (list->reset(); ++*list;) {
        const int n = list->num_pos();
        if (n == 0) continue;
        CDGDocument::pushNode(m_doc, "polyline " + std::to_string(list->index()));
        if (n == 1) CDGDocument::exportPoint(m_doc, p3(list->get_pos(0)), colour, text);
        for (int i = 0; i + 1 < n; ++i) {
            if (i > 0 || n == 1) text.clear();
            if (list->span_linear(i))
                CDGDocument::exportLine(m_doc, p3(list->get_pos(i)), p3(list->get_pos(i + 1)), colour, text);
            else
                CDGDocument::exportArcFromPoints(m_doc, p3(list->get_pos(i)), p3(list->get_mid_pos(i)),
                                                 p3(list->get_pos(i + 1)), colour, text);
        }
        text.clear();
        CDGDocument::popNode(m_doc);
    }
    CDGDocument::popNode(m_doc);
    // So that a process that dies later leaves every label written so far readable.
    if (!CDGDocument::flushDoc(m_doc)) m_failed = true;
}
