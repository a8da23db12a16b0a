#pragma once

// Where each aid must carry the marks of the other parts on the selected fin set's tube, worked
// out from a plain reading of the design (TubeParts.h), and the search for them among the lines
// and circles read back from a page (PageGeometry.h). Figure millimetres, y downwards.

#include "PageGeometry.h"
#include "TubeParts.h"

#include <QStringList>
#include <cmath>
#include <numbers>
#include <vector>

namespace mark_places {

constexpr double Tolerance = 0.01; // mm

struct Mark {
    enum Kind { Fin, Lug, Button } kind = Fin;
    double degrees = 0;    // from the selected set's first fin, clockwise seen from the nose
    double diameterMm = 0; // a lug's
    QString label;         // as lettered: identical parts at one angle share one mark
    QString what;          // for a failure message
};

inline double Relative(double degrees, double from) {
    double r = std::fmod(degrees - from, 360.0);
    if (r < 0)
        r += 360;
    return r >= 360 ? 0 : r;
}

inline void AddOnce(std::vector<Mark>& marks, const Mark& m) {
    for (const Mark& held : marks) {
        const double apart = std::abs(held.degrees - m.degrees);
        if (held.kind == m.kind && held.label == m.label && std::min(apart, 360 - apart) < 1e-9)
            return;
    }
    marks.push_back(m);
}

// The marks fin set n's aids carry: the tube's other fin sets fin by fin, then its lugs and
// buttons in the file's order.
inline std::vector<Mark> ExpectedMarks(const tube_parts::DesignParts& d, int n) {
    const tube_parts::FinSetOnTube& selected = d.finSets[size_t(n - 1)];
    std::vector<Mark> marks;
    for (int k = 1; k <= int(d.finSets.size()); ++k) {
        const tube_parts::FinSetOnTube& f = d.finSets[size_t(k - 1)];
        if (k == n || f.tube != selected.tube)
            continue;
        const QString label = f.name.isEmpty() ? QStringLiteral("fin set %1").arg(k) : f.name;
        for (int j = 0; j < f.count; ++j)
            AddOnce(marks,
                    {Mark::Fin, Relative(f.degrees + j * (360.0 / f.count), selected.degrees), 0,
                     label, QStringLiteral("fin %1 of fin set %2").arg(j + 1).arg(k)});
    }
    int i = 0;
    for (const tube_parts::TubePart& p : d.tubes[size_t(selected.tube)].parts) {
        const QString label = p.name.isEmpty() ? QStringLiteral("tube fins") : p.name;
        for (int j = 0; j < p.tubeFins; ++j)
            AddOnce(marks,
                    {Mark::Fin, Relative(p.degrees + j * (360.0 / p.tubeFins), selected.degrees), 0,
                     label, QStringLiteral("tube fin %1 of %2").arg(j + 1).arg(label)});
        if (p.tubeFins > 0)
            continue;
        const QString what =
            (p.button ? QStringLiteral("rail button %1") : QStringLiteral("lug %1")).arg(++i);
        AddOnce(marks,
                {p.button ? Mark::Button : Mark::Lug, Relative(p.degrees, selected.degrees),
                 p.diameterMm, p.button ? QStringLiteral("rail") : QStringLiteral("lug"), what});
    }
    return marks;
}

inline const std::vector<double> CentreDashes{2, 1};
inline const std::vector<double> PartDashes{4, 1, 0.5, 1};

// A page's lines and circles seen from the figure's centre; each line is found at most once.
class Page {
public:
    Page(const PageGeometry& g, double dx, double dy) : g_(g), dx_(dx), dy_(dy) {
        used_.resize(g.segments.size());
    }

    bool takeLine(double x1, double y1, double x2, double y2, const std::vector<double>& dashes) {
        for (size_t i = 0; i < g_.segments.size(); ++i) {
            const PageGeometry::Segment& s = g_.segments[i];
            const bool ends = (at(s.x1, s.y1, x1, y1) && at(s.x2, s.y2, x2, y2)) ||
                              (at(s.x1, s.y1, x2, y2) && at(s.x2, s.y2, x1, y1));
            if (!used_[i] && ends && drawnWith(s, dashes))
                return used_[i] = true;
        }
        return false;
    }

    bool hasCircle(double x, double y, double r) const {
        for (const PageGeometry::Circle& c : g_.circles)
            if (at(c.cx, c.cy, x, y) && std::abs(c.r - r) <= Tolerance)
                return true;
        return false;
    }

