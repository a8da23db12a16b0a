#include "TextScan.h"

#include <cstring>

namespace vanecraft {

namespace {

// Sixteen bytes compared at once; GCC and Clang turn these into the machine's vector compares.
using Bytes = signed char __attribute__((vector_size(16)));

Bytes load(const char* p) {
    Bytes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

const char* lastLineEnd(const char* p, const char* end) {
    const auto* lf = static_cast<const char*>(memrchr(p, '\n', size_t(end - p)));
    const char* from = lf ? lf + 1 : p;
    const auto* cr = static_cast<const char*>(memrchr(from, '\r', size_t(end - from)));
    return cr ? cr : lf;
}

// The line ends among the 16-byte groups of data[0, n - 1) while a byte counter cannot
// overflow; returns how far it got.
qsizetype countGroups(const char* data, qsizetype n, qint64* lines) {
    qsizetype i = 0;
    while (n - i > 16) {
        Bytes acc = {};
        const qsizetype rounds = std::min<qsizetype>(255, (n - 1 - i) / 16);
        for (qsizetype r = 0; r < rounds; ++r, i += 16) {
            const Bytes b = load(data + i), next = load(data + i + 1);
            const Bytes lf = b == '\n', cr = b == '\r', lfNext = next == '\n';
            acc -= lf | (cr & ~lfNext); // a true lane is -1
        }
        for (int lane = 0; lane < 16; ++lane)
            *lines += static_cast<unsigned char>(acc[lane]);
    }
    return i;
}

} // namespace

const char* FirstLineEnd(const char* p, const char* end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    // A CR can only come first if it lies before the LF: search no further.
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', size_t((lf ? lf : end) - p)));
    return cr ? cr : lf;
}

qint64 CountLineEnds(const char* data, qsizetype n, bool afterCr) {
    qint64 lines = 0;
    qsizetype i = countGroups(data, n, &lines);
    for (; i < n; ++i)
        lines += data[i] == '\n' || (data[i] == '\r' && (i + 1 == n || data[i + 1] != '\n'));
    if (afterCr && n > 0 && data[0] == '\n')
        --lines;
    return lines;
}

TextScan::Verdict TextScan::feed(const char* data, qsizetype n) {
    if (n <= 0)
        return Verdict::Going;
    const char* end = data + n;
    const char* first = FirstLineEnd(data, end);
    if (!first) { // the current line goes on through the whole block
        run_ += n;
        nulLine_ = nulLine_ || std::memchr(data, 0, size_t(n));
        afterCr_ = false;
        return run_ > max_ ? Verdict::TooLong : Verdict::Going;
    }
    if (run_ + (first - data) > max_)
        return Verdict::TooLong;
    if (nulLine_)
        return Verdict::NotText;
    // Lines inside one block are shorter than the limit, so a NUL whose line ends here decides.
    const auto* nul = static_cast<const char*>(std::memchr(data, 0, size_t(n)));
    const char* last = lastLineEnd(data, end);
    if (nul && nul < last)
        return Verdict::NotText;
    nulLine_ = nul != nullptr;
    lines_ += CountLineEnds(data, n, afterCr_);
    run_ = end - last - 1;
    afterCr_ = end[-1] == '\r';
    return Verdict::Going;
}

} // namespace vanecraft
