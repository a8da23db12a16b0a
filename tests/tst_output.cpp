// Print, Preview and Export through the real main window, and the written pages read back.
#include "FakePlatform.h"
#include "PageGeometry.h"
#include "app/frmMain.h"
#include "output/PageOutput.h"
#include "output/frmPreview.h"
#include "settings/AppPaths.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vanecraft;

namespace {

const QByteArray TestDesign =
    "<RockSimDocument>\n<RocketDesign>\n<Name>Test</Name>\n<Stage3Parts>\n"
    "<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Main</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
    "<SemiSpan>50</SemiSpan>\n<Thickness>3.2</Thickness>\n</FinSet>\n"
    "<FinSet>\n<Name>Small</Name>\n<FinCount>3</FinCount>\n<RootChord>40</RootChord>\n"
    "<SemiSpan>20</SemiSpan>\n<Thickness>2</Thickness>\n</FinSet>\n"
    "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n</RockSimDocument>\n";

constexpr double MmPerTwip = 10.0 / 567;

// Every line and circle of a recorded page must be in the file, in order, to 0.01 mm.
void compareWithRecording(const PageGeometry& g, const RecordingSurface& page) {
    QVERIFY2(g.error.isEmpty(), qPrintable(g.error));
    QVERIFY(std::abs(g.widthMm - 210) < 0.2 && std::abs(g.heightMm - 297) < 0.2);
    size_t line = 0, circle = 0;
    for (const DrawingOp& op : page.marks()) {
        // A line of no length leaves no trace in a file.
        if (op.kind == DrawingOp::Line && op.a == op.c && op.b == op.d)
            continue;
        if (op.kind == DrawingOp::Circle) {
            QVERIFY(circle < g.circles.size());
            const auto& c = g.circles[circle++];
            QVERIFY2(std::abs(c.cx - op.a * MmPerTwip) < 0.01 &&
                         std::abs(c.cy - op.b * MmPerTwip) < 0.01 &&
                         std::abs(c.r - op.c * MmPerTwip) < 0.01,
                     qPrintable(QStringLiteral("circle %1 %2 %3").arg(c.cx).arg(c.cy).arg(c.r)));
            continue;
        }
        QVERIFY(line < g.segments.size());
        const auto& s = g.segments[line++];
        QVERIFY2(std::abs(s.x1 - op.a * MmPerTwip) < 0.01 &&
                     std::abs(s.y1 - op.b * MmPerTwip) < 0.01 &&
                     std::abs(s.x2 - op.c * MmPerTwip) < 0.01 &&
                     std::abs(s.y2 - op.d * MmPerTwip) < 0.01,
                 qPrintable(QStringLiteral("line %1: %2 %3 %4 %5")
                                .arg(line)
                                .arg(s.x1)
                                .arg(s.y1)
                                .arg(s.x2)
                                .arg(s.y2)));
        QCOMPARE(s.dashed, op.style == Dashed);
        // Pens are 600-dpi dots: width 3 is 0.127 mm.
        QVERIFY2(std::abs(s.width - op.width * 25.4 / 600) < 0.002,
                 qPrintable(QString::number(s.width)));
    }
    QCOMPARE(line, g.segments.size());
    QCOMPARE(circle, g.circles.size());
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
    void noPrinterOffersPdf();
    void printerThatCannotStart();
    void exportFromWindow();
    void preview();
    void previewRefusedGuide();

private:
    QString file(const QString& name) const { return dir->filePath(name); }
    void loadDesign();
    RecordingSurface expectedPage(const char* tool);
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
    printersMade = 0;
}

void TestOutput::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

void TestOutput::loadDesign() {
    QFile f(file(QStringLiteral("d.rkt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(TestDesign);
    f.close();
    QVERIFY(w->LoadDesign(f.fileName()));
}

RecordingSurface TestOutput::expectedPage(const char* tool) {
    RecordingSurface page;
    RecordPrintedPage(QString::fromLatin1(tool), w->state(), page);
    return page;
}

void TestOutput::exportedPages_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("finSet");
    QTest::newRow("guide PDF") << GuideToolName << "g.pdf" << 1;
    QTest::newRow("guide SVG") << GuideToolName << "g.svg" << 1;
    QTest::newRow("wrapper PDF") << WrapperToolName << "w.pdf" << 1;
    QTest::newRow("wrapper SVG, fin set 2") << WrapperToolName << "w2.svg" << 2;
}

void TestOutput::exportedPages() {
    QFETCH(QString, tool);
    QFETCH(QString, name);
    QFETCH(int, finSet);
    loadDesign();
    w->state().selectFinSet(finSet);
    RecordingSurface page;
    QCOMPARE(RecordPrintedPage(tool, w->state(), page), DrawResult::Drawn);
    QString error;
    QVERIFY2(WritePage(page, file(name), &error), qPrintable(error));
    const PageGeometry g =
        name.endsWith(QLatin1String(".pdf")) ? ReadPdfPage(file(name)) : ReadSvgPage(file(name));
    compareWithRecording(g, page);
    if (tool == QLatin1String(GuideToolName)) {
        // The tube's centre is the sheet's centre, the tube at true size.
        QVERIFY(std::abs(g.circles[0].cx - 105.0) < 0.01 &&
                std::abs(g.circles[0].cy - 148.5) < 0.01);
        QVERIFY(std::abs(g.circles[0].r - 20.8) < 0.01);
    }
    if (name.endsWith(QLatin1String(".svg"))) {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(400);
        QVERIFY(head.contains("width=\"210mm\" height=\"297mm\""));
        QVERIFY(head.contains("viewBox=\"0 0 11907 16839.9\""));
    }
}

void TestOutput::printNeedsATool() {
    fake->makePrinter = [this] {
        ++printersMade;
        return std::unique_ptr<QPrinter>();
    };
    for (const char* text : {"Select the tool you need.", "fins alignment guide", "anything"}) {
        w->Choice->setEditText(QString::fromLatin1(text));
        w->mnuFilePrint->trigger();
    }
    QCOMPARE(fake->messages, QStringList(3, QString::fromUtf8(SelectToolToPrintMessage)));
    QCOMPARE(printersMade, 0);
}

void TestOutput::printRefusedGuideStartsNoJob() {
    fake->makePrinter = [this] {
        ++printersMade;
        return std::unique_ptr<QPrinter>();
    };
    w->Choice->setCurrentIndex(0);
    w->mnuFilePrint->trigger(); // no design
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(WrongValueMessage)});
    QCOMPARE(printersMade, 0);
    QVERIFY(fake->questions.isEmpty());
}

void TestOutput::printToPrinter_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("guide") << 0 << true;
    QTest::newRow("wrapper") << 1 << true;
    QTest::newRow("wrapper without a design") << 1 << false;
}

