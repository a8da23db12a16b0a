// Print, Preview and Export through the real main window, and the written pages read back.
#include "FakePlatform.h"
#include "SheetMatch.h"
#include "app/AidPages.h"
#include "app/frmMain.h"
#include "output/PreviewCanvas.h"
#include "output/PrintCommand.h"
#include "output/frmPreview.h"
#include "settings/AppPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vanecraft;
using namespace sheet_match;

namespace {

QByteArray designText(const char* od, const char* root) {
    return QByteArray("<RockSimDocument>\n<RocketDesign>\n<Name>Test</Name>\n<Stage3Parts>\n"
                      "<BodyTube>\n<OD>") +
           od +
           "</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n<AttachedParts>\n"
           "<FinSet>\n<Name>Main</Name>\n<FinCount>4</FinCount>\n<RootChord>" +
           root +
           "</RootChord>\n<SemiSpan>50</SemiSpan>\n<Thickness>3.2</Thickness>\n</FinSet>\n"
           "<FinSet>\n<Name>Small</Name>\n<FinCount>3</FinCount>\n<RootChord>40</RootChord>\n"
           "<SemiSpan>20</SemiSpan>\n<Thickness>2</Thickness>\n</FinSet>\n"
           "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n</RockSimDocument>\n";
}

} // namespace

class TestOutput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exportedPages_data();
    void exportedPages();
    void printNeedsATool();
    void printRefusedGuideStartsNoJob();
    void printToPrinter_data();
    void printToPrinter();
    void printCancelled();
    void noPrinterOffersPdf();
    void printerThatCannotStart();
    void exportFromWindow();
    void exportOnTheChosenPaper();
    void preview();
    void previewRefusedGuide();

private:
    QString file(const QString& name) const { return dir->filePath(name); }
    void loadDesign(const char* od = "41.6", const char* root = "75.5");
    AidPages expectedPages(int tool, PageFormat format = PageFormat::Pdf);
    std::unique_ptr<QPrinter> pdfPrinter(const QString& out);
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> w;
    int printersMade = 0;
};

void TestOutput::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(file(QStringLiteral("config")));
    fake = std::make_unique<FakePlatform>();
    w = std::make_unique<frmMain>();
    w->state().PaperKey = QStringLiteral("a4");
    printersMade = 0;
}

void TestOutput::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

