#pragma once

#include "model/Design.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>

// Marks written as triples: kind ("L" launch lug, "R" rail button, "T" tube fins), angle in degrees
// ("?" for one the file gives unreadably), name. Empty when the marks match, else what differs;
// angles to 1e-9 degrees.
inline QString MarksMismatch(const std::vector<vanecraft::TubeMark>& got,
                             const QStringList& expected) {
    using vanecraft::TubeMark;
    if (expected.size() % 3 != 0)
        return QStringLiteral("expected marks are not triples");
    if (qsizetype(got.size()) != expected.size() / 3)
        return QStringLiteral("%1 marks, expected %2").arg(got.size()).arg(expected.size() / 3);
    for (size_t i = 0; i < got.size(); ++i) {
        const TubeMark& m = got[i];
        const qsizetype at = qsizetype(i) * 3;
        const QString kind = m.kind == TubeMark::Kind::LaunchLug    ? QStringLiteral("L")
                             : m.kind == TubeMark::Kind::RailButton ? QStringLiteral("R")
                                                                    : QStringLiteral("T");
        const bool unknown = expected[at + 1] == QLatin1String("?");
        const double angle = expected[at + 1].toDouble();
        const bool angleOk = unknown
                                 ? !m.angle.readable()
                                 : m.angle.readable() && std::abs(m.angle.degrees - angle) <= 1e-9;
        if (kind != expected[at] || !angleOk || m.name != expected[at + 2])
            return QStringLiteral("mark %1 is %2 %3 \"%4\", expected %5 %6 \"%7\"")
                .arg(i)
                .arg(kind)
                .arg(m.angle.degrees, 0, 'g', 17)
                .arg(m.name, expected[at], expected[at + 1], expected[at + 2]);
    }
    return {};
}

// Empty when each fin set's angle (NaN: unreadable) and its tube's marks, and the marks of the tube
// shown without a fin set, are as expected; else what differs. Angles agree to 1e-9 degrees, or to
// 1e-9 of their size when `relative` (radians turned into degrees differ in the last bits).
inline QString AnglesMismatch(const vanecraft::Design& d, const QList<double>& finAngles,
                              const QList<QStringList>& finMarks, const QStringList& unheldMarks,
                              bool relative = false) {
    if (qsizetype(d.FinSets.size()) != finAngles.size())
        return QStringLiteral("%1 fin sets, expected %2")
            .arg(d.FinSets.size())
            .arg(finAngles.size());
    for (qsizetype i = 0; i < finAngles.size(); ++i) {
        const vanecraft::FinSet& f = d.FinSets[size_t(i)];
        const double scale = relative ? std::max(1.0, std::abs(finAngles[i])) : 1.0;
        const bool ok = std::isnan(finAngles[i])
                            ? !f.Rotation.readable()
                            : f.Rotation.readable() &&
                                  std::abs(f.Rotation.degrees - finAngles[i]) <= 1e-9 * scale;
        if (!ok)
            return QStringLiteral("fin set %1: %2").arg(i).arg(f.Rotation.degrees, 0, 'g', 17);
        if (const QString m = MarksMismatch(f.Tube.Marks, finMarks[i]); !m.isEmpty())
            return QStringLiteral("fin set %1: ").arg(i) + m;
    }
    if (const QString m = MarksMismatch(d.Unheld.Tube.Marks, unheldMarks); !m.isEmpty())
        return QStringLiteral("unheld: ") + m;
    return {};
}
