#include "Archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>

namespace vanecraft {

// libarchive pulls the container's bytes from the source device through these.
struct ArchiveCallbacks {
    static la_ssize_t read(archive* a, void* self, const void** buffer) {
        auto* d = static_cast<ArchiveDevice*>(self);
        d->block_.resize(64 * 1024);
        const qint64 n = d->source_.read(d->block_.data(), d->block_.size());
        if (n < 0) {
            archive_set_error(a, EIO, "%s", qPrintable(d->source_.errorString()));
            return -1;
        }
        *buffer = d->block_.constData();
        return la_ssize_t(n);
    }

    static la_int64_t seek(archive*, void* self, la_int64_t offset, int whence) {
        QIODevice& s = static_cast<ArchiveDevice*>(self)->source_;
        const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s.pos() : s.size();
        const qint64 target = base + offset;
        if (target < 0 || !s.seek(target))
            return ARCHIVE_FATAL;
        return target;
    }
};

ArchiveDevice::ArchiveDevice(QIODevice& source, Container container)
    : source_(source), container_(container) {}

ArchiveDevice::~ArchiveDevice() {
    closeArchive();
}

bool ArchiveDevice::openArchive() {
    archive_ = archive_read_new();
    if (container_ == Container::Gzip) {
        archive_read_support_filter_gzip(archive_);
        archive_read_support_format_raw(archive_);
    } else {
        archive_read_support_format_zip(archive_);
    }
    archive_read_set_read_callback(archive_, &ArchiveCallbacks::read);
    // With random access the ZIP reader trusts the central directory, as unzip tools do.
    if (!source_.isSequential())
        archive_read_set_seek_callback(archive_, &ArchiveCallbacks::seek);
    archive_read_set_callback_data(archive_, this);
    return archive_read_open1(archive_) == ARCHIVE_OK;
}

void ArchiveDevice::closeArchive() {
    if (archive_)
        archive_read_free(archive_);
    archive_ = nullptr;
}

QString ArchiveDevice::archiveError(const char* fallback) const {
    const char* text = archive_ ? archive_error_string(archive_) : nullptr;
    return QString::fromUtf8(text && *text ? text : fallback);
}

namespace {

bool isDesignEntry(const QString& name, bool named) {
    const QString last = name.mid(name.lastIndexOf(u'/') + 1);
    return named ? last.compare(QLatin1String("rocket.ork"), Qt::CaseInsensitive) == 0
                 : last.endsWith(QLatin1String(".ork"), Qt::CaseInsensitive);
}

QString entryPath(archive_entry* e) {
    const char* utf8 = archive_entry_pathname_utf8(e);
    const char* raw = utf8 ? utf8 : archive_entry_pathname(e);
    return raw ? QString::fromUtf8(raw) : QString();
}

} // namespace

// Walks the entries until rocket.ork, leaving the archive on it; otherwise gives the index of
// the first .ork entry (or -1) in *chosen, with the archive at its end.
QString ArchiveDevice::findZipEntry(int* chosen) {
    *chosen = -1;
    for (int i = 0;; ++i) {
        archive_entry* e = nullptr;
        const int r = archive_read_next_header(archive_, &e);
        if (r == ARCHIVE_EOF)
            return QString();
        if (r < ARCHIVE_WARN)
            return QStringLiteral("it is a damaged ZIP archive (%1)")
                .arg(archiveError("no entry can be read"));
        if (i >= MaxZipEntries)
            return QStringLiteral("it is a ZIP archive of more than %1 entries, which no "
                                  "design has")
                .arg(MaxZipEntries);
        if (archive_entry_filetype(e) == AE_IFDIR)
            continue;
        const QString name = entryPath(e);
        if (isDesignEntry(name, true)) {
            *chosen = i;
            entryName_ = name;
            return QString();
        }
        if (*chosen < 0 && isDesignEntry(name, false)) {
            *chosen = i;
            entryName_ = name;
        }
    }
}

QString ArchiveDevice::skipToEntry(int index) {
    closeArchive();
    if (source_.isSequential() || !source_.seek(0) || !openArchive())
        return QStringLiteral("its ZIP archive cannot be read a second time (%1)")
            .arg(archiveError("the source cannot go back"));
    for (int i = 0; i <= index; ++i) {
        archive_entry* e = nullptr;
        if (archive_read_next_header(archive_, &e) < ARCHIVE_WARN)
            return QStringLiteral("it is a damaged ZIP archive (%1)")
                .arg(archiveError("an entry cannot be read"));
    }
    return QString();
}

QString ArchiveDevice::start() {
    const bool gzip = container_ == Container::Gzip;
    if (!openArchive())
        return QStringLiteral("it is not a readable %1 (%2)")
            .arg(gzip ? QStringLiteral("gzip stream") : QStringLiteral("ZIP archive"),
                 archiveError("unknown error"));
    QString problem;
    if (gzip) {
        archive_entry* e = nullptr;
        if (archive_read_next_header(archive_, &e) < ARCHIVE_WARN)
            problem = QStringLiteral("it is a damaged gzip stream (%1)")
                          .arg(archiveError("no data can be read"));
    } else {
        int chosen = -1;
        problem = findZipEntry(&chosen);
        if (problem.isEmpty() && chosen < 0)
            problem = QStringLiteral("it is a ZIP archive without a design: no entry's name ends "
                                     "in .ork");
        else if (problem.isEmpty() && !isDesignEntry(entryName_, true))
            problem = skipToEntry(chosen);
    }
    if (!problem.isEmpty())
        return problem;
    open(QIODevice::ReadOnly);
    return QString();
}

qint64 ArchiveDevice::readData(char* data, qint64 maxSize) {
    if (!archive_)
        return -1;
    const la_ssize_t n = archive_read_data(archive_, data, size_t(maxSize));
    if (n < 0) {
        failed_ = true;
        setErrorString(archiveError("the compressed data are damaged"));
        return -1;
    }
    return n;
}

qint64 GuardedDevice::fail(const QString& reason) {
    if (failure_.isEmpty()) {
        failure_ = reason;
        setErrorString(reason);
    }
    return -1;
}

// Follows the bytes just far enough to know where each text, tag, comment, CDATA section or
// processing instruction ends, so that none grows past MaxTextBytes: an XML parser holds each
// whole.
bool GuardedDevice::scan(const char* data, qint64 n) {
    for (qint64 i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        window_ = (window_ << 8) | c;
        ++run_;
        switch (state_) {
        case State::Markup:
            if (c == '<')
                run_ = 0;
            else if (run_ == 1 && c == '?')
                state_ = State::Instruction;
            else if (run_ == 3 && (window_ & 0xFFFFFF) == 0x212D2D) // "!--"
                state_ = State::Comment;
            else if (run_ == 8 && window_ == 0x215B43444154415BULL) // "![CDATA["
                state_ = State::CData;
            break;
        case State::Comment:
            if ((window_ & 0xFFFFFF) == 0x2D2D3E) // "-->"
                state_ = State::Markup, run_ = 0;
            break;
        case State::CData:
            if ((window_ & 0xFFFFFF) == 0x5D5D3E) // "]]>"
                state_ = State::Markup, run_ = 0;
            break;
        case State::Instruction:
            if ((window_ & 0xFFFF) == 0x3F3E) // "?>"
                state_ = State::Markup, run_ = 0;
            break;
        }
        if (run_ > MaxTextBytes)
            return false;
    }
    return true;
}

qint64 GuardedDevice::readData(char* data, qint64 maxSize) {
    if (!failure_.isEmpty())
        return -1;
    const qint64 n = source_.read(data, maxSize);
    if (n < 0)
        return fail(QStringLiteral("reading it failed (%1)").arg(source_.errorString()));
    total_ += n;
    if (total_ > MaxBytes)
        return fail(QStringLiteral("it holds more than %1 MB of design text, which no design "
                                   "comes near")
                        .arg(MaxBytes >> 20));
    if (!scan(data, n))
        return fail(QStringLiteral("it holds a text, comment or tag of more than %1 MB, longer "
                                   "than any of a design")
                        .arg(MaxTextBytes >> 20));
    return n;
}

} // namespace vanecraft
