#pragma once

#include "Paper.h"
#include "aids/Figure.h"

#include <QString>
#include <vector>

namespace vanecraft {

// One stroke as a sheet draws it, in millimetres from the sheet's top-left corner. A figure's
// circle that a tile cuts becomes one or more arcs.
struct SheetStroke {
    enum Kind { Line, Circle, Arc } kind = Line;
    StrokeRole role = StrokeRole::Mark;
    double x1 = 0, y1 = 0; // a line's start; a circle's or an arc's centre
    double x2 = 0, y2 = 0; // a line's end
    double r = 0;          // a circle's or an arc's radius
    // An arc's start and sweep in degrees, counter-clockwise as seen on the sheet from the +x
    // axis (QPainterPath::arcTo's convention).
    double startDeg = 0, sweepDeg = 0;

    bool operator==(const SheetStroke&) const = default;
};

// A line of text on a sheet: a tile's label, a scale check's caption, or the figure's own. `box`
// holds it whole at `heightMm` for characters up to CharWidth x heightMm wide. A figure's text
// that a tile cuts is drawn only within `clip`; an empty clip cuts nothing.
struct SheetText {
    RectMm box;
    QString text;
    double heightMm = 0;
    RectMm clip;
};

struct Sheet {
    int row = 0, column = 0; // from 0
    // Sheet millimetres = figure millimetres + offset.
    double offsetX = 0, offsetY = 0;
    RectMm window;                   // the part of the figure this sheet shows, figure mm
    std::vector<SheetStroke> figure; // the figure's strokes, clipped to the window, sheet mm
    std::vector<SheetStroke> marks;  // alignment crosses and the scale check, sheet mm
    std::vector<SheetText> texts;    // the tile label and the scale check's caption
};

struct SheetOptions {
    Paper paper;
    RectMm printable;       // where the printer can print, sheet mm
    bool scaleCheck = true; // a bar of round, stated length on every sheet
};

// Export's printable area: this far in from every edge.
constexpr double ExportMarginMm = 6;
RectMm InsetArea(const Paper& paper, double margin);

// Neighbouring tiles share at least this much of the figure.
constexpr double TileOverlapMm = 10;
constexpr int MostSheets = 100;

struct SheetLayout {
    bool ok = false;
    QString message; // why the figure cannot be laid out, when !ok
    Paper paper;
    RectMm printable;
    int rows = 0, columns = 0;
    std::vector<Sheet> sheets; // row by row
    bool tiled() const { return sheets.size() > 1; }
};

// Lays the figure out on the paper: one sheet with the figure's centre at the sheet's centre when
// it fits the printable area there (with room for the scale check), else tiles.
SheetLayout LayOutFigure(const Figure& figure, const SheetOptions& options);

// One canvas holding the whole figure, unclipped, `margin` clear of it on every side: for files
// fed to cutters. Its paper is the canvas's size; no label, no scale check.
SheetLayout CanvasFor(const Figure& figure, double margin);

} // namespace vanecraft
