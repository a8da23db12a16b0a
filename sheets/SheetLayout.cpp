#include "SheetLayout.h"

#include "Clip.h"
#include "ScaleCheck.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vanecraft {

namespace {

// Half the widest pen: what a stroke takes beyond its centre line.
constexpr double StrokeAllowanceMm = 0.5;
// A tile's bottom band: its label and scale check, 2.5 mm clear of the window's edge.
constexpr double BandMm = 10;
constexpr double LabelMm = 3.5;
constexpr double SmallestLabelMm = 2;
constexpr double LabelGapMm = 3;
constexpr double CrossMm = 8;
// Lets a cross that ends exactly on a window's edge count as inside it.
constexpr double Tolerance = 1e-9;

SheetStroke Moved(const Stroke& s, double dx, double dy) {
    SheetStroke m;
    m.kind = s.kind == Stroke::Circle ? SheetStroke::Circle : SheetStroke::Line;
    m.role = s.role;
    m.x1 = s.x1 + dx, m.y1 = s.y1 + dy, m.x2 = s.x2 + dx, m.y2 = s.y2 + dy, m.r = s.r;
    return m;
}

SheetText Moved(const FigureText& t, double dx, double dy, const RectMm& clip = {}) {
    return {t.box.translated(dx, dy), t.text, t.heightMm, clip};
}

SheetLayout Refused(SheetLayout layout, const QString& why) {
    layout.ok = false;
    layout.message = why;
    return layout;
}

bool Finite(const Stroke& s) {
    return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) &&
           std::isfinite(s.y2) && std::isfinite(s.r) && s.r >= 0;
}

bool Finite(const RectMm& r) {
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom);
}

QString Unprintable(const Figure& figure) {
    if (figure.isEmpty())
        return QStringLiteral("The figure is empty: there is nothing to print.");
    const auto& strokes = figure.strokes();
    if (!std::all_of(strokes.begin(), strokes.end(), [](const Stroke& s) { return Finite(s); }) ||
        !Finite(figure.bounds()))
        return QStringLiteral("The figure's size is not a number: it cannot be printed.");
    return {};
}

// The figure on one sheet, moved by (dx, dy), when it fits the printable area there.
std::optional<Sheet> SingleSheet(const Figure& figure, const SheetOptions& options, double dx,
                                 double dy) {
    const double a = StrokeAllowanceMm;
    if (!options.printable.contains(figure.bounds().adjusted(-a, -a, a, a).translated(dx, dy)))
        return std::nullopt;
    Sheet sheet;
    if (options.scaleCheck) {
        auto check = CornerScaleCheck(figure, dx, dy, options.printable, options.paper.inches);
        if (!check)
            return std::nullopt;
        sheet.marks = check->marks;
        sheet.texts.push_back(check->caption);
    }
    sheet.offsetX = dx, sheet.offsetY = dy;
    sheet.window = options.printable.translated(-dx, -dy);
    for (const Stroke& s : figure.strokes())
        sheet.figure.push_back(Moved(s, dx, dy));
    for (const FigureText& t : figure.texts())
        sheet.texts.push_back(Moved(t, dx, dy));
    return sheet;
}

// The tiles: a grid of equal windows, each `overlap` into its neighbours, centred on the figure.
struct Grid {
    RectMm area; // where a window goes on its sheet
    double x0 = 0, y0 = 0, stepX = 0, stepY = 0;
    int rows = 0, columns = 0;

    RectMm window(int row, int column) const {
        const double left = x0 + column * stepX, top = y0 + row * stepY;
        return {left, top, left + area.width(), top + area.height()};
    }
};

double TilesFor(double length, double window) {
    return length <= window ? 1 : std::ceil((length - TileOverlapMm) / (window - TileOverlapMm));
}

QString TooManySheets(const RectMm& bounds, double sheets, const Paper& paper) {
    return QStringLiteral("The figure is %1 × %2 mm: it needs %3 sheets of %4, more than %5. "
                          "Choose a larger paper.")
        .arg(QString::number(bounds.width(), 'f', 0), QString::number(bounds.height(), 'f', 0),
             QString::number(sheets, 'f', 0), paper.caption)
        .arg(MostSheets);
}

