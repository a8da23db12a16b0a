#pragma once

#include <QString>

namespace vanecraft {

// Where the program keeps its files: the user's configuration folder, unless a test (or the
// command line's caller) points it elsewhere.
QString ConfigDir();
void SetConfigDirOverride(const QString& dir); // empty restores the default
QString PlacementStorePath();                  // the window placement (QSettings, INI)
// The placement store's path when it may be read and written: absent, or a regular file of a
// sane size. Empty otherwise, which QSettings reads as nothing and never writes.
QString UsableStorePath();
QString SettingsFilePath(); // Vnlk.ini

} // namespace vanecraft
