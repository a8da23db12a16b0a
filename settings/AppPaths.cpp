#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>
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
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // A relative XDG_CONFIG_HOME is to be ignored: it would put the settings wherever the
    // program happens to be started.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isRelativePath(xdg) && dir.startsWith(xdg))
        return QDir::homePath() + QStringLiteral("/.config") + dir.mid(xdg.size());
    return dir;
}

void SetConfigDirOverride(const QString& dir) {
    overrideDir() = dir;
}

QString PlacementStorePath() {
    return ConfigDir() + QStringLiteral("/Vanecraft.conf");
}

QString UsableStorePath() {
    // Far beyond a placement and five recent designs; a larger file is no store of ours.
    constexpr qint64 LargestStore = 1 << 20;
    const QString path = PlacementStorePath();
    const QFileInfo store(path);
    if (store.exists() && (!store.isFile() || store.size() > LargestStore))
        return QString();
    return path;
}

QString SettingsFilePath() {
    return ConfigDir() + QStringLiteral("/Vnlk.ini");
}

} // namespace vanecraft