void TestOutput::loadDesign(const char* od, const char* root) {
    QFile f(file(QStringLiteral("d.rkt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(designText(od, root));
    f.close();
    QVERIFY(w->LoadDesign(f.fileName()));
}

AidPages TestOutput::expectedPages(int tool, PageFormat format) {
    return PagesForFile(Tools()[tool], w->state(), format, ChosenPaper(w->state()),
                        w->state().ScaleCheck);
}

std::unique_ptr<QPrinter> TestOutput::pdfPrinter(const QString& out) {
    ++printersMade;
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(out);
    return p;
}

void TestOutput::exportedPages_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("finSet");
    QTest::addColumn<bool>("scaleCheck");
    QTest::newRow("guide PDF") << 0 << "g.pdf" << 1 << true;
    QTest::newRow("guide SVG, no scale check") << 0 << "g.svg" << 1 << false;
    QTest::newRow("wrapper PDF, no scale check") << 1 << "w.pdf" << 1 << false;
    QTest::newRow("wrapper SVG, fin set 2") << 1 << "w2.svg" << 2 << true;
}

void TestOutput::exportedPages() {
    QFETCH(int, tool);
    QFETCH(QString, name);
    QFETCH(int, finSet);
    QFETCH(bool, scaleCheck);
    loadDesign();
    w->state().selectFinSet(finSet);
    w->state().ScaleCheck = scaleCheck;
    const PageFormat format = FormatOfPath(name);
    const AidPages pages = expectedPages(tool, format);
    QVERIFY2(pages.ok(), qPrintable(pages.refusal));
    QCOMPARE(int(pages.layout.sheets.size()), 1);
    const Sheet& sheet = pages.layout.sheets[0];
    QCOMPARE(sheet.marks.empty(), !scaleCheck);
    QString error;
    QVERIFY2(WriteLayout(pages.layout, file(name), &error), qPrintable(error));
    const PageGeometry g =
        format == PageFormat::Pdf ? ReadPdfPage(file(name)) : ReadSvgPage(file(name));
    const QString diff = CompareWithSheet(g, sheet);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    // The figure's centre is the sheet's centre, as it always was on A4.
    QVERIFY(near(sheet.offsetX, 105) && near(sheet.offsetY, 148.5));
    QVERIFY(near(g.widthMm, 210, 0.2) && near(g.heightMm, 297, 0.2));
    if (tool == 0)
        QVERIFY(near(g.circles[0].cx, 105) && near(g.circles[0].cy, 148.5) &&
                near(g.circles[0].r, 20.8));
    if (format == PageFormat::Svg) {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(400);
        QVERIFY(head.contains("width=\"210mm\" height=\"297mm\""));
        QVERIFY(head.contains("viewBox=\"0 0 11907 16839.9\""));
    }
}

void TestOutput::printNeedsATool() {
    fake->makePrinter = [this] { return pdfPrinter(file(QStringLiteral("never.pdf"))); };
    for (const char* text : {"Select the tool you need.", "fins alignment guide", "anything"}) {
        w->Choice->setEditText(QString::fromLatin1(text));
        w->mnuFilePrint->trigger();
    }
    QCOMPARE(fake->messages, QStringList(3, QString::fromUtf8(SelectToolToPrintMessage)));
    QCOMPARE(printersMade, 0);
}

void TestOutput::printRefusedGuideStartsNoJob() {
    fake->makePrinter = [this] { return pdfPrinter(file(QStringLiteral("never.pdf"))); };
    for (int tool : {0, 1}) {
        w->Choice->setCurrentIndex(tool);
        w->mnuFilePrint->trigger(); // no design: neither aid is drawn from nothing
    }
    QCOMPARE(fake->messages.size(), 2);
    for (const QString& m : fake->messages)
        QVERIFY(m.startsWith(QString::fromUtf8(WrongValueMessage)));
    QCOMPARE(printersMade, 0);
    QCOMPARE(fake->printDialogs, 0);
    QVERIFY(fake->questions.isEmpty());
}

void TestOutput::printToPrinter_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("sheets");
    QTest::newRow("guide, A4") << 0 << "a4" << 1;
    QTest::newRow("wrapper, Letter") << 1 << "letter" << 1;
    QTest::newRow("a wrapper larger than Letter") << 1 << "letter" << 0;
}

void TestOutput::printToPrinter() {
    QFETCH(int, tool);
    QFETCH(QString, paper);
    QFETCH(int, sheets);
    if (sheets == 0)
        loadDesign("101.6", "406");
    else
        loadDesign();
    const QString out = file(QStringLiteral("printed.pdf"));
    fake->makePrinter = [this, out] { return pdfPrinter(out); };
    const Paper chosen = *PaperFromKey(paper);
    fake->choosePrint = [&chosen](QPrinter& p) {
        p.setPageSize(chosen.inches ? QPageSize(QPageSize::Letter) : QPageSize(QPageSize::A4));
        return true;
    };
    w->Choice->setCurrentIndex(tool);
    w->tbToolBar_ButtonClick(QStringLiteral("Print"));
    QVERIFY2(fake->messages.isEmpty(), qPrintable(fake->messages.join(u'\n')));
    QCOMPARE(fake->printDialogs, 1);
    QPrinter probe;
    probe.setPageSize(chosen.inches ? QPageSize(QPageSize::Letter) : QPageSize(QPageSize::A4));
    const AidPages pages =
        PagesForPrinter(Tools()[tool], w->state(), PrinterSheetOptions(probe, true));
    QVERIFY(pages.ok());
    QCOMPARE(pages.layout.paper.key, paper);
    const std::vector<PageGeometry> read = ReadPdfPages(out);
    QCOMPARE(read.size(), pages.layout.sheets.size());
    QVERIFY(sheets == 0 ? read.size() > 1 : int(read.size()) == sheets);
    // Pens are whole printer pixels: three for the cut line, one for the rest.
    const double penMm = 25.4 / pdfPrinter(file(QStringLiteral("probe.pdf")))->resolution();
    for (size_t i = 0; i < read.size(); ++i) {
        const QString diff = CompareWithSheet(read[i], pages.layout.sheets[i], penMm);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QVERIFY(near(read[i].widthMm, chosen.widthMm, 0.4));
    }
    if (read.size() > 1)
        QVERIFY(w->sbStato->text().contains(QStringLiteral("%1 sheets").arg(read.size())));
}

void TestOutput::printCancelled() {
    loadDesign();
    const QString out = file(QStringLiteral("printed.pdf"));
    fake->makePrinter = [this, out] { return pdfPrinter(out); };
    fake->choosePrint = [](QPrinter&) { return false; };
    w->Choice->setCurrentIndex(0);
    w->mnuFilePrint->trigger();
    QCOMPARE(fake->printDialogs, 1);
    QVERIFY(fake->messages.isEmpty() && fake->questions.isEmpty());
    QVERIFY(!QFile::exists(out));
}

void TestOutput::noPrinterOffersPdf() {
    loadDesign();
    w->Choice->setCurrentIndex(0);
    fake->answers << true;
    fake->savePaths << file(QStringLiteral("instead"));
    w->mnuFilePrint->trigger();
    QCOMPARE(fake->questions.size(), 1);
    QVERIFY(fake->questions[0].startsWith(QLatin1String("No printer is installed")));
    QVERIFY(fake->questions[0].contains(QLatin1String("PDF")));
    const QString diff = CompareWithSheet(ReadPdfPage(file(QStringLiteral("instead.pdf"))),
                                          expectedPages(0).layout.sheets[0]);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    // Declining writes nothing.
    fake->answers << false;
    w->mnuFilePrint->trigger();
    QCOMPARE(fake->questions.size(), 2);
    QCOMPARE(fake->dialogs.size(), 1);
}

void TestOutput::printerThatCannotStart() {
    loadDesign();
    w->Choice->setCurrentIndex(1);
    const QString out = file(QStringLiteral("no/such/folder/p.pdf"));
    fake->makePrinter = [this, out] { return pdfPrinter(out); };
    w->mnuFilePrint->trigger();
    QCOMPARE(fake->questions.size(), 1);
    QVERIFY(fake->questions[0].contains(QLatin1String("did not take the print job")));
}

void TestOutput::exportFromWindow() {
    loadDesign();
    // With no tool chosen, Export says so before it asks for a file.
    w->mnuFileExport->trigger();
    QVERIFY(fake->dialogs.isEmpty());
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(SelectToolToPrintMessage)});

    w->Choice->setCurrentIndex(1);
    fake->savePaths << file(QStringLiteral("wrapper.svg"));
    w->mnuFileExport->trigger();
    QCOMPARE(fake->dialogs, QStringList{"Export | PDF (*.pdf);;SVG (*.svg)"});
    const QString diff = CompareWithSheet(ReadSvgPage(file(QStringLiteral("wrapper.svg"))),
                                          expectedPages(1, PageFormat::Svg).layout.sheets[0]);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    fake->messages.clear();
    fake->savePaths << file(QStringLiteral("page.png"));
    w->mnuFileExport->trigger();
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].contains(QLatin1String("only PDF (.pdf) and SVG (.svg)")));
    QVERIFY(!QFile::exists(file(QStringLiteral("page.png"))));

    // A cancelled dialog does nothing at all.
    fake->messages.clear();
    w->mnuFileExport->trigger();
    QVERIFY(fake->messages.isEmpty());
}

