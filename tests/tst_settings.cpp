#include "FakePlatform.h"
#include "app/frmMain.h"
#include "info/InfoWindows.h"
#include "options/Options.h"
#include "settings/AppPaths.h"
#include "settings/SettingsFile.h"
#include "sheets/Paper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

using namespace vanecraft;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStart();
    void readingTheFile_data();
    void readingTheFile();
    void missingFolder();
    void confirmingOptions_data();
    void confirmingOptions();
    void refusedThickness_data();
    void refusedThickness();
    void closeBoxSavesNothing();
    void unwritableFile();
    void mainWindowFollowsUnits();
    void specialSettingsFiles_data();
    void specialSettingsFiles();
    void paperAndScaleCheck_data();
    void paperAndScaleCheck();
    void infoWindows();

private:
    void writeSettings(const QByteArray& content);
    QByteArray settingsContent() const;
    Options* openOptions();
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> w;
};

void TestSettings::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(dir->filePath(QStringLiteral("config")));
    fake = std::make_unique<FakePlatform>();
}

void TestSettings::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

void TestSettings::writeSettings(const QByteArray& content) {
    QDir().mkpath(ConfigDir());
    QFile f(SettingsFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray TestSettings::settingsContent() const {
    QFile f(SettingsFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

Options* TestSettings::openOptions() {
    w->mnuFileOptions->trigger();
    return qobject_cast<Options*>(w->optionsWindow());
}

void TestSettings::firstStart() {
    w = std::make_unique<frmMain>();
    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(settingsContent(), QByteArray("0.381\r\nMillimeters\r\n"));
    Options* o = openOptions();
    QVERIFY(o);
    QCOMPARE(o->Measurement->currentText(), QStringLiteral("Millimeters"));
    QCOMPARE(o->PaperTCK->text(), QStringLiteral("0.381"));
    QCOMPARE(o->windowTitle(), QStringLiteral("Options"));
    // Choosing Options again brings the same dialog to the front.
    w->mnuFileOptions->trigger();
    QCOMPARE(w->optionsWindow(), o);
}

void TestSettings::readingTheFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<float>("thickness");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("message");
    QTest::newRow("inches") << QByteArray("0.381\r\nInches\r\n") << 0.381f << "Inches"
                            << "";
    QTest::newRow("comma and blanks") << QByteArray(" 0,5 \nMillimeters\n") << 0.5f << "Millimeters"
                                      << "";
    QTest::newRow("one line") << QByteArray("0.4\r\n") << 0.4f << ""
                              << "Error:62";
    QTest::newRow("letters") << QByteArray("thick\r\nInches\r\n") << 0.0f << ""
                             << "Error:13";
    QTest::newRow("empty") << QByteArray() << 0.0f << ""
                           << "Error:62";
    // Units in any case or with blanks are read; others are told once and taken as millimetres.
    for (const char* inches : {"inches", "INCHES", "Inches "})
        QTest::newRow(inches) << QByteArray("0.381\r\n") + inches + "\r\n"
                              << 0.381f << "Inches"
                              << "";
    QTest::newRow("unknown units") << QByteArray("0.381\r\ncm\r\n") << 0.381f << "Millimeters"
                                   << "The units \"cm\"";
    // A thickness no paper has is told and replaced by the default.
    for (const char* thick : {"-1", "3.5", "1e40"})
        QTest::newRow(thick) << QByteArray(thick) + "\r\nInches\r\n"
                             << 0.381f << "Inches"
                             << "outside 0 to 3 mm";
}

void TestSettings::readingTheFile() {
    QFETCH(QByteArray, content);
    QFETCH(float, thickness);
    QFETCH(QString, units);
    QFETCH(QString, message);
    writeSettings(content);
    w = std::make_unique<frmMain>();
    QCOMPARE(w->state().PaperThickness, thickness);
    QCOMPARE(w->state().MeasurementUnits, units);
    QCOMPARE(fake->messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(fake->messages[0].contains(message), qPrintable(fake->messages[0]));
    if (units == QLatin1String("Inches")) {
        Options* o = openOptions();
        QCOMPARE(o->PaperTCK->text(), QStringLiteral("0.014999955238713"));
    }
    // A malformed file is reported, never rewritten.
    QCOMPARE(settingsContent(), content);
}

void TestSettings::missingFolder() {
    // A configuration folder that cannot be created: its parent is a plain file.
    QFile blocker(dir->filePath(QStringLiteral("plain")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetConfigDirOverride(dir->filePath(QStringLiteral("plain/config")));
    w = std::make_unique<frmMain>();
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(MissingFolderMessage)});
    QCOMPARE(w->state().PaperThickness, 0.0f);
    QCOMPARE(w->state().MeasurementUnits, QString());
}

void TestSettings::confirmingOptions_data() {
    QTest::addColumn<QString>("startUnits");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("typed"); // empty: keep what the box shows
    QTest::addColumn<QString>("shown");
    QTest::addColumn<float>("thickness");
    QTest::newRow("0.015 inch") << "Millimeters"
                                << "Inches"
                                << "0.015"
                                << "0.015" << float(0.015 / 0.03936996);
    QTest::newRow("0,4 mm") << "Millimeters"
                            << "Millimeters"
                            << "0,4"
                            << "0,4" << 0.4f;
    // Switching the units keeps the thickness the box stood for, shown in the new units.
    QTest::newRow("units switched, box kept") << "Millimeters"
                                              << "Inches"
                                              << ""
                                              << "0.015" << 0.381f;
    QTest::newRow("back to millimetres") << "Inches"
                                         << "Millimeters"
                                         << ""
                                         << "0.381" << 0.381f;
    QTest::newRow("typed after the switch") << "Millimeters"
                                            << "Inches"
                                            << "0.02"
                                            << "0.02" << float(0.02 / 0.03936996);
    QTest::newRow("cm counts as millimetres") << "Millimeters"
                                              << "cm"
                                              << "2.5"
                                              << "2.5" << 2.5f;
    QTest::newRow("inches in any case") << "Millimeters"
                                        << " INCHES"
                                        << "0.015"
                                        << "0.015" << float(0.015 / 0.03936996);
    QTest::newRow("zero accepted") << "Inches"
                                   << "Inches"
                                   << "0"
                                   << "0" << 0.0f;
}

void TestSettings::confirmingOptions() {
    QFETCH(QString, startUnits);
    QFETCH(QString, units);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(float, thickness);
    writeSettings("0.381\r\n" + startUnits.toUtf8() + "\r\n");
    w = std::make_unique<frmMain>();
    Options* o = openOptions();
    QPointer<Options> guard(o);
    o->Measurement->setEditText(units);
    if (!typed.isEmpty())
        o->PaperTCK->setText(typed);
    o->cmdOK->click();
    QCOMPARE(o->PaperTCK->text(), shown);
    QTRY_VERIFY(guard.isNull()); // closed
    // Written as one of the two units the file knows.
    const QString saved = units.trimmed().toLower() == QLatin1String("inches")
                              ? QStringLiteral("Inches")
                              : QStringLiteral("Millimeters");
    QCOMPARE(w->state().MeasurementUnits, saved);
    QCOMPARE(w->state().PaperThickness, thickness);
    QVERIFY(w->state().SettingsSaved);
    // The file holds millimetres and reads back to the very same number.
    const QList<QByteArray> lines = settingsContent().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], saved.toUtf8() + '\r');
    AppState again;
    QCOMPARE(ReadSettingsFile(again), QString());
    QCOMPARE(again.PaperThickness, thickness);
    QVERIFY(lines[0].trimmed().size() >= 1);
    if (QTest::currentDataTag() == QByteArray("0.015 inch"))
        QVERIFY(qAbs(thickness - 0.3810011f) < 1e-7f);
}

void TestSettings::refusedThickness_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QString>("says");
    QTest::newRow("negative") << "-1" << false << "is outside 0 to 3 mm";
    QTest::newRow("a board") << "0.2" << false << "is outside 0 to 3 mm"; // 0.2 in is 5 mm
    QTest::newRow("past single precision") << "1e40" << false << "is outside 0 to 3 mm";
    const QString notNumber = QStringLiteral("is not a number");
    QTest::newRow("empty") << "" << false << notNumber;
    QTest::newRow("letters") << "thin" << false << notNumber;
    QTest::newRow("two separators") << "0.3.8" << false << notNumber;
    QTest::newRow("not finite") << "inf" << true << notNumber;
}

void TestSettings::refusedThickness() {
    QFETCH(QString, typed);
    QFETCH(bool, escape);
    QFETCH(QString, says);
    w = std::make_unique<frmMain>();
    const QByteArray before = settingsContent();
    Options* o = openOptions();
    o->Measurement->setEditText(QStringLiteral("Inches"));
    o->PaperTCK->setText(typed);
    if (escape)
        QTest::keyClick(o, Qt::Key_Escape);
    else
        QTest::keyClick(o->PaperTCK, Qt::Key_Return);
    QCOMPARE(fake->messages.size(), 1);
    // It echoes what was typed; a number that is no number suggests the decimal point the box
    // takes.
    QVERIFY2(fake->messages[0].contains(QStringLiteral("\"%1\" ").arg(typed) + says),
             qPrintable(fake->messages[0]));
    if (says == QLatin1String("is not a number"))
        QVERIFY(fake->messages[0].contains(QLatin1String("such as 0.381")));
    QCOMPARE(o->PaperTCK->text(), typed);
    QCOMPARE(w->optionsWindow(), o); // still open
    QCOMPARE(settingsContent(), before);
    QCOMPARE(w->state().MeasurementUnits, QStringLiteral("Millimeters"));
    QVERIFY(!w->state().SettingsSaved);
}

void TestSettings::closeBoxSavesNothing() {
    w = std::make_unique<frmMain>();
    Options* o = openOptions();
    o->PaperTCK->setText(QStringLiteral("9"));
    o->close();
    QCOMPARE(w->state().PaperThickness, 0.381f);
    QCOMPARE(settingsContent(), QByteArray("0.381\r\nMillimeters\r\n"));

    // Esc, on the other hand, confirms.
    o = openOptions();
    QPointer<Options> guard(o);
    o->PaperTCK->setText(QStringLiteral("0.5"));
    QTest::keyClick(o, Qt::Key_Escape);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(w->state().PaperThickness, 0.5f);
    QCOMPARE(settingsContent(), QByteArray("0.5\r\nMillimeters\r\n"));
}

void TestSettings::unwritableFile() {
    w = std::make_unique<frmMain>();
    // The file's place is taken by a folder: neither a write nor a replace can succeed.
    QVERIFY(QFile::remove(SettingsFilePath()));
    QVERIFY(QDir().mkpath(SettingsFilePath()));
    Options* o = openOptions();
    o->PaperTCK->setText(QStringLiteral("0.6"));
    o->cmdOK->click();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].contains(SettingsFilePath()));
    QCOMPARE(w->state().PaperThickness, 0.6f); // in force for this run

    // Read at start-up, the folder in its place is an error of its own.
    fake->messages.clear();
    w.reset();
    w = std::make_unique<frmMain>();
    QCOMPARE(fake->messages, QStringList{QStringLiteral("Error:75")});
}

