#pragma once

#include "model/Design.h"

#include <QString>

// Reads one field of a design by a short key: "name", "held", "od", "id", "len" (the tube shown
// after a load), or "N.count", "N.root", "N.span", "N.thick", "N.fname", "N.od", "N.id",
// "N.len" for fin set N (0: a number without a fin set). Values come as the file wrote them.
inline QString DesignField(const vanecraft::Design& d, const QString& key) {
    if (key == QLatin1String("name"))
        return d.RocketName;
    if (key == QLatin1String("held"))
        return QString::number(d.finSetsOffered());
    const vanecraft::TubeValues& first = d.finSet(1).Tube;
    if (key == QLatin1String("od"))
        return first.OD.text;
    if (key == QLatin1String("id"))
        return first.ID.text;
    if (key == QLatin1String("len"))
        return first.Len.text;
    const vanecraft::FinSet& f = d.finSet(key.section(u'.', 0, 0).toInt());
    const QString field = key.section(u'.', 1);
    const std::pair<const char*, QString> fields[] = {
        {"count", f.Count.text},     {"root", f.Root.text},    {"span", f.Span.text},
        {"thick", f.Thickness.text}, {"fname", f.Name},        {"od", f.Tube.OD.text},
        {"id", f.Tube.ID.text},      {"len", f.Tube.Len.text},
    };
    for (const auto& [name, value] : fields)
        if (field == QLatin1String(name))
            return value;
    return QStringLiteral("<unknown key %1>").arg(key);
}
