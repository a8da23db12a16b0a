#pragma once

#include "RockSimReader.h"
#include "WatchedFile.h"

#include <QIODevice>
#include <QString>

namespace vanecraft {

// Reads a design file of either kind, told by its content, never by its name: OpenRocket
// (plain XML, gzip or ZIP) or RockSim. All or nothing: on failure the message and no design.
LoadResult ReadDesignFile(const QString& path);
// The same, reporting its progress through `control` and stopping when asked to; a stopped load
// is not ok and says it was cancelled.
LoadResult ReadDesignFile(const QString& path, LoadControl& control);
// The same over an open device; `name` is what messages call it. An OpenRocket ZIP archive
// whose design entry is not its first is read twice, so it needs a device that can seek.
LoadResult ReadDesignDevice(QIODevice& device, const QString& name);

// Whether these first bytes of a text start an XML document whose root is <openrocket>.
bool IsOpenRocketXml(const QByteArray& head);

} // namespace vanecraft