// Where along a seam shared by two tiles, from `from` for `length`, the crosses go: spread out
// so that two of them fix the sheets' turn as well as their shift, each whole in both tiles.
std::vector<double> SeamStops(double from, double length) {
    const int count = length >= 60 ? 3 : 2;
    std::vector<double> stops;
    for (int k = 1; k <= count; ++k) {
        const double v = std::clamp(from + length * k / (count + 1), from + CrossMm / 2,
                                    from + length - CrossMm / 2);
        if (stops.empty() || v != stops.back())
            stops.push_back(v);
    }
    return stops;
}

// The centres of the crosses, figure mm, in the middle of every overlap strip.
std::vector<std::pair<double, double>> AlignmentCrosses(const Grid& g) {
    std::vector<std::pair<double, double>> crosses;
    for (int c = 0; c + 1 < g.columns; ++c) {
        const double x = g.x0 + (c + 1) * g.stepX + TileOverlapMm / 2;
        for (int r = 0; r < g.rows; ++r)
            for (double y : SeamStops(g.y0 + r * g.stepY, g.area.height()))
                crosses.emplace_back(x, y);
    }
    for (int r = 0; r + 1 < g.rows; ++r) {
        const double y = g.y0 + (r + 1) * g.stepY + TileOverlapMm / 2;
        for (int c = 0; c < g.columns; ++c)
            for (double x : SeamStops(g.x0 + c * g.stepX, g.area.width()))
                crosses.emplace_back(x, y);
    }
    return crosses;
}

void ClipInto(const Stroke& s, const RectMm& window, double dx, double dy, Sheet& sheet) {
    if (s.kind == Stroke::Line) {
        if (const auto span = SegmentInside(s.x1, s.y1, s.x2, s.y2, window);
            span && span->t0 < span->t1) {
            const double ex = s.x2 - s.x1, ey = s.y2 - s.y1;
            sheet.figure.push_back(
                Moved(Stroke::line(s.role, s.x1 + span->t0 * ex, s.y1 + span->t0 * ey,
                                   s.x1 + span->t1 * ex, s.y1 + span->t1 * ey),
                      dx, dy));
        }
        return;
    }
    const CircleClip clip = CircleInside(s.x1, s.y1, s.r, window);
    if (clip.whole)
        sheet.figure.push_back(Moved(s, dx, dy));
    for (const AngleSpan& span : clip.spans) {
        // Clockwise as seen from `start` is counter-clockwise back from its end.
        SheetStroke arc = Moved(s, dx, dy);
        arc.kind = SheetStroke::Arc;
        const double start =
            std::fmod(360 - (span.start + span.sweep) * 180 / std::numbers::pi, 360);
        arc.startDeg = start < 0 ? start + 360 : start;
        arc.sweepDeg = span.sweep * 180 / std::numbers::pi;
        sheet.figure.push_back(arc);
    }
}

