#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

namespace vanecraft {

// Splits a device into lines ended by CR LF, LF or a lone CR; the last line may lack an end.
// Reads in blocks and hands out views into its buffer, so only the current line and one block
// are held at a time and no line is copied.
class LineReader {
public:
    explicit LineReader(QIODevice& device) : device_(device) {}

    // No RockSim line comes near this; a longer one is refused rather than held.
    static constexpr qsizetype MaxLineBytes = 16 << 20;

    // False at the end of the device, on a read error (see failed()) or at a line longer than
    // MaxLineBytes (see tooLong()). The view stays valid until the next call.
    bool readLine(QByteArrayView& line);

    enum class Rest { Text, NotText, TooLong, Failed };
    // Reads the rest of the device without handing out lines, only checking that it is text: no
    // NUL byte and no line longer than MaxLineBytes. lineNumber() keeps counting its lines.
    Rest checkRest();

    bool failed() const { return failed_; }
    bool tooLong() const { return tooLong_; }
    qint64 lineNumber() const { return lineNumber_; }

private:
    bool fill();
    bool lineOver(QByteArrayView& line, qsizetype end);
    bool skipPendingLf();

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool tooLong_ = false;
    bool pendingCr_ = false; // the previous line ended with CR; swallow a following LF
    qint64 lineNumber_ = 0;
};

} // namespace vanecraft
