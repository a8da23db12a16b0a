// Every aid of every fin set of the example designs and of the RockSim corpus, on A4 and on
// Letter, by --export and by the window's Print: nothing of the figure may be lost. The pages are
// read back from the PDFs and put together again by their sheets' places.
#include "FakePlatform.h"
#include "SheetMatch.h"
#include "app/AidPages.h"
#include "app/frmMain.h"
#include "import/DesignFile.h"
#include "output/PrintCommand.h"
#include "settings/AppPaths.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace vanecraft;
using namespace sheet_match;

namespace {

struct Cross {
    double x, y;
};

// The alignment crosses on a page, shifted into the figure's millimetres: pairs of crossing
// 8 mm strokes that share their middle.
std::vector<Cross> crossesOn(const PageGeometry& g, double dx, double dy) {
    std::vector<Cross> found;
    auto arm = [](const PageGeometry::Segment& s) {
        return near(std::hypot(s.x2 - s.x1, s.y2 - s.y1), 8, 1e-3);
    };
    for (size_t i = 0; i < g.segments.size(); ++i)
        for (size_t j = i + 1; j < g.segments.size(); ++j) {
            const auto &a = g.segments[i], &b = g.segments[j];
            const double ax = (a.x1 + a.x2) / 2, ay = (a.y1 + a.y2) / 2;
            const double dot = (a.x2 - a.x1) * (b.x2 - b.x1) + (a.y2 - a.y1) * (b.y2 - b.y1);
            if (arm(a) && arm(b) && near(dot, 0, 1e-3) && near(ax, (b.x1 + b.x2) / 2) &&
                near(ay, (b.y1 + b.y2) / 2))
                found.push_back({ax - dx, ay - dy});
        }
    return found;
}

// Empty when every pair of neighbouring sheets shares at least two crosses at one place.
QString neighboursLineUp(const std::vector<PageGeometry>& pages, const SheetLayout& layout) {
    std::vector<std::vector<Cross>> crosses;
    for (size_t i = 0; i < pages.size(); ++i)
        crosses.push_back(crossesOn(pages[i], layout.sheets[i].offsetX, layout.sheets[i].offsetY));
    for (size_t i = 0; i < pages.size(); ++i)
        for (size_t j = i + 1; j < pages.size(); ++j) {
            const Sheet &a = layout.sheets[i], &b = layout.sheets[j];
            if (std::abs(a.row - b.row) + std::abs(a.column - b.column) != 1)
                continue;
            int shared = 0;
            for (const Cross& p : crosses[i])
                for (const Cross& q : crosses[j])
                    shared += near(p.x, q.x) && near(p.y, q.y);
            if (shared < 2)
                return QStringLiteral("sheets %1 and %2 share %3 crosses")
                    .arg(i)
                    .arg(j)
                    .arg(shared);
        }
    return QString();
}

} // namespace

class TestTiling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aid_data();
    void aid();

private:
    void check(const std::vector<PageGeometry>& pages, const SheetLayout& layout,
               const Figure& figure, const RectMm& printable);
    QTemporaryDir home;
};

void TestTiling::initTestCase() {
    SetConfigDirOverride(home.filePath(QStringLiteral("config")));
}

namespace {

// The project's own designs, large ones among them, and the real RockSim and OpenRocket ones of
// the corpora when they are on this machine.
QStringList designs() {
    QStringList paths{QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt"),
                      QStringLiteral(VANECRAFT_EXAMPLES_DIR "/goliath.rkt"),
                      QStringLiteral(VANECRAFT_TEST_DESIGNS_DIR "/wide-booster.rkt")};
    const QDir corpus(QStringLiteral(VANECRAFT_CORPUS_DIR));
    for (const QString& name : corpus.entryList({QStringLiteral("*.rkt")}, QDir::Files))
        paths << corpus.filePath(name);
    const QDir ork(QStringLiteral(VANECRAFT_ORK_CORPUS_DIR));
    for (const QString& name : ork.entryList({QStringLiteral("*.ork")}, QDir::Files))
        paths << ork.filePath(name);
    return paths;
}

} // namespace

