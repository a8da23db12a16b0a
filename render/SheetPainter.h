#pragma once

#include "sheets/SheetLayout.h"

#include <QColor>
#include <QPointF>

class QPainter;

namespace vanecraft {

// How a sheet lands on a device. Pen widths are counted in pixels of the medium (printer dots,
// 600-dpi dots in files, screen pixels), as the aids have always been drawn.
struct PaintStyle {
    double unitsPerMm = 1;       // device units per millimetre of the sheet
    double penUnitsPerPixel = 1; // device units per pen pixel
    int outlineWidth = 3;        // the cut line: 3 on paper, 5 on screen
    QColor colour = Qt::black;
    QPointF origin; // where the sheet's top-left corner lands, device units
};

// The one routine that draws a sheet, on any painter: printer, PDF, SVG or screen.
void PaintSheet(QPainter& painter, const Sheet& sheet, const PaintStyle& style);

// A device resolution as device units per millimetre.
constexpr double UnitsPerMm(double dpi) {
    return dpi / 25.4;
}

} // namespace vanecraft
