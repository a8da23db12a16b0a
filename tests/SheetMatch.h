#pragma once

// Checks pages read back from a file against the sheets they were drawn from, and puts tiled
// pages back together to check that they hold the whole figure.
#include "PageGeometry.h"
#include "sheets/SheetLayout.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace sheet_match {

constexpr double Tolerance = 0.01; // mm

inline bool near(double a, double b, double t = Tolerance) {
    return std::abs(a - b) <= t;
}

// Empty when every stroke of the sheet is on the page in the same order (to 0.01 mm), with
// nothing else drawn; else what differs. `outlinePx`: the cut line's width in `penMm` units.
inline QString CompareWithSheet(const PageGeometry& g, const vanecraft::Sheet& sheet,
                                double penMm = 25.4 / 600, int outlinePx = 3) {
    using vanecraft::SheetStroke;
    if (!g.error.isEmpty())
        return g.error;
    size_t line = 0, circle = 0, arc = 0;
    std::vector<SheetStroke> all = sheet.figure;
    all.insert(all.end(), sheet.marks.begin(), sheet.marks.end());
    for (const SheetStroke& k : all) {
        if (k.kind == SheetStroke::Line) {
            if (near(k.x1, k.x2, 1e-9) && near(k.y1, k.y2, 1e-9))
                continue; // a line of no length leaves no trace in a file
            if (line >= g.segments.size())
                return QStringLiteral("line %1 is missing").arg(line);
            const auto& s = g.segments[line++];
            if (!near(s.x1, k.x1) || !near(s.y1, k.y1) || !near(s.x2, k.x2) || !near(s.y2, k.y2))
                return QStringLiteral("line %1 is (%2, %3)-(%4, %5), not (%6, %7)-(%8, %9)")
                    .arg(line)
                    .arg(s.x1)
                    .arg(s.y1)
                    .arg(s.x2)
                    .arg(s.y2)
                    .arg(k.x1)
                    .arg(k.y1)
                    .arg(k.x2)
                    .arg(k.y2);
            // A centre line: 2 mm drawn, 1 mm left out; another part's: 4, 1, 0.5, 1; on every
            // device.
            using vanecraft::StrokeRole;
            const std::vector<double> pattern =
                k.role == StrokeRole::CentreLine ? std::vector<double>{2, 1}
                : k.role == StrokeRole::PartLine ? std::vector<double>{4, 1, 0.5, 1}
                                                 : std::vector<double>{};
            if (s.dashed != !pattern.empty())
                return QStringLiteral("line %1 is dashed wrongly").arg(line);
            bool dashesOk = s.dashes.size() == pattern.size();
            for (size_t i = 0; dashesOk && i < pattern.size(); ++i)
                dashesOk = near(s.dashes[i], pattern[i]);
            if (s.dashed && !dashesOk)
                return QStringLiteral("line %1 has dashes of %2 mm")
                    .arg(line)
                    .arg(s.dashes.empty() ? 0.0 : s.dashes[0]);
            const int px = k.role == vanecraft::StrokeRole::Outline ? outlinePx : 1;
            if (penMm > 0 && !near(s.width, px * penMm, 0.002))
                return QStringLiteral("line %1 is %2 mm wide").arg(line).arg(s.width);
        } else if (k.kind == SheetStroke::Circle) {
            if (circle >= g.circles.size())
                return QStringLiteral("circle %1 is missing").arg(circle);
            const auto& c = g.circles[circle++];
            if (!near(c.cx, k.x1) || !near(c.cy, k.y1) || !near(c.r, k.r))
                return QStringLiteral("circle at %1, %2, r %3").arg(c.cx).arg(c.cy).arg(c.r);
        } else {
            if (arc >= g.arcs.size())
                return QStringLiteral("arc %1 is missing").arg(arc);
            const auto& points = g.arcs[arc++];
            for (const auto& p : points)
                if (!near(std::hypot(p[0] - k.x1, p[1] - k.y1), k.r))
                    return QStringLiteral("arc %1 leaves its circle").arg(arc);
            // It starts and ends where the sheet says, turning counter-clockwise as seen.
            auto at = [&k](double deg) {
                const double a = deg * std::numbers::pi / 180;
                return PageGeometry::Point{k.x1 + k.r * std::cos(a), k.y1 - k.r * std::sin(a)};
            };
            const auto from = at(k.startDeg), to = at(k.startDeg + k.sweepDeg);
            if (!near(points.front()[0], from[0]) || !near(points.front()[1], from[1]) ||
                !near(points.back()[0], to[0]) || !near(points.back()[1], to[1]))
                return QStringLiteral("arc %1 runs from (%2, %3), not (%4, %5)")
                    .arg(arc)
                    .arg(points.front()[0])
                    .arg(points.front()[1])
                    .arg(from[0])
                    .arg(from[1]);
        }
    }
    if (line != g.segments.size() || circle != g.circles.size() || arc != g.arcs.size())
        return QStringLiteral("the page has more: %1 lines, %2 circles, %3 arcs")
            .arg(g.segments.size())
            .arg(g.circles.size())
            .arg(g.arcs.size());
    return QString();
}

