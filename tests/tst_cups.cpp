// Prints both aids through the main window's Print command on the system's default printer and
// measures the pages that come out. Runs only when that printer is a cups-pdf queue, so it
// never sends paper to a real printer.
#include "FakePlatform.h"
#include "SheetMatch.h"
#include "app/AidPages.h"
#include "app/frmMain.h"
#include "output/PrintCommand.h"
#include "settings/AppPaths.h"

#include "import/RockSimReader.h"
#include <QComboBox>
#include <QDateTime>
#include <QDirIterator>
#include <QPrintEngine>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vanecraft;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The folders cups-pdf may write to: its Out setting and its folder for anonymous jobs.
QStringList outputFolders() {
    QString out = QStringLiteral("${HOME}/PDF");
    QString anon = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& raw : conf.readAll().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (line.startsWith(QLatin1String("Out ")))
                out = line.mid(4).trimmed();
            else if (line.startsWith(QLatin1String("AnonDirName ")))
                anon = line.mid(12).trimmed();
        }
    }
    out.replace(QLatin1String("${HOME}"), QDir::homePath());
    out.replace(QLatin1String("${USER}"), qEnvironmentVariable("USER", QStringLiteral("root")));
    return {out, anon};
}

// Each PDF with the time it was last written. cups-pdf names a file after the job's title and
// number, and job numbers start again when the queue's state is reset, so a job may write over
// an older job's file: a file counts as new when its name or its time is.
using PdfStamps = QHash<QString, QDateTime>;

PdfStamps pdfsIn(const QStringList& folders) {
    PdfStamps found;
    for (const QString& f : folders) {
        QDirIterator it(f, {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            found.insert(it.filePath(), it.fileInfo().lastModified());
        }
    }
    return found;
}

QStringList writtenSince(const PdfStamps& before, const QStringList& folders) {
    QStringList written;
    const PdfStamps now = pdfsIn(folders);
    for (auto it = now.begin(); it != now.end(); ++it)
        if (before.value(it.key()) != it.value())
            written << it.key();
    return written;
}

// Fin set 1 fits any sheet; fin set 2, a high-power booster's, needs several.
const QByteArray TestDesign =
    "<RockSimDocument>\n<RocketDesign>\n<Name>Printed</Name>\n<Stage3Parts>\n"
    "<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Main</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
    "<SemiSpan>50</SemiSpan>\n<Thickness>3.2</Thickness>\n</FinSet>\n"
    "</AttachedParts>\n</BodyTube>\n<BodyTube>\n<OD>101.6</OD>\n<ID>98</ID>\n<Len>900</Len>\n"
    "<AttachedParts>\n<FinSet>\n<Name>Booster</Name>\n<FinCount>3</FinCount>\n"
    "<RootChord>406</RootChord>\n<SemiSpan>180</SemiSpan>\n<Thickness>6.35</Thickness>\n"
    "</FinSet>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n"
    "</RockSimDocument>\n";

// Where the queue's own description (its PPD) says it can print on a paper, in mm from the
// top-left corner: read apart from what the program asks of Qt.
std::optional<RectMm> imageableArea(const QString& queue, const QString& ppdName) {
    QFile ppd(QStringLiteral("/etc/cups/ppd/%1.ppd").arg(queue));
    if (!ppd.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromLatin1(ppd.readAll());
    auto numbers = [&](const QString& keyword) {
        const QRegularExpression re(
            QStringLiteral("\\*%1 %2/[^:]*:\\s*\"([^\"]*)\"").arg(keyword, ppdName));
        QList<double> v;
        for (const QString& n : re.match(text).captured(1).split(u' ', Qt::SkipEmptyParts))
            v << n.toDouble();
        return v;
    };
    const QList<double> area = numbers(QStringLiteral("ImageableArea"));
    const QList<double> size = numbers(QStringLiteral("PaperDimension"));
    if (area.size() != 4 || size.size() != 2)
        return std::nullopt;
    const double mm = 25.4 / 72, h = size[1];
    return RectMm{area[0] * mm, (h - area[3]) * mm, area[2] * mm, (h - area[1]) * mm};
}

QPageSize pageSizeOf(const QString& paper) {
    return paper == QLatin1String("letter") ? QPageSize(QPageSize::Letter)
                                            : QPageSize(QPageSize::A4);
}

} // namespace

class TestCups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void printed_data();
    void printed();
    void shrinkingRefused();
    void tiled_data();
    void tiled();
    void printerNotTakingJobs_data();
    void printerNotTakingJobs();

private:
    std::vector<PageGeometry> printAndCollect(int tool, int finSet, const QString& paper,
                                              std::function<bool(QPrinter&)> dialog = {});
    QTemporaryDir dir;
};

