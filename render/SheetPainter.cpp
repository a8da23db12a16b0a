#include "SheetPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vanecraft {

namespace {

// The dashes of a centre line, whatever the device: 2 mm drawn, 1 mm left out.
constexpr double DashMm = 2.0;
constexpr double GapMm = 1.0;
// Another part's line: 4 mm drawn, a gap, a 0.5 mm dot, a gap.
constexpr double PartDashMm = 4.0;
constexpr double PartDotMm = 0.5;
// Text is laid out at this pixel size and scaled to the sheet, so every device gets the same.
constexpr int TextDesignSize = 100;
constexpr double TwipsPerMm = 56.7;

QPen penFor(StrokeRole role, const PaintStyle& s) {
    const int pixels = role == StrokeRole::Outline ? std::max(1, s.outlineWidth) : 1;
    const double width = pixels * s.penUnitsPerPixel;
    QPen pen(s.colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const double mm = s.unitsPerMm / width; // Qt counts dash lengths in pen widths
    if (role == StrokeRole::CentreLine)
        pen.setDashPattern({DashMm * mm, GapMm * mm});
    else if (role == StrokeRole::PartLine)
        pen.setDashPattern({PartDashMm * mm, GapMm * mm, PartDotMm * mm, GapMm * mm});
    return pen;
}

// A sheet's coordinates reach the device as single-precision twips, as they always have, so a
// page comes out the same on every device and from one version to the next.
double inTwips(double mm) {
    return static_cast<float>(mm * TwipsPerMm);
}

// An arc as cubic curves of at most 45 degrees each, its ends exactly on the circle: within
// 5e-6 of the radius everywhere, where Qt's quarter-circle curves stray 50 times as far.
QPainterPath arcPath(QPointF c, double r, double startDeg, double sweepDeg) {
    const int pieces = std::max(1, int(std::ceil(std::abs(sweepDeg) / 45)));
    const double step = sweepDeg / pieces * std::numbers::pi / 180;
    const double k = 4.0 / 3 * std::tan(step / 4) * r;
    // Counter-clockwise as seen, with y growing downwards.
    auto on = [&](double a) { return QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a)); };
    auto towards = [](double a) { return QPointF(-std::sin(a), -std::cos(a)); };
    double a = startDeg * std::numbers::pi / 180;
    QPainterPath path(on(a));
    for (int i = 0; i < pieces; ++i, a += step)
        path.cubicTo(on(a) + k * towards(a), on(a + step) - k * towards(a + step), on(a + step));
    return path;
}

void paintStroke(QPainter& p, const SheetStroke& k, const PaintStyle& s) {
    p.setPen(penFor(k.role, s));
    const double unitsPerTwip = s.unitsPerMm / TwipsPerMm;
    auto at = [&](double x, double y) {
        return QPointF(s.origin.x() + inTwips(x) * unitsPerTwip,
                       s.origin.y() + inTwips(y) * unitsPerTwip);
    };
    const double r = inTwips(k.r) * unitsPerTwip;
    switch (k.kind) {
    case SheetStroke::Line:
        p.drawLine(at(k.x1, k.y1), at(k.x2, k.y2));
        break;
    case SheetStroke::Circle:
        p.drawEllipse(at(k.x1, k.y1), r, r);
        break;
    case SheetStroke::Arc:
        p.drawPath(arcPath(at(k.x1, k.y1), r, k.startDeg, k.sweepDeg));
        break;
    }
}

void paintText(QPainter& p, const SheetText& t, const PaintStyle& s) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(TextDesignSize);
    const QFontMetricsF metrics(font);
    const double wanted = t.heightMm * s.unitsPerMm / metrics.height();
    const double room = t.box.width() * s.unitsPerMm / metrics.horizontalAdvance(t.text);
    const double k = std::min(wanted, room);
    p.save();
    if (!t.clip.isEmpty())
        p.setClipRect(QRectF(s.origin.x() + t.clip.left * s.unitsPerMm,
                             s.origin.y() + t.clip.top * s.unitsPerMm,
                             t.clip.width() * s.unitsPerMm, t.clip.height() * s.unitsPerMm),
                      Qt::IntersectClip);
    p.setFont(font);
    p.setPen(QPen(s.colour));
    p.translate(s.origin.x() + t.box.left * s.unitsPerMm,
                s.origin.y() + (t.box.top + t.box.height() / 2) * s.unitsPerMm);
    p.scale(k, k);
    p.drawText(QPointF(0, (metrics.ascent() - metrics.descent()) / 2), t.text);
    p.restore();
}

} // namespace

void PaintSheet(QPainter& painter, const Sheet& sheet, const PaintStyle& style) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (const SheetStroke& k : sheet.figure)
        paintStroke(painter, k, style);
    for (const SheetStroke& k : sheet.marks)
        paintStroke(painter, k, style);
    for (const SheetText& t : sheet.texts)
        paintText(painter, t, style);
}

} // namespace vanecraft
