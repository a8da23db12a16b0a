#include "AppPaths.h"

#include <QStandardPaths>

namespace vanecraft {

namespace {
QString& overrideDir() {
    static QString dir;
    return dir;
}
} // namespace

QString ConfigDir() {
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void SetConfigDirOverride(const QString& dir) {
    overrideDir() = dir;
}

QString PlacementStorePath() {
    return ConfigDir() + QStringLiteral("/Vanecraft.conf");
}

QString SettingsFilePath() {
    return ConfigDir() + QStringLiteral("/Vnlk.ini");
}

} // namespace vanecraft