void TestTiling::aid_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("finSet");
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("paper");
    int drawable = 0;
    for (const QString& path : designs()) {
        const QString name = QFileInfo(path).fileName();
        const LoadResult r = ReadDesignFile(path);
        QVERIFY2(r.ok, qPrintable(r.message));
        AppState state;
        state.adoptDesign(r.design);
        state.PaperThickness = 0.381f;
        for (int n = 1; n <= r.design.finSetsOffered(); ++n) {
            state.selectFinSet(n);
            for (int tool = 0; tool < 2; ++tool) {
                // Fin sets on no tube cannot make an aid; they are refused, not drawn.
                if (!Tools()[tool].build(AidValuesOf(state)).ok())
                    continue;
                ++drawable;
                for (const char* paper : {"a4", "letter"})
                    QTest::addRow("%s #%d %s %s", qPrintable(name), n, Tools()[tool].commandName,
                                  paper)
                        << path << n << tool << QString::fromLatin1(paper);
            }
        }
    }
    QVERIFY(drawable >= 6);
}

void TestTiling::check(const std::vector<PageGeometry>& pages, const SheetLayout& layout,
                       const Figure& figure, const RectMm& printable) {
    QCOMPARE(pages.size(), layout.sheets.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        const QString outside = InsidePrintable(pages[i], printable);
        QVERIFY2(outside.isEmpty(), qPrintable(QStringLiteral("sheet %1: ").arg(i) + outside));
        const QString diff = CompareWithSheet(pages[i], layout.sheets[i], -1);
        QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("sheet %1: ").arg(i) + diff));
    }
    const QString lost = Reassembles(pages, layout, figure);
    QVERIFY2(lost.isEmpty(), qPrintable(lost));
    if (pages.size() > 1) {
        const QString apart = neighboursLineUp(pages, layout);
        QVERIFY2(apart.isEmpty(), qPrintable(apart));
    }
}

void TestTiling::aid() {
    QFETCH(QString, path);
    QFETCH(int, finSet);
    QFETCH(int, tool);
    QFETCH(QString, paper);
    const Paper sheet = *PaperFromKey(paper);

    // --export, on the paper given.
    const QString out = home.filePath(QStringLiteral("export.pdf"));
    QFile::remove(out);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANECRAFT_BINARY),
            {QStringLiteral("--export"), QString::fromLatin1(Tools()[tool].commandName),
             QStringLiteral("--paper"), paper, QStringLiteral("--fin-set"), QString::number(finSet),
             QStringLiteral("--output"), out, path});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);

    FakePlatform fake;
    frmMain w;
    QVERIFY(w.LoadDesign(path));
    fake.messages.clear(); // what the load had to say about fin sets past the fourth
    w.state().selectFinSet(finSet);
    const AidResult aid = Tools()[tool].build(AidValuesOf(w.state()));
    QVERIFY(aid.ok());
    const AidPages exported = PagesForFile(Tools()[tool], w.state(), PageFormat::Pdf, sheet, true);
    QVERIFY(exported.ok());
    // Export keeps 6 mm clear of every edge.
    check(ReadPdfPages(out), exported.layout, aid.figure,
          {6, 6, sheet.widthMm - 6, sheet.heightMm - 6});
    if (exported.layout.tiled())
        qInfo("%d sheets", int(exported.layout.sheets.size()));

    // Print, through the window, on a printer that holds this paper.
    const QString printed = home.filePath(QStringLiteral("printed.pdf"));
    QFile::remove(printed);
    fake.makePrinter = [&] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printed);
        return printer;
    };
    fake.choosePrint = [&](QPrinter& printer) {
        printer.setPageSize(sheet.inches ? QPageSize(QPageSize::Letter) : QPageSize(QPageSize::A4));
        // Margins as a printer that cannot print to the paper's edge would want them.
        printer.setPageMargins(QMarginsF(4.2, 3.5, 4.2, 12.7), QPageLayout::Millimeter);
        return true;
    };
    w.Choice->setCurrentIndex(tool);
    w.mnuFilePrint->trigger();
    QVERIFY2(fake.messages.isEmpty() && fake.questions.isEmpty(),
             qPrintable((fake.messages + fake.questions).join(u'\n')));
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    fake.choosePrint(probe);
    const AidPages onPrinter =
        PagesForPrinter(Tools()[tool], w.state(), PrinterSheetOptions(probe, true));
    check(ReadPdfPages(printed), onPrinter.layout, aid.figure,
          {4.2, 3.5, sheet.widthMm - 4.2, sheet.heightMm - 12.7});
}

QTEST_MAIN(TestTiling)
#include "tst_tiling.moc"
