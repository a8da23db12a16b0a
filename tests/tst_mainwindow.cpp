#include "FakePlatform.h"
#include "app/frmMain.h"
#include "settings/AppPaths.h"
#include "ui/NamedNumberDelegate.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

using namespace vanecraft;

namespace {

const QByteArray TwoFinSets =
    "<RockSimDocument>\n<RocketDesign>\n<Name>Two</Name>\n<Stage3Parts>\n"
    "<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Low</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
    "<SemiSpan>50</SemiSpan>\n<Thickness>3.2</Thickness>\n</FinSet>\n"
    "<BodyTube>\n<OD>25.4</OD>\n<ID>24</ID>\n<Len>70</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Inner</Name>\n<FinCount>3</FinCount>\n<RootChord>20</RootChord>\n"
    "<SemiSpan>10</SemiSpan>\n<Thickness>1</Thickness>\n</FinSet>\n"
    "</AttachedParts>\n</BodyTube>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n"
    "</RocketDesign>\n</RockSimDocument>\n";

const QByteArray OneFinSet =
    "<RockSimDocument>\n<RocketDesign>\n<Name>One</Name>\n<Stage3Parts>\n"
    "<BodyTube>\n<OD>25</OD>\n<ID>24</ID>\n<Len>200</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Only</Name>\n<FinCount>3</FinCount>\n<RootChord>60</RootChord>\n"
    "<SemiSpan>30</SemiSpan>\n<Thickness>3</Thickness>\n</FinSet>\n"
    "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n</RockSimDocument>\n";

QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void layoutAndStart();
    void firstRunPlacement();
    void storedPlacement_data();
    void storedPlacement();
    void boundedPlacement_data();
    void boundedPlacement();
    void unusableStore_data();
    void unusableStore();
    void minimisedCloseKeepsPlacement();
    void loadThroughMenuAndToolbar();
    void finSetPicking();
    void failedLoadChangesNothing_data();
    void failedLoadChangesNothing();
    void noValueSurvivesIntoTheNextLoad();
    void inchesDisplay();
    void everyFinSetOffered();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    QStringList boxes() const;
    void pick(const QString& text);
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> w;
};

void TestMainWindow::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(dir->path() + QStringLiteral("/config"));
    fake = std::make_unique<FakePlatform>();
}

void TestMainWindow::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

QString TestMainWindow::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write");
    return path;
}

QStringList TestMainWindow::boxes() const {
    return {w->RName->text(),   w->OD->text(),        w->ID->text(),
            w->BLength->text(), w->FName->text(),     w->FinsNumber->text(),
            w->Span->text(),    w->Thickness->text(), w->Root->text()};
}

void TestMainWindow::pick(const QString& text) {
    const int i = w->FinSetNumber->findText(text);
    if (i >= 0) {
        w->FinSetNumber->setCurrentIndex(i);
        emit w->FinSetNumber->activated(i);
    } else {
        w->FinSetNumber->setEditText(text);
        QTest::keyClick(w->FinSetNumber->lineEdit(), Qt::Key_Return);
    }
}

void TestMainWindow::layoutAndStart() {
    w = std::make_unique<frmMain>();
    QCOMPARE(w->windowTitle(), QStringLiteral("Vanecraft For RockSim"));
    QCOMPARE(items(w->Choice), (QStringList{"Fins alignment guide", "Body tube wrapper"}));
    QCOMPARE(w->Choice->currentText(), QStringLiteral("Select the tool you need."));
    QCOMPARE(items(w->FinSetNumber), QStringList{"1"});
    QCOMPARE(w->FinSetNumber->currentText(), QStringLiteral("1"));
    QCOMPARE(w->state().CurrentFinSet, 0);
    QStringList captions;
    for (QAction* a : {w->mnuFileOpen, w->mnuFilePreview, w->mnuFilePrint, w->mnuFileOptions,
                       w->mnuFileExit, w->mnuHelp, w->mnuReports, w->mnuAbout})
        captions << a->text();
    QCOMPARE(captions, (QStringList{"&Load...", "P&review...", "&Print...", "&Options", "&Exit",
                                    "&Help...", "&New versions, bug reports...", "&About..."}));
    QStringList keys;
    for (QAction* a : w->tbToolBar->actions()) {
        keys << a->objectName();
        QVERIFY(!a->icon().pixmap(16, 16).isNull());
    }
    QCOMPARE(keys, (QStringList{"Open", "Print"}));
    QCOMPARE(w->sbStato->text(), QStringLiteral("Stato"));
    QVERIFY(!w->sbDate->text().isEmpty());
    QVERIFY(w->sbClock->text().contains(u':'));
    // First start reads (and creates) the settings: millimetres, so the boxes are empty.
    QCOMPARE(w->state().MeasurementUnits, QStringLiteral("Millimeters"));
    w->Form_Activate();
    QCOMPARE(boxes(), QStringList(9, QString()));
    QVERIFY(fake->messages.isEmpty());
}

