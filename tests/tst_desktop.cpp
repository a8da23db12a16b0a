#include "FakePlatform.h"
#include "OrkFiles.h"
#include "aids/Aids.h"
#include "app/Cli.h"
#include "app/frmMain.h"
#include "import/RockSimReader.h"
#include "settings/AppPaths.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vanecraft;

namespace {

// A one-fin-set design whose rocket name tells the loads apart.
QByteArray designNamed(const QString& name) {
    return "<RockSimDocument>\n<RocketDesign>\n<Name>" + name.toUtf8() +
           "</Name>\n<Stage3Parts>\n<BodyTube>\n<OD>25</OD>\n<ID>24</ID>\n<Len>200</Len>\n"
           "<AttachedParts>\n<FinSet>\n<Name>Fins</Name>\n<FinCount>3</FinCount>\n"
           "<RootChord>60</RootChord>\n<SemiSpan>30</SemiSpan>\n<Thickness>3</Thickness>\n"
           "</FinSet>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n"
           "</RockSimDocument>\n";
}

// A design followed by `megabytes` of simulation rows as RockSim writes them.
QByteArray largeDesign(const QString& name, int megabytes) {
    QByteArray bytes = designNamed(name);
    bytes.chop(QByteArrayLiteral("</RockSimDocument>\n").size());
    bytes += "<SimulationResultsList>\n<SimulationResults>\n";
    const QByteArray row =
        "<Time>0.0125</Time><Altitude>12.5</Altitude><Velocity>3.25</Velocity><Accel>0.1</Accel>"
        "<Mass>1.5</Mass><Thrust>2.5</Thrust><Drag>3.5</Drag><Mach>0.01</Mach><CG>1.2</CG>"
        "<CP>1.4</CP><Stability>1.1</Stability><Range>0.5</Range>\r\n";
    bytes.reserve(qsizetype(megabytes) << 20);
    while (bytes.size() < (qsizetype(megabytes) << 20))
        bytes += row;
    return bytes + "</SimulationResults>\n</SimulationResultsList>\n</RockSimDocument>\n";
}

// Counts the paints of any widget, and remembers when the first came.
struct PaintWatch : QObject {
    QElapsedTimer clock;
    qint64 firstPaint = -1;
    PaintWatch() { clock.start(); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && firstPaint < 0)
            firstPaint = clock.elapsed();
        return false;
    }
};

QStringList recentCaptions(const frmMain& w) {
    QStringList out;
    for (QAction* a : w.mnuFileRecent->actions())
        out << a->text();
    return out;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dropOntoTheWindow_data();
    void dropOntoTheWindow();
    void shortcuts_data();
    void shortcuts();
    void accessLettersAreUnambiguous();
    void recentDesignsKeepTheLastFive();
    void recentDesignOpensThroughLoadPath();
    void goneRecentDesignIsDropped();
    void oddPathsSurviveTheStore_data();
    void oddPathsSurviveTheStore();
    void handEditedStoreIsTidied();
    void openRocketDesign_data();
    void openRocketDesign();
    void paintsWhileALargeDesignLoads();
    void cancelledLoadKeepsTheDesign();
    void closingDuringALoadStopsIt();
    void startWithADesign_data();
    void startWithADesign();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    void openWindow();
    // Sends a drag and drop of `data` at the centre of `target`, through the window's own
    // dispatch, as the desktop would; returns whether the window took the drag.
    bool dragAndDrop(QWidget* target, QMimeData* data);
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> w;
};

void TestDesktop::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(dir->path() + QStringLiteral("/config"));
    fake = std::make_unique<FakePlatform>();
}

void TestDesktop::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

QString TestDesktop::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir->filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestDesktop::openWindow() {
    w = std::make_unique<frmMain>();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
}

