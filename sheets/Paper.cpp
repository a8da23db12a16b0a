#include "Paper.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace vanecraft {

namespace {

// The papersize file holds a name and perhaps a few comments; past this it is some other file.
constexpr qint64 MostPapersizeBytes = 4096;

// The countries whose LC_PAPER is Letter in glibc's locale data (2.36). Belize has no glibc
// locale but prints on Letter.
const QStringList& LetterCountries() {
    static const QStringList countries{"US", "CA", "MX", "CL", "CO", "CR", "GT", "PA",
                                       "PH", "PR", "SV", "VE", "NI", "BO", "BZ"};
    return countries;
}

// Hundredths of a millimetre are finer than any printer feeds paper; rounding there keeps a
// custom key the same from one reading to the next.
double Hundredths(double mm) {
    return std::round(mm * 100) / 100;
}

QString Number(double mm) {
    return QString::number(Hundredths(mm), 'f', QLocale::FloatingPointShortest);
}

std::optional<Paper> StandardPaper(const QString& name) {
    const QString key = name.trimmed().toLower();
    for (const Paper& p : StandardPapers()) {
        if (p.key == key)
            return p;
    }
    return std::nullopt;
}

std::optional<double> PaperSide(const QString& text) {
    bool ok = false;
    const double mm = text.toDouble(&ok);
    if (!ok || !std::isfinite(mm) || mm < SmallestPaperMm || mm > LargestPaperMm)
        return std::nullopt;
    return Hundredths(mm);
}

std::optional<Paper> CustomPaperFromKey(QString key) {
    key.replace(QChar(0x00D7), QLatin1Char('x'));
    const QStringList sides = key.split(QLatin1Char('x'));
    if (sides.size() != 2)
        return std::nullopt;
    const std::optional<double> width = PaperSide(sides[0]);
    const std::optional<double> height = PaperSide(sides[1]);
    if (!width || !height)
        return std::nullopt;
    return CustomPaper(*width, *height);
}

// The first line that is neither blank nor a comment, as libpaper reads the file.
QString PapersizeFileName(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.read(MostPapersizeBytes));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith(QLatin1Char('#')))
            return name;
    }
    return {};
}

// "en_US.UTF-8", "fr_CA@euro" -> "US", "CA"; nothing for "C" or "POSIX".
QString Territory(const QString& locale) {
    const QString name = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    return underscore < 0 ? QString() : name.mid(underscore + 1).trimmed().toUpper();
}

} // namespace

const std::vector<Paper>& StandardPapers() {
    static const std::vector<Paper> papers{
        {"a4", "A4", 210, 297, false},
        {"a3", "A3", 297, 420, false},
        {"a5", "A5", 148, 210, false},
        {"letter", "US Letter", 215.9, 279.4, true},
        {"legal", "US Legal", 215.9, 355.6, true},
        {"tabloid", "Tabloid", 279.4, 431.8, true},
    };
    return papers;
}

Paper A4Paper() {
    return StandardPapers().front();
}

Paper CustomPaper(double widthMm, double heightMm) {
    const QString w = Number(widthMm), h = Number(heightMm);
    return {w + QLatin1Char('x') + h, w + QStringLiteral(" × ") + h + QStringLiteral(" mm"),
            widthMm, heightMm, false};
}

std::optional<Paper> PaperFromKey(const QString& text) {
    const QString key = text.trimmed().toLower();
    if (std::optional<Paper> standard = StandardPaper(key))
        return standard;
    return CustomPaperFromKey(key);
}

PaperSources SystemPaperSources() {
    PaperSources sources;
    sources.papersizeVariable = qEnvironmentVariable("PAPERSIZE");
    sources.papersizeFile = QStringLiteral("/etc/papersize");
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
        sources.localeName = qEnvironmentVariable(name);
        if (!sources.localeName.isEmpty())
            break;
    }
    return sources;
}

Paper DefaultPaper(const PaperSources& sources) {
    if (std::optional<Paper> p = StandardPaper(sources.papersizeVariable))
        return *p;
    if (std::optional<Paper> p = StandardPaper(PapersizeFileName(sources.papersizeFile)))
        return *p;
    if (LetterCountries().contains(Territory(sources.localeName)))
        return *StandardPaper(QStringLiteral("letter"));
    return A4Paper();
}

} // namespace vanecraft