void TestOutput::printToPrinter() {
    QFETCH(int, tool);
    QFETCH(bool, loaded);
    if (loaded)
        loadDesign();
    const QString out = file(QStringLiteral("printed.pdf"));
    fake->makePrinter = [out] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(out);
        return p;
    };
    w->Choice->setCurrentIndex(tool);
    w->tbToolBar_ButtonClick(QStringLiteral("Print"));
    QVERIFY(fake->messages.isEmpty());
    const PageGeometry g = ReadPdfPage(out);
    QVERIFY2(g.error.isEmpty(), qPrintable(g.error));
    const RecordingSurface page = expectedPage(tool == 0 ? GuideToolName : WrapperToolName);
    // The printer draws at its own resolution; positions stay those of the recording.
    size_t visible = 0;
    for (const DrawingOp& op : page.marks())
        visible += !(op.kind == DrawingOp::Line && op.a == op.c && op.b == op.d);
    QCOMPARE(g.segments.size() + g.circles.size(), visible);
    const DrawingOp first = page.marks().front();
    const double x = first.kind == DrawingOp::Circle ? g.circles[0].cx : g.segments[0].x1;
    QVERIFY(std::abs(x - first.a * MmPerTwip) < 0.01);
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
    compareWithRecording(ReadPdfPage(file(QStringLiteral("instead.pdf"))),
                         expectedPage(GuideToolName));
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
    fake->makePrinter = [out] {
        auto p = std::make_unique<QPrinter>();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(out);
        return p;
    };
    w->mnuFilePrint->trigger();
    QCOMPARE(fake->questions.size(), 1);
    QVERIFY(fake->questions[0].contains(QLatin1String("could not start the print job")));
}