bool TestDesktop::dragAndDrop(QWidget* target, QMimeData* data) {
    const std::unique_ptr<QMimeData> owned(data);
    QWindow* window = w->windowHandle();
    const QPointF at = target->mapTo(w.get(), QPointF(target->rect().center()));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    // The load runs once the drop has ended.
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

void TestDesktop::dropOntoTheWindow_data() {
    QTest::addColumn<QStringList>("files"); // written into the scratch folder
    QTest::addColumn<QString>("target");    // object name of the widget dropped on
    QTest::addColumn<bool>("taken");        // the window accepts the drag
    QTest::addColumn<QString>("shownName"); // Rocket name box afterwards
    QTest::addColumn<QString>("message");   // what the user is told, if anything

    QTest::newRow("design on the client area")
        << QStringList{"Dropped.rkt"} << "client" << true << "Dropped"
        << "";
    QTest::newRow("design on a value box")
        << QStringList{"Dropped.rkt"} << "RName" << true << "Dropped"
        << "";
    QTest::newRow("design on the tool list")
        << QStringList{"Dropped.rkt"} << "Choice" << true << "Dropped"
        << "";
    QTest::newRow("any name, checked by content")
        << QStringList{"design.xml"} << "client" << true << "Dropped"
        << "";
    QTest::newRow("not a RockSim file") << QStringList{"notes.rkt"} << "client" << true << "Before"
                                        << QString::fromUtf8(AbnormalFormatMessage);
    QTest::newRow("two files at once")
        << QStringList{"Dropped.rkt", "design.xml"} << "client" << false << "Before"
        << "";
}

void TestDesktop::dropOntoTheWindow() {
    QFETCH(QStringList, files);
    QFETCH(QString, target);
    QFETCH(bool, taken);
    QFETCH(QString, shownName);
    QFETCH(QString, message);

    openWindow();
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("before.rkt"), designNamed("Before"))));
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& name : files) {
        const QByteArray bytes = name == QLatin1String("notes.rkt") ? QByteArray("just notes\n")
                                                                    : designNamed("Dropped");
        urls << QUrl::fromLocalFile(writeFile(name, bytes));
    }
    data->setUrls(urls);
    data->setText(urls.first().toLocalFile());
    QWidget* on = w->findChild<QWidget*>(target);
    QVERIFY(on);
    QCOMPARE(dragAndDrop(on, data), taken);

    QCOMPARE(w->RName->text(), shownName);
    QCOMPARE(fake->messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) // the format message, naming the file dropped
        QVERIFY(fake->messages[0].startsWith(message) && fake->messages[0].contains(files.first()));
    // The path never lands in the box it was dropped on.
    for (QLineEdit* box : w->findChildren<QLineEdit*>())
        QVERIFY2(!box->text().contains(dir->path()), qPrintable(box->objectName()));
}

void TestDesktop::shortcuts_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus"); // the box that has the keyboard focus
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("Ctrl+O loads") << int(Qt::Key_O) << ""
                                  << "Ctrl+O"
                                  << "loaded";
    QTest::newRow("Ctrl+O from a value box") << int(Qt::Key_O) << "FName"
                                             << "Ctrl+O"
                                             << "loaded";
    QTest::newRow("Ctrl+P prints") << int(Qt::Key_P) << ""
                                   << "Ctrl+P"
                                   << "print asked";
    QTest::newRow("Ctrl+P from the tool list") << int(Qt::Key_P) << "Choice"
                                               << "Ctrl+P"
                                               << "print asked";
    QTest::newRow("Ctrl+Q exits") << int(Qt::Key_Q) << ""
                                  << "Ctrl+Q"
                                  << "closed";
}

void TestDesktop::shortcuts() {
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(QString, menuText);
    QFETCH(QString, outcome);

    openWindow();
    const QString design = writeFile(QStringLiteral("keyed.rkt"), designNamed("Keyed"));
    fake->openPaths << design;
    QWidget* target = w.get();
    if (!focus.isEmpty()) {
        target = w->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
    }
    QAction* action = key == Qt::Key_O   ? w->mnuFileOpen
                      : key == Qt::Key_P ? w->mnuFilePrint
                                         : w->mnuFileExit;
    // Shown beside the command in the menu.
    QCOMPARE(action->shortcut().toString(QKeySequence::NativeText), menuText);

    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    QCoreApplication::processEvents();
    if (outcome == QLatin1String("loaded")) {
        QCOMPARE(fake->dialogs.size(), 1);
        QCOMPARE(w->RName->text(), QStringLiteral("Keyed"));
    } else if (outcome == QLatin1String("print asked")) {
        // No tool is picked yet: Print says so, and nothing is typed into the focused box.
        QCOMPARE(fake->messages, QStringList{QString::fromUtf8(SelectToolToPrintMessage)});
        QCOMPARE(w->Choice->currentText(), QStringLiteral("Select the tool you need."));
    } else {
        QVERIFY(!w->isVisible());
    }
}