void TestCups::initTestCase() {
    const QString def = run(QStringLiteral("lpstat"), {QStringLiteral("-d")});
    const qsizetype colon = def.indexOf(u':');
    const QString name = colon < 0 ? QString() : def.mid(colon + 1).trimmed();
    if (name.isEmpty())
        QSKIP("no default printer");
    const QString device = run(QStringLiteral("lpstat"), {QStringLiteral("-v"), name});
    if (!device.contains(QLatin1String("cups-pdf:")))
        QSKIP("the default printer is not a cups-pdf queue");
    SetConfigDirOverride(dir.filePath(QStringLiteral("config")));
}

void TestCups::printed_data() {
    QTest::addColumn<int>("tool");
    QTest::newRow("Fins alignment guide") << 0;
    QTest::newRow("Body tube wrapper") << 1;
}

std::vector<PageGeometry> TestCups::printAndCollect(int tool, int finSet, const QString& paper,
                                                    std::function<bool(QPrinter&)> dialog) {
    FakePlatform fake;
    DesktopPlatform desktop;
    fake.makePrinter = [&desktop] { return desktop.defaultPrinter(); };
    fake.choosePrint = dialog ? dialog : [&paper](QPrinter& p) {
        p.setPageSize(pageSizeOf(paper));
        return true;
    };
    frmMain w;
    QFile f(dir.filePath(QStringLiteral("d.rkt")));
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(TestDesign);
    f.close();
    w.LoadDesign(f.fileName());
    w.state().selectFinSet(finSet);
    w.Choice->setCurrentIndex(tool);
    const QStringList folders = outputFolders();
    const PdfStamps before = pdfsIn(folders);
    w.mnuFilePrint->trigger();
    if (!fake.messages.isEmpty() || !fake.questions.isEmpty()) {
        PageGeometry g;
        g.error = (fake.messages + fake.questions).join(u'\n');
        return {g};
    }
    // Wait for the queue to write a new, complete PDF.
    QDeadlineTimer deadline(90000);
    while (!deadline.hasExpired()) {
        for (const QString& p : writtenSince(before, folders)) {
            QTest::qWait(1000); // let cups-pdf finish writing
            std::vector<PageGeometry> pages = ReadPdfPages(p);
            if (!pages.empty() && pages[0].error.isEmpty())
                return pages;
        }
        QTest::qWait(250);
    }
    PageGeometry g;
    g.error = QStringLiteral("no PDF appeared in ") + folders.join(QStringLiteral(", "));
    return {g};
}

void TestCups::printed() {
    QFETCH(int, tool);
    const std::vector<PageGeometry> pages = printAndCollect(tool, 1, QStringLiteral("a4"));
    QCOMPARE(int(pages.size()), 1);
    const PageGeometry& g = pages[0];
    QVERIFY2(g.error.isEmpty(), qPrintable(g.error));
    QVERIFY2(std::abs(g.widthMm - 210) < 0.5 && std::abs(g.heightMm - 297) < 0.5,
             qPrintable(QStringLiteral("%1 x %2 mm").arg(g.widthMm).arg(g.heightMm)));
    if (tool == 0) {
        // The tube's outer circle: 41.6 mm across, centred on the sheet.
        QVERIFY(!g.circles.empty());
        const auto outer = *std::max_element(g.circles.begin(), g.circles.end(),
                                             [](auto& a, auto& b) { return a.r < b.r; });
        QVERIFY2(
            std::abs(outer.cx - 105.0) < 0.05 && std::abs(outer.cy - 148.5) < 0.05 &&
                std::abs(outer.r - 20.8) < 0.05,
            qPrintable(
                QStringLiteral("circle at %1, %2, r %3").arg(outer.cx).arg(outer.cy).arg(outer.r)));
        return;
    }
    // The strip: as wide as the root chord, as long as the circumference plus the paper, about
    // the sheet's centre.
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const auto& s : g.segments) {
        if (std::abs(s.x1 - s.x2) < 0.01 && std::abs(s.y1 - s.y2) > 100) { // the long edges
            minX = std::min(minX, s.x1);
            maxX = std::max(maxX, s.x1);
            minY = std::min({minY, s.y1, s.y2});
            maxY = std::max({maxY, s.y1, s.y2});
        }
    }
    const double length = 41.6 * 3.14159265358979 + 0.381;
    QVERIFY2(
        std::abs((minX + maxX) / 2 - 105.0) < 0.05 && std::abs(maxX - minX - 75.5) < 0.05 &&
            std::abs((minY + maxY) / 2 - 148.5) < 0.05 && std::abs(maxY - minY - length) < 0.05,
        qPrintable(
            QStringLiteral("strip x %1..%2, y %3..%4").arg(minX).arg(maxX).arg(minY).arg(maxY)));
}