void TestOutput::exportOnTheChosenPaper() {
    loadDesign("101.6", "406");
    w->state().PaperKey = QStringLiteral("letter");
    w->Choice->setCurrentIndex(1);
    fake->savePaths << file(QStringLiteral("tiles.pdf")) << file(QStringLiteral("whole.svg"));
    w->mnuFileExport->trigger();
    const std::vector<PageGeometry> pages = ReadPdfPages(file(QStringLiteral("tiles.pdf")));
    QVERIFY(pages.size() > 1);
    for (const PageGeometry& g : pages)
        QVERIFY(near(g.widthMm, 215.9, 0.4) && near(g.heightMm, 279.4, 0.4));
    // An SVG holds the whole figure at true size, for cutters.
    w->mnuFileExport->trigger();
    const PageGeometry whole = ReadSvgPage(file(QStringLiteral("whole.svg")));
    QVERIFY2(whole.error.isEmpty(), qPrintable(whole.error));
    QVERIFY(whole.heightMm > 101.6 * 3.14159 + 12);
    QVERIFY(whole.widthMm >= 406);
    QVERIFY(fake->messages.isEmpty());
}

void TestOutput::preview() {
    w->mnuFilePreview->trigger();
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(SelectToolToPreviewMessage)});
    QVERIFY(!w->previewWindow());
    fake->messages.clear();

    loadDesign();
    w->Choice->setCurrentIndex(0);
    w->mnuFilePreview->trigger();
    auto* p = qobject_cast<frmPreview*>(w->previewWindow());
    QVERIFY(p);
    QCOMPARE(p->windowTitle(), QStringLiteral("Preview"));
    QCOMPARE(p->cmdOK->text(), QStringLiteral("Close preview"));
    QVERIFY(p->notice->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(p));

    // A click on the hint does not draw; anywhere else does.
    QTest::mouseClick(p->notice, Qt::LeftButton);
    QVERIFY(p->shown().layout.sheets.empty());
    QTest::mouseClick(p->canvas, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!p->notice->isVisible());
    QCOMPARE(int(p->shown().layout.sheets.size()), 1);
    // The whole guide: the tube, its four fins, and the other parts' marks.
    QCOMPARE(p->shown().layout.sheets[0].figure.size(),
             DrawFinAlignmentGuide(AidValuesOf(w->state())).figure.strokes().size());

    // The sheet is fitted to the window; the tube is drawn where the sheet puts it.
    const double fitted = p->scale();
    QVERIFY(fitted > 0 && fitted < p->logicalDpiX() / 25.4);
    const Sheet& sheet = p->shown().layout.sheets[0];
    const QPointF origin = p->canvas->sheetOrigin(sheet);
    const QImage shot = p->canvas->grab().toImage();
    const QPoint edge(qRound(origin.x() + 105 * fitted),
                      qRound(origin.y() + (148.5 + 20.8) * fitted));
    bool inked = false;
    for (int dy = -2; dy <= 2; ++dy)
        inked = inked || qGray(shot.pixel(edge.x(), edge.y() + dy)) < 128;
    QVERIFY(inked);

    // Once drawn, it follows the fin set, the tool and the options.
    w->FinSetNumber->setCurrentIndex(1);
    emit w->FinSetNumber->activated(1);
    // The second set's guide: the tube and three fins; the first set's four fins marked by a T
    // and a centre line each.
    QCOMPARE(int(p->shown().layout.sheets[0].figure.size()), 2 + 4 * 3 + 4 * 3);
    w->Choice->setCurrentIndex(1);
    QCOMPARE(p->shown().layout.sheets[0].figure[0].role, StrokeRole::Outline);
    w->state().PaperKey = QStringLiteral("a5");
    p->refresh();
    QCOMPARE(p->shown().layout.paper.key, QStringLiteral("a5"));

    // True size: a millimetre of paper is a millimetre of screen.
    p->chkTrueSize->setChecked(true);
    QVERIFY(near(p->canvas->pixelsPerMm(), p->logicalDpiX() / 25.4, 1e-9));
    QVERIFY(p->canvas->height() > p->height()); // scrolled, not shrunk

    // Close and reopen: the hint again, nothing drawn.
    QPointer<frmPreview> guard(p);
    QTest::keyClick(p, Qt::Key_Escape);
    QTRY_VERIFY(guard.isNull());
    w->mnuFilePreview->trigger();
    p = qobject_cast<frmPreview*>(w->previewWindow());
    QVERIFY(p->notice->isVisibleTo(p));
    QVERIFY(p->shown().layout.sheets.empty());
    QVERIFY(fake->messages.isEmpty());
}

void TestOutput::previewRefusedGuide() {
    w->Choice->setCurrentIndex(0);
    w->mnuFilePreview->trigger();
    auto* p = qobject_cast<frmPreview*>(w->previewWindow());
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(50, 500));
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].startsWith(QString::fromUtf8(WrongValueMessage)));
    QVERIFY(p->isVisible());
    QVERIFY(p->problem->isVisibleTo(p));
    QVERIFY(p->shown().layout.sheets.empty());
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