void TestOutput::exportFromWindow() {
    loadDesign();
    // The file is asked for first, then the tool is checked.
    fake->savePaths << file(QStringLiteral("x.pdf"));
    w->mnuFileExport->trigger();
    QCOMPARE(fake->dialogs, QStringList{"Export | PDF (*.pdf);;SVG (*.svg)"});
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(SelectToolToPrintMessage)});
    QVERIFY(!QFile::exists(file(QStringLiteral("x.pdf"))));

    w->Choice->setCurrentIndex(1);
    fake->savePaths << file(QStringLiteral("wrapper.svg"));
    w->mnuFileExport->trigger();
    compareWithRecording(ReadSvgPage(file(QStringLiteral("wrapper.svg"))),
                         expectedPage(WrapperToolName));

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
    QVERIFY(p->drawing().marks().empty());
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(p->width() - 20, p->height() - 20));
    QVERIFY(!p->notice->isVisible());
    std::vector<DrawingOp> m = p->drawing().marks();
    QCOMPARE(int(m.size()), 2 + 4 * 4);
    // Centre at half the outer size, in twips at the screen's resolution.
    const double twipsPerPx = 567 * 2.54 / p->logicalDpiX();
    QVERIFY(std::abs(m[0].a - p->frameGeometry().width() * twipsPerPx / 2) < 0.01);
    QVERIFY(std::abs(m[0].b - p->frameGeometry().height() * twipsPerPx / 2) < 0.01);
    QCOMPARE(m[0].c, 1179.36f); // true size

    // The figure survives a repaint.
    const QImage shot = p->grab().toImage();
    const QPoint centre(qRound(m[0].a / twipsPerPx), qRound(m[0].b / twipsPerPx));
    const int radius = qRound(m[0].c / twipsPerPx);
    bool inked = false;
    for (int dy = -2; dy <= 2; ++dy)
        inked = inked || qGray(shot.pixel(centre.x(), centre.y() + radius + dy)) < 128;
    QVERIFY(inked);

    // The previewed tool was fixed at opening; the fin set is read at each click.
    w->Choice->setCurrentIndex(1);
    w->FinSetNumber->setCurrentIndex(1);
    emit w->FinSetNumber->activated(1);
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(300, 300));
    m = p->drawing().marks();
    QCOMPARE(int(m.size()), 2 + 4 * 3);
    QCOMPARE(m[0].kind, DrawingOp::Circle);

    // A larger window moves the figure, never scales it.
    p->resize(p->width() + 150, p->height() + 90);
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(300, 300));
    const std::vector<DrawingOp> moved = p->drawing().marks();
    QVERIFY(std::abs(moved[0].a - m[0].a - 150 * twipsPerPx / 2) < 0.01);
    QCOMPARE(moved[0].c, m[0].c);

    // Choosing Preview again only changes the tool for the next click.
    w->mnuFilePreview->trigger();
    QCOMPARE(w->previewWindow(), p);
    QCOMPARE(p->drawing().marks().size(), moved.size());
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(300, 300));
    m = p->drawing().marks();
    QCOMPARE(m[0].kind, DrawingOp::Line);
    QCOMPARE(m[0].width, 5); // the wrapper's outline on screen
    QCOMPARE(m[4].width, 1);

    // Close and reopen: the hint again, nothing drawn.
    QPointer<frmPreview> guard(p);
    QTest::keyClick(p, Qt::Key_Escape);
    QTRY_VERIFY(guard.isNull());
    w->mnuFilePreview->trigger();
    p = qobject_cast<frmPreview*>(w->previewWindow());
    QVERIFY(p->notice->isVisibleTo(p));
    QVERIFY(p->drawing().marks().empty());
    QVERIFY(fake->messages.isEmpty());
}

void TestOutput::previewRefusedGuide() {
    w->Choice->setCurrentIndex(0);
    w->mnuFilePreview->trigger();
    auto* p = qobject_cast<frmPreview*>(w->previewWindow());
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(50, 500));
    QCOMPARE(fake->messages, QStringList{QString::fromUtf8(WrongValueMessage)});
    QVERIFY(p->isVisible());
    QVERIFY(p->drawing().marks().empty());
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