QString RowLetters(int row) {
    QString letters;
    for (int n = row + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString Label(const Grid& g, int row, int column) {
    return QStringLiteral("%1%2 — row %3 of %4, column %2 of %5")
        .arg(RowLetters(row), QString::number(column + 1), QString::number(row + 1),
             QString::number(g.rows), QString::number(g.columns));
}

// The scale check in the band's right end: the longest whose block leaves room for the label
// beside it, or, on a stacked band, below it.
std::optional<ScaleSize> BandScale(const RectMm& p, const QString& longestLabel, bool inches,
                                   bool stacked) {
    const double label = stacked ? 0 : TextWidth(longestLabel, SmallestLabelMm) + LabelGapMm;
    const double room = p.width() - 2 * ScaleInsetMm - label;
    for (const ScaleSize& size : ScaleSizes(inches)) {
        if (ScaleWidth(size) <= room)
            return size;
    }
    return std::nullopt;
}

void AddBand(Sheet& sheet, const RectMm& p, const QString& label, std::optional<ScaleSize> scale,
             bool stacked) {
    const double top = p.bottom - ScaleInsetMm - ScaleHeightMm;
    double room = p.width() - 2 * ScaleInsetMm;
    if (scale) {
        const ScaleCheck check =
            MakeScaleCheck(*scale, p.right - ScaleInsetMm - ScaleWidth(*scale), top);
        sheet.marks.insert(sheet.marks.end(), check.marks.begin(), check.marks.end());
        sheet.texts.push_back(check.caption);
        if (!stacked)
            room -= ScaleWidth(*scale) + LabelGapMm;
    }
    if (label.isEmpty())
        return;
    const double h = std::min(LabelMm, room / TextWidth(label, 1));
    const double y = top + ScaleHeightMm / 2 - h / 2 - (stacked ? BandMm : 0);
    const double x = p.left + ScaleInsetMm;
    sheet.texts.push_back({{x, y, x + TextWidth(label, h), y + h}, label, h, {}});
}

Sheet TileSheet(const Figure& figure, const Grid& g, int row, int column,
                const std::vector<std::pair<double, double>>& crosses) {
    Sheet sheet;
    sheet.row = row, sheet.column = column;
    sheet.window = g.window(row, column);
    sheet.offsetX = g.area.left - sheet.window.left;
    sheet.offsetY = g.area.top - sheet.window.top;
    const double dx = sheet.offsetX, dy = sheet.offsetY;
    for (const Stroke& s : figure.strokes())
        ClipInto(s, sheet.window, dx, dy, sheet);
    // Text across a seam is cut there like a line, so the sheets put together show it whole.
    const RectMm clip = sheet.window.translated(dx, dy);
    for (const FigureText& t : figure.texts())
        if (sheet.window.intersects(t.box))
            sheet.texts.push_back(Moved(t, dx, dy, sheet.window.contains(t.box) ? RectMm{} : clip));
    const double h = CrossMm / 2, t = Tolerance;
    const RectMm holds = sheet.window.adjusted(-t, -t, t, t);
    for (const auto& [x, y] : crosses) {
        if (holds.contains({x - h, y - h, x + h, y + h})) {
            sheet.marks.push_back(MarkLine(x - h + dx, y + dy, x + h + dx, y + dy));
            sheet.marks.push_back(MarkLine(x + dx, y - h + dy, x + dx, y + h + dy));
        }
    }
    return sheet;
}

Grid CentredGrid(const RectMm& area, const RectMm& figure, int rows, int columns) {
    Grid g;
    g.area = area, g.rows = rows, g.columns = columns;
    g.stepX = area.width() - TileOverlapMm, g.stepY = area.height() - TileOverlapMm;
    g.x0 = (figure.left + figure.right) / 2 - (columns * g.stepX + TileOverlapMm) / 2;
    g.y0 = (figure.top + figure.bottom) / 2 - (rows * g.stepY + TileOverlapMm) / 2;
    return g;
}

// The longest label a grid has: its last sheet's. A grid of one needs none: there is nothing
// to put together.
QString LongestLabel(const Grid& g) {
    return g.rows * g.columns == 1 ? QString() : Label(g, g.rows - 1, g.columns - 1);
}

void AddTiles(const Figure& figure, const Grid& g, const SheetOptions& options, bool stacked,
              std::vector<Sheet>& sheets) {
    const auto crosses = AlignmentCrosses(g);
    const bool one = g.rows * g.columns == 1;
    const auto scale = options.scaleCheck ? BandScale(options.printable, LongestLabel(g),
                                                      options.paper.inches, stacked)
                                          : std::nullopt;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            sheets.push_back(TileSheet(figure, g, r, c, crosses));
            AddBand(sheets.back(), options.printable, one ? QString() : Label(g, r, c), scale,
                    stacked);
        }
    }
}

