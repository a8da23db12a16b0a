#include "PartMarks.h"

#include <cmath>
#include <numbers>

namespace vanecraft {

namespace {

constexpr double LabelMm = 2.5;
constexpr double LabelGapMm = 1.5;
constexpr double NoteMm = 2.5;
constexpr double NoteGapMm = 1;
constexpr double FinTickMm = 8; // another set's fin on the guide: a T this long
constexpr double FinBarMm = 4;  // and its bar this wide
constexpr double ButtonMm = 5;  // a rail button's symbol across
constexpr double UnsizedLugMm = 5;
constexpr double WrapperSymbolMm = 3;
// Labels that would overlap move on by a step, at most this many times.
constexpr int MostLabelSteps = 200;

struct Point {
    double x = 0, y = 0;
};

Point along(Point d, double r) {
    return {d.x * r, d.y * r};
}

RectMm boxAround(Point c, double w, double h) {
    return {c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2};
}

bool overlapsAny(const RectMm& box, const std::vector<FigureText>& placed) {
    for (const FigureText& t : placed)
        if (t.box.intersects(box))
            return true;
    return false;
}

// The symbol of a mark on the guide, its centre `radius` out along d; returns how far out it
// reaches.
double guideSymbol(Figure& f, const PartMark& m, Point d, double radius) {
    switch (m.kind) {
    case PartMark::Kind::Fin: {
        const Point e{-d.y, d.x}; // across the fin
        const Point a = along(d, radius), b = along(d, radius + FinTickMm);
        const double h = FinBarMm / 2;
        f.add(Stroke::line(StrokeRole::Mark, a.x, a.y, b.x, b.y));
        f.add(Stroke::line(StrokeRole::Mark, b.x - h * e.x, b.y - h * e.y, b.x + h * e.x,
                           b.y + h * e.y));
        return radius + FinTickMm;
    }
    case PartMark::Kind::LaunchLug: {
        const double r = (m.lugDiameter > 0 ? m.lugDiameter : UnsizedLugMm) / 2;
        const Point c = along(d, radius + r);
        f.add(Stroke::circle(StrokeRole::Mark, c.x, c.y, r));
        return radius + 2 * r;
    }
    case PartMark::Kind::RailButton: {
        const Point c = along(d, radius + ButtonMm / 2);
        f.add(Stroke::circle(StrokeRole::Mark, c.x, c.y, ButtonMm / 2));
        f.add(Stroke::circle(StrokeRole::Mark, c.x, c.y, ButtonMm / 4));
        return radius + ButtonMm;
    }
    }
    return radius;
}

void wrapperSymbol(Figure& f, const PartMark& m, double x, double y) {
    const double r = WrapperSymbolMm / 2;
    if (m.kind == PartMark::Kind::Fin)
        return;
    f.add(Stroke::circle(StrokeRole::Mark, x, y, r));
    if (m.kind == PartMark::Kind::RailButton)
        f.add(Stroke::circle(StrokeRole::Mark, x, y, r / 2));
}

} // namespace

void MarkGuide(Figure& f, const GuideShape& shape, const std::vector<PartMark>& marks) {
    std::vector<FigureText> labels;
    for (const PartMark& m : marks) {
        // Clockwise on the paper from the first fin, which the builder sees from the nose.
        const double a = (shape.firstFinDegrees - m.degrees) * std::numbers::pi / 180;
        const Point d{-std::sin(a), -std::cos(a)};
        const double reach = guideSymbol(f, m, d, shape.radius);
        f.add(Stroke::line(StrokeRole::CentreLine, 0, 0, reach * d.x, reach * d.y));
        const double w = TextWidth(m.label, LabelMm);
        double out = reach + LabelGapMm + std::abs(d.x) * w / 2 + std::abs(d.y) * LabelMm / 2;
        RectMm box = boxAround(along(d, out), w, LabelMm);
        for (int step = 0; step < MostLabelSteps && overlapsAny(box, labels); ++step)
            box = boxAround(along(d, out += LabelMm), w, LabelMm);
        labels.push_back({box, m.label, LabelMm});
    }
    for (const FigureText& t : labels)
        f.add(t);
}

void MarkWrapper(Figure& f, const WrapperShape& s, const std::vector<PartMark>& marks) {
    const double length = s.bottom - s.top;
    std::vector<FigureText> labels;
    for (const PartMark& m : marks) {
        double y = s.firstMark + m.degrees / 360 * length;
        if (y > s.bottom)
            y -= length;
        f.add(Stroke::line(StrokeRole::PartLine, s.left, y, s.right, y));
        wrapperSymbol(f, m, s.right - WrapperSymbolMm, y);
        const double w = TextWidth(m.label, LabelMm);
        double left = s.left + LabelGapMm;
        RectMm box{left, y - LabelMm - 0.5, left + w, y - 0.5};
        for (int step = 0; step < MostLabelSteps && overlapsAny(box, labels); ++step)
            box = box.translated(w + LabelGapMm, 0);
        labels.push_back({box, m.label, LabelMm});
    }
    const QString nose = QStringLiteral("nose →");
    const double w = TextWidth(nose, LabelMm), middle = (s.top + s.bottom) / 2;
    labels.push_back(
        {{s.left - LabelGapMm - w, middle - LabelMm / 2, s.left - LabelGapMm, middle + LabelMm / 2},
         nose,
         LabelMm});
    for (const FigureText& t : labels)
        f.add(t);
}

void AddNotes(Figure& f, const QStringList& notes) {
    if (notes.isEmpty() || f.isEmpty())
        return;
    double top = f.bounds().bottom + 2 * NoteGapMm;
    for (const QString& note : notes) {
        const double w = TextWidth(note, NoteMm);
        f.add(FigureText{{-w / 2, top, w / 2, top + NoteMm}, note, NoteMm});
        top += NoteMm + NoteGapMm;
    }
}

} // namespace vanecraft
