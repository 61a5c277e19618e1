#pragma once
// A debug converter: a text, an integer or a number written in strokes (velStrokeFont), `height` the height
// of its capitals. The text starts at a point and runs along +X with its capitals up +Y, or lies in a work
// plane from its origin along its x axis, up its y axis. A line break starts a new line below. Numbers are
// written as printf's "%.6g". Each stroke is one straight polyline.

#include "arcline/debug/velDebugGeometryConverter.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giWorkplane3.h"

#include <string>

class velDbgText : public velDebugGeometryConverter {
public:
    velDbgText(std::string text, double height, const giPoint3& at);
    velDbgText(int value, double height, const giPoint3& at);
    velDbgText(double value, double height, const giPoint3& at);
    velDbgText(std::string text, double height, const giWorkplane3& plane);
    velDbgText(int value, double height, const giWorkplane3& plane);
    velDbgText(double value, double height, const giWorkplane3& plane);
    void calculate() override;

    const std::string& text() const { return m_text; }
    // "%.6g" of the value.
    static std::string format(double value);

private:
    std::string m_text;
    double m_height;
    giWorkplane3 m_plane;
};