void TestCups::shrinkingRefused() {
    // A print dialog's "pages per sheet" and "fit to page" would shrink the sheets; they are
    // CUPS options that Qt keeps in its print engine.
    const auto shrink = [](QPrinter& p) {
        p.setPageSize(QPageSize(QPageSize::A4));
        p.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00),
                                     QStringList{QStringLiteral("number-up"), QStringLiteral("2"),
                                                 QStringLiteral("fit-to-page"),
                                                 QStringLiteral("true")});
        return true;
    };
    const std::vector<PageGeometry> pages = printAndCollect(0, 1, QStringLiteral("a4"), shrink);
    QCOMPARE(int(pages.size()), 1);
    QVERIFY(!pages[0].circles.empty());
    QVERIFY2(pages[0].error.isEmpty(), qPrintable(pages[0].error));
    const auto outer = *std::max_element(pages[0].circles.begin(), pages[0].circles.end(),
                                         [](auto& a, auto& b) { return a.r < b.r; });
    QVERIFY2(std::abs(outer.r - 20.8) < 0.05 && std::abs(outer.cx - 105) < 0.05,
             qPrintable(QStringLiteral("r %1 at %2").arg(outer.r).arg(outer.cx)));
}

void TestCups::tiled_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("paper");
    QTest::newRow("guide on Letter") << 0 << "letter";
    QTest::newRow("wrapper on A4") << 1 << "a4";
}

void TestCups::tiled() {
    QFETCH(int, tool);
    QFETCH(QString, paper);
    const std::vector<PageGeometry> pages = printAndCollect(tool, 2, paper);
    QVERIFY(!pages.empty());
    QVERIFY2(pages[0].error.isEmpty(), qPrintable(pages[0].error));
    // The layout the printer was given: its paper and its own printable area.
    DesktopPlatform desktop;
    const std::unique_ptr<QPrinter> probe = desktop.defaultPrinter();
    probe->setPageSize(pageSizeOf(paper));
    AppState state;
    state.PaperThickness = 0.381f;
    QFile f(dir.filePath(QStringLiteral("d.rkt")));
    const LoadResult r = ReadRockSimFile(f.fileName());
    QVERIFY(r.ok);
    state.adoptDesign(r.design);
    state.selectFinSet(2);
    const AidPages expected =
        PagesForPrinter(Tools()[tool], state, PrinterSheetOptions(*probe, true));
    QVERIFY2(expected.ok(), qPrintable(expected.refusal));
    QVERIFY(expected.layout.tiled());
    QCOMPARE(pages.size(), expected.layout.sheets.size());
    const Paper sheet = *PaperFromKey(paper);
    const std::optional<RectMm> printable = imageableArea(
        probe->printerName(),
        paper == QLatin1String("letter") ? QStringLiteral("Letter") : QStringLiteral("A4"));
    QVERIFY2(printable, "the queue's PPD tells no printable area for this paper");
    for (const PageGeometry& g : pages) {
        QVERIFY2(std::abs(g.widthMm - sheet.widthMm) < 0.5 &&
                     std::abs(g.heightMm - sheet.heightMm) < 0.5,
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(g.widthMm).arg(g.heightMm)));
        const QString outside = sheet_match::InsidePrintable(g, *printable);
        QVERIFY2(outside.isEmpty(), qPrintable(outside));
    }
    const AidResult aid = Tools()[tool].build(AidValuesOf(state));
    const QString lost = sheet_match::Reassembles(pages, expected.layout, aid.figure);
    QVERIFY2(lost.isEmpty(), qPrintable(lost));
}

void TestCups::printerNotTakingJobs_data() {
    QTest::addColumn<QString>("stop");  // what makes the queue refuse
    QTest::addColumn<QString>("start"); // what puts it back
    QTest::newRow("stopped") << "cupsdisable"
                             << "cupsenable";
    QTest::newRow("rejecting jobs") << "cupsreject"
                                    << "cupsaccept";
}

void TestCups::printerNotTakingJobs() {
    QFETCH(QString, stop);
    QFETCH(QString, start);
    DesktopPlatform desktop;
    const QString name = desktop.defaultPrinter()->printerName();
    if (QProcess::execute(stop, {name}) != 0)
        QSKIP("the queue cannot be stopped here");
    const auto restart = qScopeGuard([&] { QProcess::execute(start, {name}); });
    FakePlatform fake;
    fake.makePrinter = [&desktop] { return desktop.defaultPrinter(); };
    frmMain w;
    QFile f(dir.filePath(QStringLiteral("d.rkt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(TestDesign);
    f.close();
    QVERIFY(w.LoadDesign(f.fileName()));
    w.Choice->setCurrentIndex(0);
    fake.answers << false;
    w.mnuFilePrint->trigger();
    // The user hears of it, with the printer's name, and is offered a PDF instead.
    QCOMPARE(fake.questions.size(), 1);
    QVERIFY2(fake.questions[0].contains(name) && fake.questions[0].contains(QLatin1String("PDF")),
             qPrintable(fake.questions[0]));
}

QTEST_MAIN(TestCups)
#include "tst_cups.moc"