void TestDesktop::accessLettersAreUnambiguous() {
    openWindow();
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("a.rkt"), designNamed("A"))));
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("b.rkt"), designNamed("B"))));
    QList<QMenu*> menus{w->mnuFileRecent};
    for (QAction* top : w->menuBar()->actions())
        menus << top->menu();
    QSet<QKeySequence> shortcuts;
    for (QMenu* menu : menus) {
        QSet<QChar> letters;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            const QString text = a->text();
            const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            QVERIFY2(at >= 0, qPrintable(menu->title() + u'/' + text));
            const QChar letter = text.at(at + 1).toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(menu->title() + u'/' + text));
            letters.insert(letter);
            if (!a->shortcut().isEmpty()) {
                QVERIFY2(!shortcuts.contains(a->shortcut()), qPrintable(text));
                shortcuts.insert(a->shortcut());
            }
        }
    }
    QCOMPARE(shortcuts.size(), 3);
}

void TestDesktop::recentDesignsKeepTheLastFive() {
    openWindow();
    QVERIFY(!w->mnuFileRecent->menuAction()->isEnabled());
    QStringList paths;
    for (int i = 1; i <= 7; ++i) {
        paths.prepend(writeFile(QStringLiteral("d%1.rkt").arg(i), designNamed(QString::number(i))));
        QVERIFY(w->LoadDesign(paths.first()));
    }
    QCOMPARE(w->RecentDesigns(), paths.mid(0, 5));
    // Loading one again moves it to the top rather than listing it twice.
    QVERIFY(w->LoadDesign(paths.at(3)));
    const QStringList expected{paths[3], paths[0], paths[1], paths[2], paths[4]};
    QCOMPARE(w->RecentDesigns(), expected);
    // A refused file is not remembered.
    QVERIFY(!w->LoadDesign(writeFile(QStringLiteral("bad.rkt"), "noise")));
    QCOMPARE(w->RecentDesigns(), expected);

    QStringList captions;
    for (int i = 0; i < 5; ++i)
        captions << QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(expected[i]));
    QCOMPARE(recentCaptions(*w), captions);
    QVERIFY(w->mnuFileRecent->menuAction()->isEnabled());

    // Kept beside the placement, so the next start offers the same list.
    w->close();
    w.reset();
    QSettings store(PlacementStorePath(), QSettings::IniFormat);
    QVERIFY(store.contains(QStringLiteral("Settings/MainLeft")));
    QCOMPARE(store.value(QStringLiteral("Settings/RecentDesigns")).toStringList(), expected);
    openWindow();
    QCOMPARE(recentCaptions(*w), captions);
}

void TestDesktop::recentDesignOpensThroughLoadPath() {
    openWindow();
    const QString first = writeFile(QStringLiteral("first.rkt"), designNamed("First"));
    const QString second = writeFile(QStringLiteral("second.rkt"), designNamed("Second"));
    QVERIFY(w->LoadDesign(first));
    QVERIFY(w->LoadDesign(second));
    QCOMPARE(w->RName->text(), QStringLiteral("Second"));

    w->mnuFileRecent->actions().at(1)->trigger();
    QCOMPARE(w->RName->text(), QStringLiteral("First"));
    QCOMPARE(w->RecentDesigns(), (QStringList{first, second}));

    // Still there but no longer a design: the Load path refuses it, the window keeps what it
    // showed, and the entry stays for when the file is put right.
    writeFile(QStringLiteral("second.rkt"), "<html>not a design</html>\n");
    w->mnuFileRecent->actions().at(1)->trigger();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].startsWith(QString::fromUtf8(AbnormalFormatMessage)) &&
            fake->messages[0].contains(QStringLiteral("second.rkt")));
    QCOMPARE(w->RName->text(), QStringLiteral("First"));
    QCOMPARE(w->RecentDesigns(), (QStringList{first, second}));
}

void TestDesktop::goneRecentDesignIsDropped() {
    openWindow();
    QStringList paths;
    for (const char* name : {"a", "b", "c"})
        paths.prepend(writeFile(QString::fromLatin1(name) + QStringLiteral(".rkt"),
                                designNamed(QString::fromLatin1(name))));
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        QVERIFY(w->LoadDesign(*it));
    QCOMPARE(w->RName->text(), QStringLiteral("c"));
    QVERIFY(QFile::remove(paths[1]));

    w->mnuFileRecent->actions().at(1)->trigger();
    QCOMPARE(fake->messages,
             QStringList{QStringLiteral("The design \"%1\" is no longer there: it may have been "
                                        "moved, renamed or deleted. It has been taken off the "
                                        "recent designs.")
                             .arg(QDir::toNativeSeparators(paths[1]))});
    QCOMPARE(w->RName->text(), QStringLiteral("c"));
    QCOMPARE(w->RecentDesigns(), (QStringList{paths[0], paths[2]}));
    QCOMPARE(recentCaptions(*w).size(), 2);
    QVERIFY(recentCaptions(*w).at(1).startsWith(QStringLiteral("&2 ")));
    QVERIFY(recentCaptions(*w).at(1).endsWith(QStringLiteral("a.rkt")));
}

