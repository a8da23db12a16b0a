#pragma once

#include <QByteArray>
#include <QIODevice>

namespace vanecraft {

// Splits a device into lines ended by CR LF, LF or a lone CR; the last line may lack an end.
// Reads in blocks, so only the current line and one block are held at a time.
class LineReader {
public:
    explicit LineReader(QIODevice& device) : device_(device) {}

    // False at the end of the device or on a read error (see failed()).
    bool readLine(QByteArray& line);
    bool failed() const { return failed_; }
    qint64 lineNumber() const { return lineNumber_; }

private:
    bool fill();

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool pendingCr_ = false; // the previous line ended with CR; swallow a following LF
    qint64 lineNumber_ = 0;
};

} // namespace vanecraft