    // Lines drawn with `dashes`; with `fromCentre`, only those with an end at the centre.
    int count(const std::vector<double>& dashes, bool fromCentre) const {
        int n = 0;
        for (const PageGeometry::Segment& s : g_.segments)
            n += drawnWith(s, dashes) &&
                 (!fromCentre || at(s.x1, s.y1, 0, 0) || at(s.x2, s.y2, 0, 0));
        return n;
    }

private:
    bool at(double pageX, double pageY, double x, double y) const {
        return std::abs(pageX - dx_ - x) <= Tolerance && std::abs(pageY - dy_ - y) <= Tolerance;
    }
    static bool drawnWith(const PageGeometry::Segment& s, const std::vector<double>& dashes) {
        if (s.dashes.size() != dashes.size())
            return false;
        for (size_t i = 0; i < dashes.size(); ++i)
            if (std::abs(s.dashes[i] - dashes[i]) > Tolerance)
                return false;
        return true;
    }

    const PageGeometry& g_;
    double dx_, dy_;
    std::vector<bool> used_;
};

inline QString Where(double x, double y) {
    return QStringLiteral("(%1, %2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
}

// What of mark m's symbol on the guide is missing, or empty; `reach` gets how far out it goes.
inline QString GuideSymbolMiss(Page& page, const Mark& m, double R, double dx, double dy,
                               double& reach) {
    if (m.kind == Mark::Fin) {
        reach = R + 8;
        const double ex = -dy * 2, ey = dx * 2; // half the bar, across the fin
        if (!page.takeLine(R * dx, R * dy, reach * dx, reach * dy, {}))
            return QStringLiteral("no fin line out to ") + Where(reach * dx, reach * dy);
        if (!page.takeLine(reach * dx - ex, reach * dy - ey, reach * dx + ex, reach * dy + ey, {}))
            return QStringLiteral("no bar across ") + Where(reach * dx, reach * dy);
        return {};
    }
    const bool lug = m.kind == Mark::Lug;
    const double r = lug ? (m.diameterMm > 0 && m.diameterMm <= 1000 ? m.diameterMm : 5) / 2 : 2.5;
    reach = R + 2 * r;
    const double cx = (R + r) * dx, cy = (R + r) * dy;
    if (!page.hasCircle(cx, cy, r))
        return QStringLiteral("no circle of radius %1 at ").arg(r) + Where(cx, cy);
    if (!lug && !page.hasCircle(cx, cy, r / 2))
        return QStringLiteral("no inner circle of radius %1 at ").arg(r / 2) + Where(cx, cy);
    return {};
}

// The guide of a set of `finCount` fins on a tube of radius R: each mark's symbol, and a dashed
// line from the centre out to its end; no other dashed line from the centre than the fins'.
inline QStringList GuideMisses(Page& page, double R, int finCount, const std::vector<Mark>& marks) {
    QStringList misses;
    const double firstFin = 360.0 / finCount * 0.001;
    for (const Mark& m : marks) {
        const double a = (firstFin - m.degrees) * std::numbers::pi / 180;
        const double dx = -std::sin(a), dy = -std::cos(a);
        double reach = R;
        QString miss = GuideSymbolMiss(page, m, R, dx, dy, reach);
        if (miss.isEmpty() && !page.takeLine(0, 0, reach * dx, reach * dy, CentreDashes))
            miss = QStringLiteral("no dashed line from the centre to ") +
                   Where(reach * dx, reach * dy);
        if (!miss.isEmpty())
            misses
                << QStringLiteral("%1 at %2°: %3").arg(m.what).arg(m.degrees, 0, 'g', 12).arg(miss);
    }
    const int lines = page.count(CentreDashes, true);
    if (lines != finCount + int(marks.size()))
        misses << QStringLiteral("%1 dashed lines from the centre, not %2 fins and %3 marks")
                      .arg(lines)
                      .arg(finCount)
                      .arg(marks.size());
    return misses;
}

// The wrapper around a tube of `odMm` in paper `paperMm` thick, `rootMm` wide: a dash-dot line
// across the strip for each mark, its place along the strip turned with the mark, wrapped onto
// the strip; no other dash-dot line.
inline QStringList WrapperMisses(Page& page, double odMm, double rootMm, double paperMm,
                                 const std::vector<Mark>& marks) {
    QStringList misses;
    const double L = odMm * std::numbers::pi + paperMm;
    const double firstFin = -L / 2 + 200 / 56.7; // 200 twips below the strip's top
    if (!page.takeLine(-rootMm / 2, -L / 2, -rootMm / 2, L / 2, {}))
        misses << QStringLiteral("no strip edge %1 mm long at x %2").arg(L).arg(-rootMm / 2);
    for (const Mark& m : marks) {
        double y = firstFin + m.degrees / 360 * L;
        if (y > L / 2)
            y -= L;
        if (!page.takeLine(-rootMm / 2, y, rootMm / 2, y, PartDashes))
            misses << QStringLiteral("%1 at %2°: no dash-dot line across the strip at y %3")
                          .arg(m.what)
                          .arg(m.degrees, 0, 'g', 12)
                          .arg(y, 0, 'f', 3);
    }
    const int lines = page.count(PartDashes, false);
    if (lines != int(marks.size()))
        misses << QStringLiteral("%1 dash-dot lines, not %2").arg(lines).arg(marks.size());
    return misses;
}

} // namespace mark_places
