#pragma once

#include <QIODevice>
#include <QString>

struct archive;

namespace vanecraft {

// The bytes of a gzip stream, or of the design entry of a ZIP archive, decompressed as they are
// read from `source`, so an entry is never held whole.
class ArchiveDevice : public QIODevice {
public:
    enum class Container { Gzip, Zip };
    // Past this many entries a ZIP archive is not a design: no saver writes more than a few
    // images beside the design.
    static constexpr int MaxZipEntries = 10000;

    ArchiveDevice(QIODevice& source, Container container);
    ~ArchiveDevice() override;

    // Finds the stream or entry to read and opens this device on it. In a ZIP archive that is
    // the entry named rocket.ork, wherever it sits, else the first whose name ends in .ork.
    // Returns why it cannot, in words for a message; empty on success.
    QString start();
    const QString& entryName() const { return entryName_; }
    // Whether decompressing has failed; errorString() says why.
    bool failed() const { return failed_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool openArchive();
    void closeArchive();
    QString archiveError(const char* fallback) const;
    QString findZipEntry(int* chosen);
    QString skipToEntry(int index);

    QIODevice& source_;
    Container container_;
    archive* archive_ = nullptr;
    QByteArray block_; // what the source gave libarchive last
    QString entryName_;
    bool failed_ = false;
    friend struct ArchiveCallbacks;
};

// Passes another device's bytes on, refusing a stream longer than any design, or a text, tag,
// comment or other single item longer than any of a design, before a parser would hold it.
class GuardedDevice : public QIODevice {
public:
    static constexpr qint64 MaxBytes = 256ll << 20;
    static constexpr qint64 MaxTextBytes = 16ll << 20;

    explicit GuardedDevice(QIODevice& source) : source_(source) {}
    bool isSequential() const override { return true; }
    // Why reading stopped early, in words for a message; empty while all is well.
    const QString& failure() const { return failure_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 fail(const QString& reason);
    bool scan(const char* data, qint64 n);

    enum class State { Markup, Comment, CData, Instruction };

    QIODevice& source_;
    QString failure_;
    qint64 total_ = 0, run_ = 0;
    State state_ = State::Markup;
    quint64 window_ = 0; // the last eight bytes
};

} // namespace vanecraft
