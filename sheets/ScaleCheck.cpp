#include "ScaleCheck.h"

#include "Clip.h"

#include <algorithm>

namespace vanecraft {

std::vector<ScaleSize> ScaleSizes(bool inches) {
    if (inches)
        return {{50.8, "2 in"}, {25.4, "1 in"}, {12.7, "0.5 in"}};
    return {{50, "50 mm"}, {20, "20 mm"}, {10, "10 mm"}};
}

QString ScaleCaption(const ScaleSize& size) {
    return QStringLiteral("Scale check: ") + size.stated;
}

double ScaleWidth(const ScaleSize& size) {
    return std::max(size.mm, TextWidth(ScaleCaption(size), CaptionMm));
}

SheetStroke MarkLine(double x1, double y1, double x2, double y2) {
    SheetStroke s;
    s.role = StrokeRole::Mark;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    return s;
}

ScaleCheck MakeScaleCheck(const ScaleSize& size, double left, double top) {
    const QString text = ScaleCaption(size);
    const double y = top + CaptionMm + CaptionGapMm + TickMm / 2;
    const double right = left + size.mm;
    ScaleCheck check;
    check.marks = {MarkLine(left, y, right, y),
                   MarkLine(left, y - TickMm / 2, left, y + TickMm / 2),
                   MarkLine(right, y - TickMm / 2, right, y + TickMm / 2)};
    check.caption = {
        {left, top, left + TextWidth(text, CaptionMm), top + CaptionMm}, text, CaptionMm, {}};
    return check;
}

namespace {

bool ClearOfFigure(const Figure& figure, const RectMm& area) {
    const auto& texts = figure.texts();
    return std::none_of(figure.strokes().begin(), figure.strokes().end(),
                        [&](const Stroke& s) {
                            return s.kind == Stroke::Circle
                                       ? CircleTouches(s.x1, s.y1, s.r, area)
                                       : SegmentTouches(s.x1, s.y1, s.x2, s.y2, area);
                        }) &&
           std::none_of(texts.begin(), texts.end(),
                        [&](const FigureText& t) { return t.box.intersects(area); });
}

} // namespace

std::optional<ScaleCheck> CornerScaleCheck(const Figure& figure, double dx, double dy,
                                           const RectMm& p, bool inches) {
    for (const ScaleSize& size : ScaleSizes(inches)) {
        const double w = ScaleWidth(size), h = ScaleHeightMm;
        const double lefts[] = {p.left + ScaleInsetMm, p.right - ScaleInsetMm - w};
        const double tops[] = {p.bottom - ScaleInsetMm - h, p.top + ScaleInsetMm};
        for (int corner = 0; corner < 4; ++corner) {
            const RectMm spot{lefts[corner % 2], tops[corner / 2], lefts[corner % 2] + w,
                              tops[corner / 2] + h};
            const double c = ScaleClearanceMm;
            if (p.contains(spot) &&
                ClearOfFigure(figure, spot.adjusted(-c, -c, c, c).translated(-dx, -dy)))
                return MakeScaleCheck(size, spot.left, spot.top);
        }
    }
    return std::nullopt;
}

} // namespace vanecraft