void TestSettings::mainWindowFollowsUnits() {
    w = std::make_unique<frmMain>();
    QFile design(dir->filePath(QStringLiteral("d.rkt")));
    QVERIFY(design.open(QIODevice::WriteOnly));
    design.write("<RockSimDocument>\n<RocketDesign>\n<Stage3Parts>\n<BodyTube>\n<OD>25.4</OD>\n"
                 "<AttachedParts>\n<FinSet>\n<FinCount>3</FinCount>\n<RootChord>41.6</RootChord>\n"
                 "</FinSet>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n"
                 "</RockSimDocument>\n");
    design.close();
    QVERIFY(w->LoadDesign(design.fileName()));
    Options* o = openOptions();
    o->Measurement->setCurrentIndex(1); // Inches
    o->PaperTCK->setText(QStringLiteral("0.015"));
    o->cmdOK->click();
    QCOMPARE(w->OD->text(), QStringLiteral("0.999996984"));
    QCOMPARE(w->Root->text(), QStringLiteral("1.637790336"));
    QCOMPARE(w->FinsNumber->text(), QStringLiteral("3"));
    // Both settings survive a restart.
    w.reset();
    w = std::make_unique<frmMain>();
    QCOMPARE(w->state().MeasurementUnits, QStringLiteral("Inches"));
    QCOMPARE(w->state().PaperThickness, float(0.015 / 0.03936996));
}

