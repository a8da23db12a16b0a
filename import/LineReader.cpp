#include "LineReader.h"

namespace vanecraft {

namespace {
constexpr qint64 BlockSize = 1 << 20;
}

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
    if (got < 0) {
        failed_ = true;
        eof_ = true;
        buffer_.resize(old);
        return false;
    }
    buffer_.resize(old + got);
    if (got == 0) {
        eof_ = true;
        return false;
    }
    return true;
}

bool LineReader::readLine(QByteArray& line) {
    line.clear();
    if (tooLong_)
        return false;
    for (;;) {
        if (pendingCr_) {
            if (pos_ >= buffer_.size() && !fill())
                return false;
            if (pos_ < buffer_.size()) {
                if (buffer_[pos_] == '\n')
                    ++pos_;
                pendingCr_ = false;
            }
            continue;
        }
        const char* data = buffer_.constData();
        for (qsizetype i = pos_; i < buffer_.size(); ++i) {
            const char c = data[i];
            if (c == '\n' || c == '\r') {
                line.append(data + pos_, i - pos_);
                pos_ = i + 1;
                pendingCr_ = (c == '\r');
                ++lineNumber_;
                return true;
            }
        }
        line.append(data + pos_, buffer_.size() - pos_);
        pos_ = buffer_.size();
        if (line.size() > MaxLineBytes) {
            tooLong_ = true;
            ++lineNumber_;
            line.clear();
            return false;
        }
        if (!fill()) {
            if (failed_ || line.isEmpty())
                return false;
            ++lineNumber_;
            return true; // last line without an end
        }
    }
}

} // namespace vanecraft
