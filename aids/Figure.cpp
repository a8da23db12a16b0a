#include "Figure.h"

#include <algorithm>
#include <limits>

namespace vanecraft {

double TextWidth(const QString& text, double height) {
    return double(text.size()) * CharWidth * height;
}

RectMm Figure::bounds() const {
    if (strokes_.empty())
        return {};
    constexpr double inf = std::numeric_limits<double>::infinity();
    RectMm b{inf, inf, -inf, -inf};
    auto take = [&b](double l, double t, double r, double bt) {
        b.left = std::min(b.left, l);
        b.top = std::min(b.top, t);
        b.right = std::max(b.right, r);
        b.bottom = std::max(b.bottom, bt);
    };
    for (const FigureText& t : texts_)
        take(t.box.left, t.box.top, t.box.right, t.box.bottom);
    for (const Stroke& s : strokes_) {
        if (s.kind == Stroke::Circle)
            take(s.x1 - s.r, s.y1 - s.r, s.x1 + s.r, s.y1 + s.r);
        else
            take(std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
                 std::max(s.y1, s.y2));
    }
    return b;
}

} // namespace vanecraft