void TestSettings::specialSettingsFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("atStart");
    QTest::newRow("a FIFO") << "fifo"
                            << "Error:75";
    QTest::newRow("a 20 MB first line") << "long"
                                        << "Error:13";
}

void TestSettings::specialSettingsFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, atStart);
    QDir().mkpath(ConfigDir());
    const QByteArray path = QFile::encodeName(SettingsFilePath());
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else
        writeSettings(QByteArray(20 << 20, '7') + "\r\nInches\r\n");
    // Start-up neither waits for a writer nor reads the line whole: it says so and goes on.
    QElapsedTimer t;
    t.start();
    w = std::make_unique<frmMain>();
    QVERIFY(t.elapsed() < 5000);
    QCOMPARE(fake->messages, QStringList{atStart});
    if (kind != QLatin1String("fifo"))
        return;
    // Options do not write through it either.
    fake->messages.clear();
    Options* o = openOptions();
    o->cmdOK->click();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].contains(QLatin1String("not a regular file")));
    QVERIFY(!QFileInfo(SettingsFilePath()).isFile());
}

void TestSettings::paperAndScaleCheck_data() {
    QTest::addColumn<QString>("typed"); // into the paper box
    QTest::addColumn<QString>("key");   // kept, or "!" when refused
    QTest::newRow("from the list") << "US Letter"
                                   << "letter";
    QTest::newRow("the system's") << "System default (A4)"
                                  << "";
    QTest::newRow("a list entry in other case") << "a3"
                                                << "a3";
    QTest::newRow("custom") << " 610X914 "
                            << "610x914";
    QTest::newRow("too small") << "40x40"
                               << "!";
    QTest::newRow("not a paper") << "B4"
                                 << "!";
}