void TestDesktop::oddPathsSurviveTheStore_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("comma") << "Alpha, Mk II.rkt";
    QTest::newRow("ampersand") << "Fins & tube.rkt";
    QTest::newRow("quotes and equals") << "\"a\" = 'b'.rkt";
    QTest::newRow("place markers") << "%1 %2 @Variant(x).rkt";
    QTest::newRow("semicolon and hash") << "x;y #z.rkt";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Fusée à trois étages.rkt");
    QTest::newRow("backslash") << "back\\slash.rkt";
}

void TestDesktop::oddPathsSurviveTheStore() {
    QFETCH(QString, name);
    const QString path = writeFile(name, designNamed(QStringLiteral("Odd")));
    openWindow();
    QVERIFY(w->LoadDesign(path));
    w->close();
    w.reset();

    openWindow();
    QCOMPARE(w->RecentDesigns(), QStringList{path});
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(u'&', QStringLiteral("&&"));
    QCOMPARE(recentCaptions(*w), QStringList{QStringLiteral("&1 ") + shown});
    w->mnuFileRecent->actions().first()->trigger();
    QCOMPARE(w->RName->text(), QStringLiteral("Odd"));
    QVERIFY(fake->messages.isEmpty());
}

void TestDesktop::handEditedStoreIsTidied() {
    const QStringList stored{"/d/1.rkt", "",         "/d/2.rkt", "/d/1.rkt", "  ",
                             "/d/3.rkt", "/d/4.rkt", "/d/5.rkt", "/d/6.rkt"};
    {
        QSettings store(PlacementStorePath(), QSettings::IniFormat);
        store.setValue(QStringLiteral("Settings/RecentDesigns"), stored);
    }
    openWindow();
    const QStringList expected{"/d/1.rkt", "/d/2.rkt", "/d/3.rkt", "/d/4.rkt", "/d/5.rkt"};
    QCOMPARE(w->RecentDesigns(), expected);
    QCOMPARE(recentCaptions(*w).size(), 5);
    QVERIFY(fake->messages.isEmpty());
}

void TestDesktop::openRocketDesign_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dropped"); // else through File -> Load...
    const QByteArray xml = ork_files::CanardsAndFins();
    QTest::newRow("ZIP, loaded") << ork_files::Zipped({{"rocket.ork", xml}}) << "a.ork" << false;
    QTest::newRow("ZIP, dropped") << ork_files::Zipped({{"rocket.ork", xml}}) << "a.ork" << true;
    QTest::newRow("gzip named .rkt") << ork_files::Gzipped(xml) << "b.rkt" << false;
    QTest::newRow("plain XML without a suffix") << xml << "design" << true;
}

void TestDesktop::openRocketDesign() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(bool, dropped);
    openWindow();
    const QString path = writeFile(name, bytes);
    if (dropped) {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(dragAndDrop(w.get(), data));
    } else {
        fake->openPaths << path;
        w->mnuFileOpen->trigger();
    }
    QVERIFY2(fake->messages.isEmpty(), qPrintable(fake->messages.join(u'\n')));
    QCOMPARE(w->RName->text(), QStringLiteral("Two sets"));
    QCOMPARE(w->FinSetNumber->count(), 2);
    QCOMPARE(w->FinSetNumber->itemData(0, Qt::UserRole).toString(), QStringLiteral("Canards"));
    // Canards on the nose cone: their values, no tube, and aids that say where they sit.
    auto boxes = [this] {
        return QStringList{w->FName->text(), w->FinsNumber->text(), w->Root->text(),
                           w->Span->text(),  w->Thickness->text(),  w->OD->text(),
                           w->ID->text(),    w->BLength->text()};
    };
    QCOMPARE(boxes(), (QStringList{"Canards", "3", "30", "15", "2", "", "", ""}));
    for (const Tool& tool : Tools())
        QVERIFY(tool.build(AidValuesOf(w->state()))
                    .refusal.contains(QLatin1String("sit on a nose cone, not on a body tube")));
    // The fins on the tube, in millimetres as the file's metres convert.
    w->FinSetNumber->setCurrentIndex(1);
    emit w->FinSetNumber->activated(1);
    QCOMPARE(boxes(), (QStringList{"Fins", "4", "75.5", "50", "3.2", "41.6", "40.6", "300"}));
    for (const Tool& tool : Tools())
        QVERIFY(tool.build(AidValuesOf(w->state())).ok());
}

