#include "FileAccess.h"

#include "model/Design.h"

#include <QDir>
#include <QFileInfo>

namespace vanecraft {

QString FileError(const QString& name, const QString& reason) {
    return QStringLiteral("The file \"%1\" cannot be read: %2.")
        .arg(QDir::toNativeSeparators(name), reason);
}

QString OpenDesignFile(QFile& file) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (!info.exists())
        return FileError(path, QStringLiteral("it does not exist"));
    if (info.isDir())
        return FileError(path, QStringLiteral("it is a folder"));
    if (!info.isFile())
        return FileError(path, QStringLiteral("it is not a regular file"));
    if (file.open(QIODevice::ReadOnly))
        return QString();
    const QString reason = file.error() == QFileDevice::PermissionsError
                               ? QStringLiteral("permission denied")
                               : file.errorString();
    return FileError(path, reason);
}

QString ManyFinSetsWarning(int finSets) {
    return QStringLiteral("This design has %1 fin sets: only the first %2 of them can be "
                          "selected.")
        .arg(finSets)
        .arg(MostFinSetsKept);
}

} // namespace vanecraft
