#pragma once

#include "model/Design.h"

#include <QString>

// Reads one field of a design by a short key: "name", "od", "id", "len", or "N.count",
// "N.root", "N.span", "N.thick", "N.fname", "N.od", "N.id", "N.len" for slot N.
inline QString DesignField(const vanecraft::Design& d, const QString& key) {
    if (key == QLatin1String("name"))
        return d.RocketName;
    if (key == QLatin1String("od"))
        return d.BodyTubeOD;
    if (key == QLatin1String("id"))
        return d.BodyTubeID;
    if (key == QLatin1String("len"))
        return d.BodyTubeLen;
    if (key == QLatin1String("held"))
        return QString::number(d.finSetsHeld());
    const int slot = key.left(1).toInt();
    const QString f = key.mid(2);
    if (f == QLatin1String("count"))
        return d.FinSetCount[slot];
    if (f == QLatin1String("root"))
        return d.FinSetRoot[slot];
    if (f == QLatin1String("span"))
        return d.FinSetSpan[slot];
    if (f == QLatin1String("thick"))
        return d.FinSetThickness[slot];
    if (f == QLatin1String("fname"))
        return d.FinSetName[slot];
    if (f == QLatin1String("od"))
        return d.FinSetTubeOD[slot];
    if (f == QLatin1String("id"))
        return d.FinSetTubeID[slot];
    if (f == QLatin1String("len"))
        return d.FinSetTubeLen[slot];
    return QStringLiteral("<unknown key %1>").arg(key);
}
