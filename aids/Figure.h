#pragma once

#include <QString>
#include <vector>

namespace vanecraft {

// A rectangle in millimetres, x to the right, y downwards.
struct RectMm {
    double left = 0, top = 0, right = 0, bottom = 0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool isEmpty() const { return !(right > left && bottom > top); }
    bool contains(const RectMm& r) const {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    bool intersects(const RectMm& r) const {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    RectMm translated(double dx, double dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    RectMm adjusted(double dl, double dt, double dr, double db) const {
        return {left + dl, top + dt, right + dr, bottom + db};
    }
    bool operator==(const RectMm&) const = default;
};

// What a stroke is for, which decides how it is drawn: the heavy outline the builder cuts
// along, a thin mark, a dashed centre line, or the dash-dot line of another part on the tube.
enum class StrokeRole { Outline, Mark, CentreLine, PartLine };

// What a character takes across, for the height it is drawn at: an upper bound for the sans
// serif the sheets are lettered in.
constexpr double CharWidth = 0.6;
double TextWidth(const QString& text, double height);

// A line of text in a figure, such as a mark's label: `box` holds it whole at `heightMm`.
struct FigureText {
    RectMm box;
    QString text;
    double heightMm = 0;
    bool operator==(const FigureText&) const = default;
};

// One line or circle of a figure, in millimetres.
struct Stroke {
    enum Kind { Line, Circle } kind = Line;
    StrokeRole role = StrokeRole::Mark;
    double x1 = 0, y1 = 0; // a line's start, or a circle's centre
    double x2 = 0, y2 = 0; // a line's end
    double r = 0;          // a circle's radius

    static Stroke line(StrokeRole role, double x1, double y1, double x2, double y2) {
        return {Line, role, x1, y1, x2, y2, 0};
    }
    static Stroke circle(StrokeRole role, double cx, double cy, double r) {
        return {Circle, role, cx, cy, 0, 0, r};
    }
    bool operator==(const Stroke&) const = default;
};

// An aid as drawn at true size, before any paper is involved. Coordinates are millimetres from
// the figure's own centre (the point a single sheet puts at the middle of the paper), x to the
// right, y downwards.
class Figure {
public:
    void add(const Stroke& s) { strokes_.push_back(s); }
    void add(const FigureText& t) { texts_.push_back(t); }
    const std::vector<Stroke>& strokes() const { return strokes_; }
    const std::vector<FigureText>& texts() const { return texts_; }
    bool isEmpty() const { return strokes_.empty(); }
    // The smallest rectangle holding every stroke (lines and whole circles) and text; empty for
    // no stroke.
    RectMm bounds() const;

private:
    std::vector<Stroke> strokes_;
    std::vector<FigureText> texts_;
};

} // namespace vanecraft
