#pragma once

#include <QString>

namespace vanecraft {

// Where the program keeps its files: the user's configuration folder, unless a test (or the
// command line's caller) points it elsewhere.
QString ConfigDir();
void SetConfigDirOverride(const QString& dir); // empty restores the default
QString PlacementStorePath();                  // the window placement (QSettings, INI)
QString SettingsFilePath();                    // Vnlk.ini

} // namespace vanecraft
