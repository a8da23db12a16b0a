#include "RockSimReader.h"

#include "FileAccess.h"
#include "LineReader.h"
#include "RockSimParser.h"

#include <QDir>
#include <QFile>

namespace vanecraft {

const char* const AbnormalFormatMessage =
    "Abnormal file format. Maybe you're using an old RockSim file.";

namespace {

// The value between the tag found at or after `from` and its closing tag. The same rule serves
// raw lines (bytes) and texts.
template <class S> S extractValue(const S& text, const S& tag, qsizetype from, bool* found) {
    const qsizetype p = text.indexOf(tag, from);
    // Without the tag the rest starts one short of the tag's length, as the rule has always read.
    const qsizetype start = p < 0 ? tag.size() - 1 : p + tag.size();
    S closing = tag.left(1);
    closing += '/';
    closing += tag.mid(1);
    const qsizetype q = start <= text.size() ? text.indexOf(closing, start) : -1;
    if (q < 0) {
        if (found)
            *found = false;
        return S();
    }
    if (found)
        *found = true;
    return text.mid(start, q - start);
}

bool isXmlDeclarationOnly(QByteArrayView line) {
    line = line.trimmed();
    if (!line.startsWith("<?xml"))
        return false;
    const qsizetype end = line.indexOf("?>");
    return end >= 0 && line.sliced(end + 2).trimmed().isEmpty();
}

QString readFailure(const LineReader& reader, const QIODevice& device, const QString& name) {
    if (reader.tooLong())
        return FileError(name, QStringLiteral("line %1 is longer than %2 MB, which no design has")
                                   .arg(reader.lineNumber())
                                   .arg(LineReader::MaxLineBytes >> 20));
    return FileError(name, QStringLiteral("reading it failed (%1)").arg(device.errorString()));
}

// Reads up to the line of the document element; the refusal, or empty when that line is there.
QString readHead(LineReader& reader, rocksim::Parser& parser, QByteArrayView& line,
                 const QIODevice& device, const QString& name) {
    // What a file gets whose first line is no RockSim document, whatever bytes it holds: an
    // old binary RockSim file among them.
    const QString abnormal = QString::fromUtf8(AbnormalFormatMessage) +
                             QStringLiteral("\n\nThe file \"%1\" is not a RockSim design.")
                                 .arg(QDir::toNativeSeparators(name));
    if (!reader.readLine(line))
        return reader.failed()    ? readFailure(reader, device, name)
               : reader.tooLong() ? abnormal
                                  : FileError(name, QStringLiteral("it is empty"));
    if (line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);
    if (line.contains('\0'))
        return line.contains("<RockSimDocument>")
                   ? FileError(name, QStringLiteral("it is not a text file"))
                   : abnormal;
    // Some exporters write an XML declaration first; the document element must follow it.
    bool formatOk = line.contains("<RockSimDocument>");
    if (!formatOk && isXmlDeclarationOnly(line)) {
        if (!parser.processLine(line, reader.lineNumber()))
            return parser.message();
        if (reader.readLine(line))
            formatOk = line.contains("<RockSimDocument>");
    }
    if (!formatOk)
        return reader.failed() ? readFailure(reader, device, name) : abnormal;
    return QString();
}

// Follows the elements line by line until the first RocketDesign closes; what comes after it
// holds no design and is only checked to be text, a block at a time.
QString readBody(LineReader& reader, rocksim::Parser& parser, QByteArrayView line,
                 const QIODevice& device, const QString& name) {
    do {
        if (!parser.processLine(line, reader.lineNumber()))
            return parser.message();
    } while (!parser.designDone() && reader.readLine(line));
    if (parser.designDone() && reader.checkRest() == LineReader::Rest::NotText)
        return FileError(name, QStringLiteral("it is not a text file"));
    if (reader.failed() || reader.tooLong())
        return readFailure(reader, device, name);
    return QString();
}

} // namespace

QString ExtractTagValue(const QString& text, const QString& tag, bool* found) {
    return extractValue(text, tag, 0, found);
}

LoadResult ReadRockSimDevice(QIODevice& device, const QString& name) {
    LoadResult result;
    LineReader reader(device);
    rocksim::Parser parser(name);
    QByteArrayView line;
    result.message = readHead(reader, parser, line, device, name);
    if (result.message.isEmpty())
        result.message = readBody(reader, parser, line, device, name);
    if (!result.message.isEmpty())
        return result;
    result.design = parser.finish();
    result.ok = true;
    if (parser.finSetsSeen() > MostFinSetsKept)
        result.warning = ManyFinSetsWarning(parser.finSetsSeen());
    return result;
}

LoadResult ReadRockSimFile(const QString& path) {
    LoadResult result;
    QFile file(path);
    result.message = OpenDesignFile(file);
    if (!result.message.isEmpty())
        return result;
    return ReadRockSimDevice(file, path);
}

} // namespace vanecraft
