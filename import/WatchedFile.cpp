#include "WatchedFile.h"

namespace vanecraft {

WatchedFile::WatchedFile(QFile& file, LoadControl& control) : file_(file), control_(control) {
    control_.total = file.size();
    // Unbuffered, so every read reaches readData and a cancel is seen at once.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool WatchedFile::seek(qint64 pos) {
    return QIODevice::seek(pos) && file_.seek(pos);
}

qint64 WatchedFile::readData(char* data, qint64 maxSize) {
    if (control_.cancel) {
        setErrorString(QStringLiteral("the load was cancelled"));
        return -1;
    }
    const qint64 got = file_.read(data, maxSize);
    if (got > 0)
        control_.done = file_.pos();
    else if (got < 0)
        setErrorString(file_.errorString());
    return got;
}

} // namespace vanecraft
