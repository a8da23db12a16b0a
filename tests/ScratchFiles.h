#pragma once

// Design files a test writes for the reader, each under a new name in a folder of its own that
// goes with the test.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

class ScratchFiles {
public:
    bool isValid() const { return dir_.isValid(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }

    QString write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("f%1.rkt").arg(++counter_));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return path;
    }

private:
    QTemporaryDir dir_;
    int counter_ = 0;
};
