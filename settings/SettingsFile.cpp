#include "SettingsFile.h"

#include "AppPaths.h"
#include "model/Conversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace vanecraft {

const char* const MissingFolderMessage =
    "Sorry ... it seems that c:\\windows doesn't' exists ... but I need it ... ;)";

namespace {

QString errorText(int number) {
    return QStringLiteral("Error:%1").arg(number);
}

int openErrorNumber(const QFile& file) {
    if (QFileInfo(file.fileName()).isDir() || !QFileInfo(file.fileName()).isFile())
        return ErrorPathAccess;
    return file.error() == QFileDevice::PermissionsError ? ErrorPermissionDenied : ErrorDeviceIO;
}

// A line of the settings file is a number or a word: a longer one is no setting, and is not
// read whole.
constexpr qint64 LongestLine = 1024;

// One line, without its CR LF / LF / CR. False at the end of the file. A line longer than any
// setting comes back as the part read, which no setting matches.
bool readLine(QFile& file, QString* line) {
    if (file.atEnd())
        return false;
    QByteArray bytes = file.readLine(LongestLine);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    *line = QString::fromUtf8(bytes);
    if (bytes.size() >= LongestLine - 1)
        *line += QStringLiteral("...");
    return true;
}

// Whether `path` may be written: absent, or a regular file once links are followed. A FIFO, a
// device or a folder in its place is left alone.
bool writableTarget(const QString& path) {
    const QFileInfo target(path);
    return !target.exists() || target.isFile();
}

} // namespace

bool ThicknessInRange(double millimetres) {
    return std::isfinite(millimetres) && millimetres >= ThinnestPaper &&
           millimetres <= ThickestPaper;
}

QString ThicknessRangeText() {
    return QStringLiteral("%1 to %2 mm").arg(ThinnestPaper).arg(ThickestPaper);
}

QString ThicknessText(float millimetres) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, millimetres);
    return QString::fromLatin1(buffer, r.ptr - buffer);
}

bool ParseThickness(const QString& text, double* value) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool WriteSettingsFile(float paperThickness, const QString& units, QString* error) {
    const QString path = SettingsFilePath();
    if (!writableTarget(path)) {
        if (error)
            *error = QStringLiteral("The settings could not be saved to \"%1\": it is not a "
                                    "regular file. They stay in force until Vanecraft is closed.")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    // What the next start could not take is never written.
    if (!ThicknessInRange(paperThickness)) {
        if (error)
            *error = QStringLiteral("The paper thickness %1 mm is outside %2: it was not saved.")
                         .arg(ThicknessText(paperThickness), ThicknessRangeText());
        return false;
    }
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok) {
        const QByteArray content = (ThicknessText(paperThickness) + QStringLiteral("\r\n") + units +
                                    QStringLiteral("\r\n"))
                                       .toUtf8();
        ok = file.write(content) == content.size();
        ok = ok && file.commit();
    }
    if (!ok && error)
        *error = QStringLiteral("The settings could not be saved to \"%1\": %2. They stay in force "
                                "until Vanecraft is closed.")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    return ok;
}

QString ReadSettingsFile(AppState& state) {
    const QString dir = ConfigDir();
    if (!QDir().mkpath(dir))
        return QString::fromUtf8(MissingFolderMessage);
    const QString path = SettingsFilePath();
    QString writeProblem;
    if (!QFileInfo::exists(path)) {
        if (!WriteSettingsFile(0.381f, QStringLiteral("Millimeters"), &writeProblem)) {
            // The defaults still hold for this run.
            state.PaperThickness = 0.381f;
            state.MeasurementUnits = QStringLiteral("Millimeters");
            return writeProblem;
        }
    }
    // Opening a FIFO would wait for a writer for ever: only a regular file is opened.
    if (!QFileInfo(path).isFile())
        return errorText(ErrorPathAccess);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return errorText(openErrorNumber(file));
    QString line;
    if (!readLine(file, &line))
        return errorText(file.error() == QFileDevice::NoError ? ErrorReadPastEnd : ErrorDeviceIO);
    double thickness = 0;
    if (!ParseThickness(line, &thickness))
        return errorText(ErrorTypeMismatch);
    QStringList told;
    // A thickness no paper has is not taken: the default holds until the user sets one.
    if (!ThicknessInRange(thickness)) {
        told << QStringLiteral("The paper thickness in \"%1\" is %2 mm, outside %3: 0.381 mm is "
                               "used instead. Set it in File → Options.")
                    .arg(QDir::toNativeSeparators(path), ShownText(line.trimmed()),
                         ThicknessRangeText());
        thickness = 0.381;
    }
    state.PaperThickness = static_cast<float>(thickness);
    if (!readLine(file, &line))
        return errorText(file.error() == QFileDevice::NoError ? ErrorReadPastEnd : ErrorDeviceIO);
    // The units as written, read whatever their case and blanks; anything else is millimetres.
    const QString units = line.trimmed();
    if (units.compare(QLatin1String("Inches"), Qt::CaseInsensitive) == 0) {
        state.MeasurementUnits = QStringLiteral("Inches");
    } else {
        state.MeasurementUnits = QStringLiteral("Millimeters");
        if (units.compare(QLatin1String("Millimeters"), Qt::CaseInsensitive) != 0)
            told << QStringLiteral("The units \"%1\" in \"%2\" are not known: lengths are shown "
                                   "in millimetres. Choose the units in File → Options.")
                        .arg(ShownText(units), QDir::toNativeSeparators(path));
    }
    return told.join(QStringLiteral("\n\n"));
}

} // namespace vanecraft