SheetLayout TileWithBand(const Figure& figure, const SheetOptions& options, SheetLayout layout,
                         double band, bool stacked) {
    const double a = StrokeAllowanceMm;
    const RectMm area = options.printable.adjusted(a, a, -a, -band - a);
    if (!(area.width() > TileOverlapMm && area.height() > TileOverlapMm))
        return Refused(layout, QStringLiteral("The printable area of %1 is too small to print "
                                              "the figure on in parts.")
                                   .arg(options.paper.caption));
    const RectMm bounds = figure.bounds(), grown = bounds.adjusted(-a, -a, a, a);
    const double columns = TilesFor(grown.width(), area.width());
    const double rows = TilesFor(grown.height(), area.height());
    if (rows * columns > MostSheets)
        return Refused(layout, TooManySheets(bounds, rows * columns, options.paper));
    const Grid grid = CentredGrid(area, grown, int(rows), int(columns));
    if (options.scaleCheck &&
        !BandScale(options.printable, LongestLabel(grid), options.paper.inches, stacked))
        return Refused(layout, QStringLiteral("The printable area of %1 is too narrow for the "
                                              "scale check: leave it out (File → Options, or "
                                              "--no-scale-check) or choose a wider paper.")
                                   .arg(options.paper.caption));
    AddTiles(figure, grid, options, stacked, layout.sheets);
    layout.rows = int(rows), layout.columns = int(columns);
    layout.ok = true;
    return layout;
}

SheetLayout Tile(const Figure& figure, const SheetOptions& options, SheetLayout layout) {
    // On narrow paper the label and the scale check take a line each.
    const bool stacked =
        options.scaleCheck &&
        !BandScale(options.printable, QStringLiteral("AA10 — row 10 of 10, column 10 of 10"),
                   options.paper.inches, false);
    return TileWithBand(figure, options, layout, stacked ? 2 * BandMm : BandMm, stacked);
}

} // namespace

RectMm InsetArea(const Paper& paper, double margin) {
    return {margin, margin, paper.widthMm - margin, paper.heightMm - margin};
}

SheetLayout LayOutFigure(const Figure& figure, const SheetOptions& options) {
    SheetLayout layout;
    layout.paper = options.paper;
    layout.printable = options.printable;
    if (const QString why = Unprintable(figure); !why.isEmpty())
        return Refused(layout, why);
    if (!Finite(options.printable) || options.printable.isEmpty())
        return Refused(layout, QStringLiteral("There is no printable area on the paper."));
    // The figure's centre at the sheet's centre, where it has always been; else, before tiling,
    // the figure's extent centred on the printable area (an aid longer on one side, such as the
    // wrapper with its flap, may fit only so).
    const RectMm b = figure.bounds(), p = options.printable;
    std::optional<Sheet> sheet =
        SingleSheet(figure, options, options.paper.widthMm / 2, options.paper.heightMm / 2);
    if (!sheet)
        sheet = SingleSheet(figure, options, (p.left + p.right - b.left - b.right) / 2,
                            (p.top + p.bottom - b.top - b.bottom) / 2);
    if (sheet) {
        layout.sheets.push_back(*sheet);
        layout.rows = layout.columns = 1;
        layout.ok = true;
        return layout;
    }
    return Tile(figure, options, layout);
}

SheetLayout CanvasFor(const Figure& figure, double margin) {
    SheetLayout layout;
    if (const QString why = Unprintable(figure); !why.isEmpty())
        return Refused(layout, why);
    if (!std::isfinite(margin) || margin < 0)
        return Refused(layout, QStringLiteral("The canvas margin must be a size of 0 mm or more."));
    const RectMm b = figure.bounds();
    layout.paper = CustomPaper(b.width() + 2 * margin, b.height() + 2 * margin);
    layout.printable = {0, 0, layout.paper.widthMm, layout.paper.heightMm};
    Sheet sheet;
    sheet.offsetX = margin - b.left, sheet.offsetY = margin - b.top;
    sheet.window = b.adjusted(-margin, -margin, margin, margin);
    for (const Stroke& s : figure.strokes())
        sheet.figure.push_back(Moved(s, sheet.offsetX, sheet.offsetY));
    for (const FigureText& t : figure.texts())
        sheet.texts.push_back(Moved(t, sheet.offsetX, sheet.offsetY));
    layout.sheets.push_back(sheet);
    layout.rows = layout.columns = 1;
    layout.ok = true;
    return layout;
}

} // namespace vanecraft