void TestMainWindow::firstRunPlacement() {
    w = std::make_unique<frmMain>();
    QCOMPARE(w->pos(), QPoint(67, 67));   // 1000 twips
    QCOMPARE(w->size(), QSize(433, 500)); // 6500 x 7500 twips
    w->close();
    QSettings store(PlacementStorePath(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    QCOMPARE(store.value("MainLeft").toString(), QStringLiteral("1000"));
    QCOMPARE(store.value("MainTop").toString(), QStringLiteral("1000"));
    QCOMPARE(store.value("MainWidth").toString(), QStringLiteral("6500"));
    QCOMPARE(store.value("MainHeight").toString(), QStringLiteral("7500"));
}

void TestMainWindow::storedPlacement_data() {
    QTest::addColumn<QStringList>("stored"); // left, top, width, height
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("height is always 7500")
        << QStringList{"1500", "3000", "7500", "9000"} << QPoint(100, 200) << QSize(500, 500)
        << QStringList{"1500", "3000", "7500", "7500"};
    QTest::newRow("not a number falls back")
        << QStringList{"abc", "", "wide", "1"} << QPoint(67, 67) << QSize(433, 500)
        << QStringList{"1000", "1000", "6500", "7500"};
    QTest::newRow("off every screen comes back")
        << QStringList{"-900000", "9000000", "6500", "7500"} << QPoint(67, 67) << QSize(433, 500)
        << QStringList{"1005", "1005", "6500", "7500"};
}

void TestMainWindow::storedPlacement() {
    QFETCH(QStringList, stored);
    QFETCH(QPoint, pos);
    QFETCH(QSize, size);
    QFETCH(QStringList, written);
    const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    {
        QSettings store(PlacementStorePath(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Settings"));
        for (int i = 0; i < 4; ++i)
            store.setValue(keys[i], stored[i]);
    }
    w = std::make_unique<frmMain>();
    QCOMPARE(w->pos(), pos);
    QCOMPARE(w->size(), size);
    w->close();
    QSettings store(PlacementStorePath(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(store.value(keys[i]).toString(), written[i]);
}

void TestMainWindow::boundedPlacement_data() {
    QTest::addColumn<QStringList>("stored"); // left, top, width
    QTest::newRow("a width of 1e10") << QStringList{"1500", "3000", "1e10"};
    QTest::newRow("a width of 1e8") << QStringList{"1500", "3000", "1e8"};
    QTest::newRow("far left and down") << QStringList{"-1e10", "1e10", "6500"};
    QTest::newRow("past single precision") << QStringList{"1e39", "-1e39", "1e39"};
}

void TestMainWindow::boundedPlacement() {
    QFETCH(QStringList, stored);
    {
        QSettings store(PlacementStorePath(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Settings"));
        store.setValue("MainLeft", stored[0]);
        store.setValue("MainTop", stored[1]);
        store.setValue("MainWidth", stored[2]);
    }
    w = std::make_unique<frmMain>();
    // The window is no larger than the screens and comes up on them.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(w->width() <= screen.width(), qPrintable(QString::number(w->width())));
    QVERIFY(screen.intersects(w->frameGeometry()));
    w->close();
    // What is stored back is what the window had, not what the file claimed.
    QSettings store(PlacementStorePath(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    QVERIFY(store.value("MainWidth").toDouble() <= screen.width() * 15);
}

void TestMainWindow::unusableStore_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("2 MB") << "large";
}

void TestMainWindow::unusableStore() {
    QFETCH(QString, kind);
    QDir().mkpath(ConfigDir());
    const QString path = PlacementStorePath();
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else
        writeFile(QStringLiteral("config/Vanecraft.conf"),
                  "[Settings]\nMainLeft=1500\n" + QByteArray(2 << 20, '#'));
    const QFileInfo before(path);
    // Start-up neither waits on it nor reads it: it says so, and the window opens.
    w = std::make_unique<frmMain>();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].contains(QLatin1String("not a regular file")));
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("one.rkt"), OneFinSet)));
    w->close();
    w.reset();
    // Nothing was written through it or in its place.
    const QFileInfo after(path);
    QCOMPARE(after.isFile(), before.isFile());
    QCOMPARE(after.size(), before.size());
}

void TestMainWindow::minimisedCloseKeepsPlacement() {
    {
        QSettings store(PlacementStorePath(), QSettings::IniFormat);
        store.setValue("Settings/MainLeft", "2000");
    }
    w = std::make_unique<frmMain>();
    w->show();
    w->move(300, 300);
    w->showMinimized();
    QTRY_VERIFY(w->isMinimized());
    w->close();
    QSettings store(PlacementStorePath(), QSettings::IniFormat);
    QCOMPARE(store.value("Settings/MainLeft").toString(), QStringLiteral("2000"));
    QVERIFY(!store.contains("Settings/MainHeight"));
}

void TestMainWindow::loadThroughMenuAndToolbar() {
    w = std::make_unique<frmMain>();
    const QString path = writeFile(QStringLiteral("two.rkt"), TwoFinSets);
    fake->openPaths << path;
    w->mnuFileOpen->trigger();
    QCOMPARE(
        fake->dialogs,
        QStringList{
            "Open | Rocket designs (*.rkt *.ork);;RockSim (*.rkt);;OpenRocket (*.ork);;All (*.*)"});
    QCOMPARE(boxes(), (QStringList{"Two", "41.6", "40.5", "300", "Low", "4", "50", "3.2", "75.5"}));
    QCOMPARE(items(w->FinSetNumber), (QStringList{"1", "2"}));
    QCOMPARE(w->state().CurrentFinSet, 1);

    // A cancelled dialog changes nothing.
    w->tbToolBar->actions().at(0)->trigger();
    QCOMPARE(fake->dialogs.size(), 2);
    QCOMPARE(boxes()[0], QStringLiteral("Two"));

    // Loading again keeps the list at one entry per fin set.
    fake->openPaths << writeFile(QStringLiteral("one.rkt"), OneFinSet);
    w->tbToolBar->actions().at(0)->trigger();
    QCOMPARE(items(w->FinSetNumber), QStringList{"1"});
    QCOMPARE(boxes(), (QStringList{"One", "25", "24", "200", "Only", "3", "30", "3", "60"}));
    QVERIFY(fake->messages.isEmpty());
}

void TestMainWindow::finSetPicking() {
    w = std::make_unique<frmMain>();
    // Before any load, picking 1 shows slot 1: nothing.
    pick(QStringLiteral("1"));
    QCOMPARE(w->state().CurrentFinSet, 1);
    QCOMPARE(boxes(), QStringList(9, QString()));

    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("two.rkt"), TwoFinSets)));
    pick(QStringLiteral("2"));
    QCOMPARE(w->state().CurrentFinSet, 2);
    // The second fin set sits on the inner tube, and its boxes show that tube.
    QCOMPARE(boxes(), (QStringList{"Two", "25.4", "24", "70", "Inner", "3", "10", "1", "20"}));
    for (const char* typed : {"7", "0", "abc", "", "2.5"}) {
        pick(QString::fromLatin1(typed));
        QCOMPARE(w->state().CurrentFinSet, 2);
        QCOMPARE(w->FName->text(), QStringLiteral("Inner"));
    }
    pick(QStringLiteral("1"));
    QCOMPARE(w->OD->text(), QStringLiteral("41.6"));

    // A load shows fin set 1 and the list reads 1 again.
    pick(QStringLiteral("2"));
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("again.rkt"), TwoFinSets)));
    QCOMPARE(w->FinSetNumber->currentText(), QStringLiteral("1"));
    QCOMPARE(w->state().CurrentFinSet, 1);
    QCOMPARE(w->FName->text(), QStringLiteral("Low"));
}