void TestSettings::paperAndScaleCheck() {
    QFETCH(QString, typed);
    QFETCH(QString, key);
    qputenv("PAPERSIZE", "a4");
    w = std::make_unique<frmMain>();
    QVERIFY(w->state().ScaleCheck);
    QVERIFY(w->state().MarkParts);
    Options* o = openOptions();
    QPointer<Options> guard(o);
    QCOMPARE(o->PaperSize->currentIndex(), 0);
    QVERIFY(o->MarkParts->isChecked());
    o->PaperSize->setEditText(typed);
    o->ScaleCheck->setChecked(false);
    o->MarkParts->setChecked(false);
    o->cmdOK->click();
    if (key == QLatin1String("!")) {
        // Refused: nothing changes, nothing is written, the dialog stays.
        QCOMPARE(fake->messages.size(), 1);
        QVERIFY(fake->messages[0].contains(typed));
        QVERIFY(guard);
        QVERIFY(w->state().ScaleCheck);
        QVERIFY(w->state().MarkParts);
        QCOMPARE(settingsContent(), QByteArray("0.381\r\nMillimeters\r\n"));
        return;
    }
    QVERIFY(fake->messages.isEmpty());
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(w->state().PaperKey, key);
    // Kept beside the placement, not in the two-line settings file; back after a restart.
    QCOMPARE(settingsContent(), QByteArray("0.381\r\nMillimeters\r\n"));
    w.reset();
    w = std::make_unique<frmMain>();
    QCOMPARE(w->state().PaperKey, key);
    QVERIFY(!w->state().ScaleCheck);
    QVERIFY(!w->state().MarkParts);
    o = openOptions();
    QVERIFY(!o->ScaleCheck->isChecked());
    QVERIFY(!o->MarkParts->isChecked());
    // The dialog shows the paper in force again.
    const QString shown =
        o->PaperSize->currentIndex() >= 0 &&
                o->PaperSize->currentText() == o->PaperSize->itemText(o->PaperSize->currentIndex())
            ? o->PaperSize->currentData().toString()
            : o->PaperSize->currentText();
    QCOMPARE(shown, key);
}

void TestSettings::infoWindows() {
    w = std::make_unique<frmMain>();
    w->show();
    w->mnuHelp->trigger();
    QWidget* help = w->helpWindow();
    QVERIFY(help && help->isVisible());
    w->mnuHelp->trigger();
    QCOMPARE(w->helpWindow(), help);
    const QWidgetList tops = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(),
                           [](QWidget* t) { return t->objectName() == QLatin1String("Help"); }),
             1);
    QCOMPARE(help->windowTitle(), QStringLiteral("Vanecraft help"));

    // Esc in About closes it, as OK does; Enter too.
    w->mnuAbout->trigger();
    QPointer<QWidget> about = w->aboutWindow();
    QCOMPARE(about->windowTitle(), QStringLiteral("About Vanecraft"));
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(about.isNull());
    w->mnuAbout->trigger();
    about = w->aboutWindow();
    QVERIFY(about);
    QTest::keyClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::Key_Return);
    QTRY_VERIFY(about.isNull());

    w->mnuReports->trigger();
    QPointer<QWidget> report = w->reportWindow();
    QCOMPARE(report->windowTitle(), QStringLiteral("Reports"));
    const QString label2 = report->findChild<QLabel*>(QStringLiteral("Label2"))->text();
    QVERIFY(label2.endsWith(QLatin1String("with subject \"Vanecraft updates\"")));
    QPointer<QWidget> helpGuard = help;
    // Closing the main window closes every information window.
    w->close();
    QTRY_VERIFY(report.isNull());
    QTRY_VERIFY(helpGuard.isNull());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
