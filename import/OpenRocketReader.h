#pragma once

#include "RockSimReader.h"

#include <QIODevice>
#include <QString>

namespace vanecraft {

// Reads the XML of an OpenRocket design (already out of its gzip or ZIP container) from
// `device` as a stream; `name` is what messages call the file. All or nothing, as every load.
LoadResult ReadOpenRocketDevice(QIODevice& device, const QString& name);

} // namespace vanecraft