void TestDesktop::startWithADesign_data() {
    QTest::addColumn<QString>("given"); // "design", "missing" or ""
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("recent");
    QTest::newRow("a design") << "design"
                              << "Started" << 0 << 1;
    QTest::newRow("a missing file") << "missing"
                                    << "" << 1 << 0;
    QTest::newRow("nothing") << ""
                             << "" << 0 << 0;
}

void TestDesktop::startWithADesign() {
    QFETCH(QString, given);
    QFETCH(QString, shownName);
    QFETCH(int, messages);
    QFETCH(int, recent);

    const QString design = writeFile(QStringLiteral("start.rkt"), designNamed("Started"));
    QStringList args;
    if (given == QLatin1String("design"))
        args << design;
    else if (given == QLatin1String("missing"))
        args << dir->filePath(QStringLiteral("gone.rkt"));
    w = StartMainWindow(args);
    QVERIFY(w->isVisible());
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.vanecraft.Vanecraft"));
    QVERIFY(!QApplication::windowIcon().pixmap(64, 64).isNull());
    QTRY_COMPARE(w->RName->text(), shownName);
    QCoreApplication::processEvents();
    QCOMPARE(fake->messages.size(), messages);
    if (messages)
        QVERIFY(fake->messages.first().contains(QStringLiteral("gone.rkt")));
    QCOMPARE(w->RecentDesigns().size(), recent);
}

void TestDesktop::paintsWhileALargeDesignLoads() {
    const QString big =
        writeFile(QStringLiteral("big.rkt"), largeDesign(QStringLiteral("Big"), 100));
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    w = StartMainWindow({big});
    qint64 loaded = -1;
    connect(w->RName, &QLineEdit::textChanged, &watch, [&] { loaded = watch.clock.elapsed(); });
    QTRY_COMPARE_WITH_TIMEOUT(w->RName->text(), QStringLiteral("Big"), 30000);
    qApp->removeEventFilter(&watch);
    // The window was on the screen before the design was read, not after.
    QVERIFY(watch.firstPaint >= 0);
    QVERIFY2(
        watch.firstPaint < loaded,
        qPrintable(
            QStringLiteral("painted at %1 ms, loaded at %2 ms").arg(watch.firstPaint).arg(loaded)));
    QVERIFY(fake->progressUpdates >= 1);
    QVERIFY(fake->progressLabels.value(0).contains(QLatin1String("big.rkt")));
}

void TestDesktop::cancelledLoadKeepsTheDesign() {
    openWindow();
    QVERIFY(w->LoadDesign(writeFile(QStringLiteral("before.rkt"), designNamed("Before"))));
    const AppState before = w->state();
    const QStringList recent = w->RecentDesigns();
    const QString big =
        writeFile(QStringLiteral("big.rkt"), largeDesign(QStringLiteral("Big"), 60));
    fake->onProgress = [](qint64, qint64) { return false; }; // the user presses Cancel
    QVERIFY(!w->LoadDesign(big));
    // All or nothing: the design, its boxes and the recent designs are as they were, and the
    // status bar says the load was cancelled rather than a box interrupting the user.
    QCOMPARE(w->state().design, before.design);
    QCOMPARE(w->RName->text(), QStringLiteral("Before"));
    QCOMPARE(w->RecentDesigns(), recent);
    QVERIFY(fake->messages.isEmpty());
    QVERIFY(w->sbStato->text().contains(QLatin1String("\"big.rkt\" was cancelled")));
    QVERIFY(w->menuBar()->isEnabled());
    // The next load goes through.
    fake->onProgress = {};
    QVERIFY(w->LoadDesign(big));
    QCOMPARE(w->RName->text(), QStringLiteral("Big"));
    QCOMPARE(w->sbStato->text(), QStringLiteral("Stato")); // no word of the cancelled load left
}

void TestDesktop::closingDuringALoadStopsIt() {
    openWindow();
    const QString big =
        writeFile(QStringLiteral("big.rkt"), largeDesign(QStringLiteral("Big"), 60));
    bool closed = false;
    fake->onProgress = [&](qint64, qint64) {
        closed = closed || w->close(); // refused while the load runs
        return true;
    };
    QVERIFY(!w->LoadDesign(big));
    QVERIFY(!closed);
    // The load was stopped, nothing of it was taken, and the window closes once it has ended.
    QVERIFY(w->RecentDesigns().isEmpty());
    QTRY_VERIFY(!w->isVisible());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