void TestMainWindow::failedLoadChangesNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("old format") << QByteArray("<Rocket>\n")
                                << "Abnormal file format. Maybe you're using an old RockSim file.";
    QTest::newRow("declaration only")
        << QByteArray("<?xml version=\"1.0\"?>\n<Other>\n")
        << "Abnormal file format. Maybe you're using an old RockSim file.";
    QTest::newRow("value over two lines")
        << QByteArray("<RockSimDocument>\n<RocketDesign>\n<Stage3Parts>\n<BodyTube>\n<OD>1\n"
                      "</OD>\n")
        << "the value of <OD> on line 5 has no closing tag on that line";
    QTest::newRow("empty") << QByteArray() << "it is empty";
}

void TestMainWindow::failedLoadChangesNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    w = std::make_unique<frmMain>();
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("two.rkt"), TwoFinSets)));
    pick(QStringLiteral("2"));
    const QStringList before = boxes();
    const AppState state = w->state();

    fake->openPaths << writeFile(QStringLiteral("bad.rkt"), content);
    w->mnuFileOpen->trigger();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY2(fake->messages[0].contains(message), qPrintable(fake->messages[0]));
    QCOMPARE(boxes(), before);
    QCOMPARE(items(w->FinSetNumber), (QStringList{"1", "2"}));
    QCOMPARE(w->FinSetNumber->currentText(), QStringLiteral("2"));
    QCOMPARE(w->state().design, state.design);
    QCOMPARE(w->state().CurrentFinSet, 2);
}

