#pragma once

#include <QFile>
#include <QIODevice>

#include <atomic>

namespace vanecraft {

// How far a load has come, and whether the user wants it stopped; shared between the thread
// that loads and the window that shows its progress.
struct LoadControl {
    std::atomic<qint64> done{0};  // bytes of the file read so far
    std::atomic<qint64> total{0}; // the file's size
    std::atomic<bool> cancel{false};
};

// A file read through `control`: every read counts its bytes, and once cancel is asked every
// read fails, so whichever reader is at work stops at its next read.
class WatchedFile : public QIODevice {
public:
    WatchedFile(QFile& file, LoadControl& control);
    bool isSequential() const override { return false; }
    qint64 size() const override { return file_.size(); }
    bool seek(qint64 pos) override;
    bool cancelled() const { return control_.cancel.load(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QFile& file_;
    LoadControl& control_;
};

} // namespace vanecraft
