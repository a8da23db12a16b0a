#include "PartMarks.h"

#include <algorithm>
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
// A label that would overlap another moves on by a step, a few times at most: past that the
// figure would only grow.
constexpr int MostLabelSteps = 3;

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

// Whether a label on the strip keeps inside it and off the fin set's own lines.
bool clearOnStrip(const WrapperShape& s, const RectMm& box) {
    if (box.top < s.top || box.bottom > s.bottom)
        return false;
    const double step = (s.bottom - s.top) / s.fins, h = s.finHalfThickness + 0.3;
    for (int i = 0; i < s.fins; ++i) {
        const double y = s.firstMark + i * step;
        if (box.top < y + h && box.bottom > y - h)
            return false;
    }
    return true;
}

// A part's label on the strip: over its line, else under it, else either side of a fin's lines
// it would cross; then moved along the line, within the strip, past labels already there.
RectMm wrapperLabel(const WrapperShape& s, double y, double w,
                    const std::vector<FigureText>& labels) {
    const double left = s.left + LabelGapMm, h = s.finHalfThickness + 0.5;
    const double tops[] = {y - LabelMm - 0.5, y + 0.5, y - h - LabelMm, y + h};
    RectMm box{left, tops[0], left + w, tops[0] + LabelMm};
    for (double top : tops) {
        const RectMm b{left, top, left + w, top + LabelMm};
        if (clearOnStrip(s, b)) {
            box = b;
            break;
        }
    }
    RectMm moved = box;
    for (int step = 0; step < MostLabelSteps && overlapsAny(moved, labels); ++step)
        moved = moved.translated(w + LabelGapMm, 0);
    return moved.right <= s.right && !overlapsAny(moved, labels) ? moved : box;
}

// "← nose" inside the strip by the edge that goes to the nose, so it stays on the strip once
// cut out: between two fin marks, clear of the parts' lines and labels.
FigureText noseLabel(const WrapperShape& s, const std::vector<double>& lines,
                     const std::vector<FigureText>& labels) {
    const QString nose = QStringLiteral("← nose");
    const double w = TextWidth(nose, LabelMm), step = (s.bottom - s.top) / s.fins;
    auto boxAt = [&](double y) {
        return RectMm{s.left + LabelGapMm, y - LabelMm / 2, s.left + LabelGapMm + w,
                      y + LabelMm / 2};
    };
    for (int j = 0; j < s.fins; ++j)
        for (double at : {0.25, 0.75, 0.5}) {
            const RectMm box = boxAt(s.firstMark + (j + at) * step);
            const bool crossed = std::any_of(lines.begin(), lines.end(), [&](double y) {
                return y > box.top - 0.5 && y < box.bottom + 0.5;
            });
            if (box.bottom <= s.bottom && !crossed && !overlapsAny(box, labels))
                return {box, nose, LabelMm};
        }
    return {boxAt(s.firstMark + step / 4), nose, LabelMm};
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
    std::vector<double> lines;
    for (const PartMark& m : marks) {
        double y = s.firstMark + m.degrees / 360 * length;
        if (y > s.bottom)
            y -= length;
        f.add(Stroke::line(StrokeRole::PartLine, s.left, y, s.right, y));
        wrapperSymbol(f, m, s.right - WrapperSymbolMm, y);
        lines.push_back(y);
        labels.push_back(
            {wrapperLabel(s, y, TextWidth(m.label, LabelMm), labels), m.label, LabelMm});
    }
    labels.push_back(noseLabel(s, lines, labels));
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