// Empty when everything drawn on the page lies inside the printable area.
inline QString InsidePrintable(const PageGeometry& g, const vanecraft::RectMm& area) {
    auto inside = [&](double x, double y) {
        return x >= area.left - 1e-6 && x <= area.right + 1e-6 && y >= area.top - 1e-6 &&
               y <= area.bottom + 1e-6;
    };
    for (const auto& s : g.segments)
        if (!inside(s.x1, s.y1) || !inside(s.x2, s.y2))
            return QStringLiteral("a line reaches (%1, %2)").arg(s.x1).arg(s.y1);
    for (const auto& c : g.circles)
        if (!inside(c.cx - c.r, c.cy - c.r) || !inside(c.cx + c.r, c.cy + c.r))
            return QStringLiteral("a circle at %1, %2 leaves the area").arg(c.cx).arg(c.cy);
    for (const auto& a : g.arcs)
        for (const auto& p : a)
            if (!inside(p[0], p[1]))
                return QStringLiteral("an arc reaches (%1, %2)").arg(p[0]).arg(p[1]);
    return QString();
}

// Merged intervals cover [from, to] with no gap over the tolerance.
inline bool covers(std::vector<std::pair<double, double>> parts, double from, double to,
                   double gap) {
    std::sort(parts.begin(), parts.end());
    double reached = from;
    for (const auto& [a, b] : parts) {
        if (reached >= to - gap)
            break;
        if (a > reached + gap)
            return false;
        reached = std::max(reached, b);
    }
    return reached >= to - gap;
}

// Empty when the pages, each shifted back by its sheet's offset, hold every stroke of the figure
// over its whole length (lines) or all the way round (circles).
inline QString Reassembles(const std::vector<PageGeometry>& pages,
                           const vanecraft::SheetLayout& layout, const vanecraft::Figure& figure) {
    using vanecraft::Stroke;
    for (const Stroke& k : figure.strokes()) {
        std::vector<std::pair<double, double>> parts;
        const double len = std::hypot(k.x2 - k.x1, k.y2 - k.y1);
        for (size_t i = 0; i < pages.size() && i < layout.sheets.size(); ++i) {
            const double dx = layout.sheets[i].offsetX, dy = layout.sheets[i].offsetY;
            if (k.kind == Stroke::Line) {
                if (len < 1e-9)
                    continue;
                const double ux = (k.x2 - k.x1) / len, uy = (k.y2 - k.y1) / len;
                for (const auto& s : pages[i].segments) {
                    const double ax = s.x1 - dx - k.x1, ay = s.y1 - dy - k.y1;
                    const double bx = s.x2 - dx - k.x1, by = s.y2 - dy - k.y1;
                    if (std::abs(ax * uy - ay * ux) > Tolerance ||
                        std::abs(bx * uy - by * ux) > Tolerance)
                        continue;
                    const double t1 = ax * ux + ay * uy, t2 = bx * ux + by * uy;
                    parts.emplace_back(std::min(t1, t2), std::max(t1, t2));
                }
            } else {
                for (const auto& c : pages[i].circles)
                    if (near(c.cx - dx, k.x1) && near(c.cy - dy, k.y1) && near(c.r, k.r))
                        parts.emplace_back(0, 360);
                for (const auto& a : pages[i].arcs) {
                    std::vector<double> deg;
                    bool on = true;
                    for (const auto& p : a) {
                        const double x = p[0] - dx - k.x1, y = p[1] - dy - k.y1;
                        on = on && near(std::hypot(x, y), k.r);
                        deg.push_back(std::atan2(-y, x) * 180 / std::numbers::pi);
                    }
                    for (size_t j = 1; on && j < deg.size(); ++j) {
                        double a0 = deg[j - 1], sweep = deg[j] - a0;
                        sweep -= 360 * std::round(sweep / 360); // steps are under 180 degrees
                        double lo = std::min(a0, a0 + sweep), hi = std::max(a0, a0 + sweep);
                        lo = std::fmod(lo + 720, 360);
                        hi = lo + (std::max(a0, a0 + sweep) - std::min(a0, a0 + sweep));
                        parts.emplace_back(lo, std::min(hi, 360.0));
                        if (hi > 360)
                            parts.emplace_back(0, hi - 360);
                    }
                }
            }
        }
        const bool whole = k.kind == Stroke::Line
                               ? len < 1e-9 || covers(parts, 0, len, Tolerance)
                               : covers(parts, 0, 360, Tolerance / k.r * 180 / std::numbers::pi);
        if (!whole) {
            QString got;
            for (const auto& [a, b] : parts)
                got += QStringLiteral(" [%1, %2]").arg(a).arg(b);
            return QStringLiteral("the figure's %1 at (%2, %3) is not whole on the sheets:%4 of %5")
                .arg(k.kind == Stroke::Line ? QStringLiteral("line") : QStringLiteral("circle"))
                .arg(k.x1)
                .arg(k.y1)
                .arg(got)
                .arg(k.kind == Stroke::Line ? len : 360);
        }
    }
    return QString();
}

} // namespace sheet_match
