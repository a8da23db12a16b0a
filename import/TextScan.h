#pragma once

#include <QtGlobal>

namespace vanecraft {

// Follows a stream of bytes block by block to tell whether it is text: no NUL byte and no line
// longer than a limit. Counts its lines as LineReader does (CR LF, LF or a lone CR end one).
// Works over whole blocks with memchr and vector compares, never line by line.
class TextScan {
public:
    enum class Verdict { Going, NotText, TooLong };

    // `afterCr`: the bytes before ended with a CR, so a first LF ends no line.
    TextScan(qsizetype maxLineBytes, bool afterCr) : max_(maxLineBytes), afterCr_(afterCr) {}

    // Takes the next block; Going while nothing is wrong yet.
    Verdict feed(const char* data, qsizetype n);
    // At the end of the stream.
    Verdict finish() const { return nulLine_ ? Verdict::NotText : Verdict::Going; }
    // Line ends seen; for TooLong, the number of the long line is this plus one.
    qint64 lineEnds() const { return lines_; }

private:
    qsizetype max_;
    bool afterCr_;
    qsizetype run_ = 0;    // bytes of the current line so far
    bool nulLine_ = false; // the current line holds a NUL byte
    qint64 lines_ = 0;
};

// The first CR or LF in [p, end), or null.
const char* FirstLineEnd(const char* p, const char* end);

// The line ends in a block: each LF, and each CR not followed by LF. A CR ending the block
// counts; `afterCr` says a CR ended the block before, so a first LF does not.
qint64 CountLineEnds(const char* data, qsizetype n, bool afterCr);

} // namespace vanecraft