void TestMainWindow::noValueSurvivesIntoTheNextLoad() {
    w = std::make_unique<frmMain>();
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("two.rkt"), TwoFinSets)));
    // A design that has no rocket name, no tube and no fin sets.
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("bare.rkt"),
                                    "<RockSimDocument>\n<RocketDesign>\n</RocketDesign>\n"
                                    "</RockSimDocument>\n")));
    QCOMPARE(boxes(), (QStringList{"", "0", "0", "0", "", "0", "0", "0", "0"}));
    QCOMPARE(items(w->FinSetNumber), QStringList{"1"});
    QVERIFY(w->state().design.FinSets.empty());
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(w->state().design.finSet(n).Name, QString());
}

void TestMainWindow::inchesDisplay() {
    w = std::make_unique<frmMain>();
    w->state().MeasurementUnits = QStringLiteral("Inches");
    // Before any load, slot 0: every length shows 0.
    w->Form_Activate();
    QCOMPARE(w->OD->text(), QStringLiteral("0"));
    QCOMPARE(w->Root->text(), QStringLiteral("0"));
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("two.rkt"), TwoFinSets)));
    QCOMPARE(w->OD->text(), QStringLiteral("1.637790336"));
    QCOMPARE(w->FinsNumber->text(), QStringLiteral("4"));
    pick(QStringLiteral("2"));
    QCOMPARE(w->OD->text(), QStringLiteral("0.999996984"));
    // Units changed elsewhere show at the next activation; counts and names are never converted.
    w->state().MeasurementUnits = QStringLiteral("Millimeters");
    w->Form_Activate();
    QCOMPARE(boxes(), (QStringList{"Two", "25.4", "24", "70", "Inner", "3", "10", "1", "20"}));
}

void TestMainWindow::everyFinSetOffered() {
    w = std::make_unique<frmMain>();
    QByteArray six = "<RockSimDocument>\n<RocketDesign>\n<Stage3Parts>\n<BodyTube>\n"
                     "<AttachedParts>\n";
    for (int i = 1; i <= 6; ++i)
        six += "<FinSet>\n<Name>F" + QByteArray::number(i) + "</Name>\n</FinSet>\n";
    six += "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n</RockSimDocument>\n";
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("six.rkt"), six)));
    QCOMPARE(items(w->FinSetNumber), (QStringList{"1", "2", "3", "4", "5", "6"}));
    QVERIFY2(fake->messages.isEmpty(), qPrintable(fake->messages.join(u'\n')));
    // The drop-down names each fin set; the box shows its number.
    struct Shown : NamedNumberDelegate {
        QString text(const QModelIndex& index) const {
            QStyleOptionViewItem option;
            initStyleOption(&option, index);
            return option.text;
        }
    } shown;
    QCOMPARE(shown.text(w->FinSetNumber->model()->index(5, 0)), QStringLiteral("6  F6"));
    pick(QStringLiteral("6"));
    QCOMPARE(w->FinSetNumber->currentText(), QStringLiteral("6"));
    QCOMPARE(w->FName->text(), QStringLiteral("F6"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
