#include "DesignFile.h"

#include "Archive.h"
#include "FileAccess.h"
#include "OpenRocketReader.h"
#include "model/Conversions.h"

#include <QFile>
#include <QXmlStreamReader>

namespace vanecraft {

namespace {

// Enough for an XML declaration, a byte-order mark and any comments a writer puts first.
constexpr qint64 SniffBytes = 64 * 1024;

// The decompressed stream of a gzip file: an OpenRocket design, else whatever the RockSim
// reader makes of it.
LoadResult readGzip(QIODevice& device, const QString& name) {
    ArchiveDevice gzip(device, ArchiveDevice::Container::Gzip);
    if (const QString problem = gzip.start(); !problem.isEmpty())
        return LoadResult::refused(FileError(name, problem));
    if (IsOpenRocketXml(gzip.peek(SniffBytes)))
        return ReadOpenRocketDevice(gzip, name);
    GuardedDevice guard(gzip);
    guard.open(QIODevice::ReadOnly);
    return ReadRockSimDevice(guard, name);
}

LoadResult readZip(QIODevice& device, const QString& name) {
    ArchiveDevice zip(device, ArchiveDevice::Container::Zip);
    if (const QString problem = zip.start(); !problem.isEmpty())
        return LoadResult::refused(FileError(name, problem));
    if (IsOpenRocketXml(zip.peek(SniffBytes)))
        return ReadOpenRocketDevice(zip, name);
    if (zip.failed())
        return LoadResult::refused(FileError(
            name, QStringLiteral("it is a damaged ZIP archive (%1)").arg(zip.errorString())));
    return LoadResult::refused(
        FileError(name, QStringLiteral("its entry \"%1\" is not an OpenRocket design")
                            .arg(ShownText(zip.entryName()))));
}

} // namespace

bool IsOpenRocketXml(const QByteArray& head) {
    QXmlStreamReader xml(head);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == u"openrocket";
    }
    return false;
}

LoadResult ReadDesignDevice(QIODevice& device, const QString& name) {
    const QByteArray magic = device.peek(2);
    if (magic == QByteArrayLiteral("\x1F\x8B"))
        return readGzip(device, name);
    if (magic == QByteArrayLiteral("PK"))
        return readZip(device, name);
    if (IsOpenRocketXml(device.peek(SniffBytes)))
        return ReadOpenRocketDevice(device, name);
    return ReadRockSimDevice(device, name);
}

LoadResult ReadDesignFile(const QString& path, LoadControl& control) {
    QFile file(path);
    if (const QString problem = OpenDesignFile(file); !problem.isEmpty())
        return LoadResult::refused(problem);
    WatchedFile watched(file, control);
    LoadResult result = ReadDesignDevice(watched, path);
    if (watched.cancelled())
        return LoadResult{false, {}, QString(), {}, true};
    return result;
}

LoadResult ReadDesignFile(const QString& path) {
    QFile file(path);
    if (const QString problem = OpenDesignFile(file); !problem.isEmpty())
        return LoadResult::refused(problem);
    return ReadDesignDevice(file, path);
}

} // namespace vanecraft
