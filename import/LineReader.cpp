#include "LineReader.h"

#include "TextScan.h"

namespace vanecraft {

namespace {
constexpr qint64 BlockSize = 1 << 20;
}

// Keeps the unread bytes and appends one block after them.
bool LineReader::fill() {
    if (eof_)
        return false;
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    const qsizetype old = buffer_.size();
    // A small file needs no megabyte of buffer.
    qint64 want = BlockSize;
    if (!device_.isSequential())
        want = qBound(qint64(4096), device_.size() - device_.pos(), BlockSize);
    buffer_.resize(old + want);
    const qint64 got = device_.read(buffer_.data() + old, want);
    buffer_.resize(old + qMax<qint64>(got, 0));
    failed_ = got < 0;
    eof_ = got <= 0;
    return got > 0;
}

// Hands out buffer_[pos_, end) as a line, unless it is longer than any design's.
bool LineReader::lineOver(QByteArrayView& line, qsizetype end) {
    ++lineNumber_;
    if (end - pos_ > MaxLineBytes) {
        tooLong_ = true;
        return false;
    }
    line = QByteArrayView(buffer_.constData() + pos_, end - pos_);
    return true;
}

// False at the end of the device.
bool LineReader::skipPendingLf() {
    if (!pendingCr_)
        return true;
    if (pos_ >= buffer_.size() && !fill())
        return false;
    if (buffer_[pos_] == '\n')
        ++pos_;
    pendingCr_ = false;
    return true;
}

bool LineReader::readLine(QByteArrayView& line) {
    line = {};
    if (tooLong_ || !skipPendingLf())
        return false;
    qsizetype searched = 0; // bytes after pos_ known to hold no line end
    for (;;) {
        const char* data = buffer_.constData();
        if (const char* end = FirstLineEnd(data + pos_ + searched, data + buffer_.size())) {
            pendingCr_ = *end == '\r';
            const bool ok = lineOver(line, end - data);
            pos_ = end - data + 1;
            return ok;
        }
        searched = buffer_.size() - pos_;
        if (searched > MaxLineBytes)
            return lineOver(line, buffer_.size());
        if (!fill()) {
            const qsizetype end = buffer_.size();
            if (failed_ || pos_ == end)
                return false;
            const bool ok = lineOver(line, end); // the last line, without an end
            pos_ = end;
            return ok;
        }
    }
}

LineReader::Rest LineReader::checkRest() {
    if (tooLong_)
        return Rest::TooLong;
    TextScan scan(MaxLineBytes, pendingCr_);
    qint64 base = lineNumber_;
    TextScan::Verdict v = scan.feed(buffer_.constData() + pos_, buffer_.size() - pos_);
    pos_ = 0;
    buffer_.clear();
    while (v == TextScan::Verdict::Going && fill()) {
        v = scan.feed(buffer_.constData(), buffer_.size());
        buffer_.clear();
    }
    lineNumber_ = base + scan.lineEnds();
    if (v == TextScan::Verdict::Going && failed_)
        return Rest::Failed;
    if (v == TextScan::Verdict::Going)
        v = scan.finish();
    if (v == TextScan::Verdict::TooLong) {
        ++lineNumber_;
        tooLong_ = true;
    }
    return v == TextScan::Verdict::NotText   ? Rest::NotText
           : v == TextScan::Verdict::TooLong ? Rest::TooLong
                                             : Rest::Text;
}

} // namespace vanecraft
