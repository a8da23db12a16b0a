#pragma once

#include "settings/AppPaths.h"

#include <QSettings>

namespace vanecraft {

// The placement store, opened at the group that holds every key of the main window.
struct PlacementStore : QSettings {
    PlacementStore() : QSettings(UsableStorePath(), QSettings::IniFormat) {
        beginGroup(QStringLiteral("Settings"));
    }
};

} // namespace vanecraft
