#pragma once

#include "model/Design.h"

#include <QString>
#include <QStringList>

#include <cmath>

// Marks written as triples: kind ("L" launch lug, "R" rail button), angle in degrees, name.
// Empty when the marks match, else what differs; angles to 1e-9 degrees.
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
        const QString kind =
            m.kind == TubeMark::Kind::LaunchLug ? QStringLiteral("L") : QStringLiteral("R");
        const double angle = expected[at + 1].toDouble();
        if (kind != expected[at] || !(std::abs(m.angleDeg - angle) <= 1e-9) ||
            m.name != expected[at + 2])
            return QStringLiteral("mark %1 is %2 %3 \"%4\", expected %5 %6 \"%7\"")
                .arg(i)
                .arg(kind)
                .arg(m.angleDeg, 0, 'g', 17)
                .arg(m.name, expected[at], expected[at + 1], expected[at + 2]);
    }
    return {};
}
