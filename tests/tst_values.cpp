// The main window's value boxes: they show what they hold, and what a builder types into them
// is what the aids are drawn from.
#include "FakePlatform.h"
#include "PageGeometry.h"
#include "app/AidPages.h"
#include "app/frmMain.h"
#include "settings/AppPaths.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

using namespace vanecraft;

namespace {

// Two fin sets on the airframe, one on a tube inside it.
const QByteArray MeasuredDesign =
    "<RockSimDocument>\n<RocketDesign>\n<Name>Measured</Name>\n<Stage3Parts>\n"
    "<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Main</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
    "<SemiSpan>50</SemiSpan>\n<Thickness>3.2</Thickness>\n</FinSet>\n"
    "<FinSet>\n<Name>Canards</Name>\n<FinCount>3</FinCount>\n<RootChord>30</RootChord>\n"
    "<SemiSpan>20</SemiSpan>\n<Thickness>1.6</Thickness>\n</FinSet>\n"
    "<BodyTube>\n<OD>25.4</OD>\n<ID>24</ID>\n<Len>70</Len>\n<AttachedParts>\n"
    "<FinSet>\n<Name>Inner</Name>\n<FinCount>3</FinCount>\n<RootChord>20</RootChord>\n"
    "<SemiSpan>10</SemiSpan>\n<Thickness>1</Thickness>\n</FinSet>\n"
    "</AttachedParts>\n</BodyTube>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n"
    "</RocketDesign>\n</RockSimDocument>\n";

// Types into a box as a user would, ending with Enter.
void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

class TestValues : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void boxesShowWhatTheyHold();
    void typedValues_data();
    void typedValues();
    void typedTubeFollowsItsFinSets();
    void refusedValues_data();
    void refusedValues();
    void pendingTextCountsForExport();
    void loadDiscardsChanges();
    void closingLeavesTypedTextAlone();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> w;
    QString path;
};

void TestValues::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(dir->filePath(QStringLiteral("config")));
    fake = std::make_unique<FakePlatform>();
    w = std::make_unique<frmMain>();
    w->state().MeasurementUnits = QStringLiteral("Millimeters");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    path = dir->filePath(QStringLiteral("measured.rkt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(MeasuredDesign) > 0);
    f.close();
    QVERIFY(w->LoadDesign(path));
}

void TestValues::cleanup() {
    w.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

void TestValues::boxesShowWhatTheyHold() {
    // The title names the design's file.
    QCOMPARE(w->windowTitle(), QStringLiteral("Vanecraft For RockSim — measured.rkt"));
    w->state().MeasurementUnits = QStringLiteral("Inches");
    w->Form_Activate();
    // Inches run to ten digits: the box shows their start, the tool tip the whole with its unit.
    QCOMPARE(w->OD->text(), QStringLiteral("1.637790336"));
    QCOMPARE(w->OD->cursorPosition(), 0);
    QCOMPARE(w->OD->toolTip(), QStringLiteral("1.637790336 in"));
    QCOMPARE(w->FinsNumber->toolTip(), QStringLiteral("4"));
    QCOMPARE(w->RName->toolTip(), QStringLiteral("Measured"));
    // Names label the design only: they cannot be typed over.
    QVERIFY(w->RName->isReadOnly() && w->FName->isReadOnly());
}

void TestValues::typedValues_data() {
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("mm");   // what the design then holds
    QTest::addColumn<QString>("was"); // what the tool tip says the design said
    QTest::newRow("root chord") << "Millimeters"
                                << "Root"
                                << "80" << 80.0 << "75.5 mm";
    QTest::newRow("with a comma") << "Millimeters"
                                  << "Thickness"
                                  << " 3,0 " << 3.0 << "3.2 mm";
    QTest::newRow("in inches") << "Inches"
                               << "Span"
                               << "2" << 2 / 0.03936996 << "1.968498 in";
    QTest::newRow("fin count") << "Inches"
                               << "FinsNumber"
                               << "6" << 6.0 << "4";
}

void TestValues::typedValues() {
    QFETCH(QString, units);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(double, mm);
    QFETCH(QString, was);
    w->state().MeasurementUnits = units;
    w->Form_Activate();
    auto* edit = w->findChild<QLineEdit*>(box);
    type(edit, typed);
    QVERIFY2(fake->messages.isEmpty(), qPrintable(fake->messages.join(u'\n')));
    const FinSet& f = w->state().design.FinSets[0];
    const Value& v = box == QLatin1String("Root")        ? f.Root
                     : box == QLatin1String("Thickness") ? f.Thickness
                     : box == QLatin1String("Span")      ? f.Span
                                                         : f.Count;
    QVERIFY(std::abs(v.number - mm) < 1e-9);
    QVERIFY(v.asRead.has_value());
    // The box says it was typed in, and what the design said.
    QVERIFY(edit->font().italic());
    QVERIFY2(edit->toolTip().contains(was), qPrintable(edit->toolTip()));
    // The aids are drawn from it: the wrapper's strip is as wide as the root chord typed, its
    // marks as many as the fins.
    const AidResult wrapper = DrawBodyTubeWrapper(AidValuesOf(w->state()));
    QVERIFY(wrapper.ok());
    const std::vector<Stroke>& s = wrapper.figure.strokes();
    QVERIFY(std::abs(std::abs(s[2].x2 - s[2].x1) - f.Root.number) < 1e-9);
    QCOMPARE(std::count_if(s.begin(), s.end(),
                           [](const Stroke& k) { return k.role == StrokeRole::CentreLine; }),
             qsizetype(f.Count.number));
}

void TestValues::typedTubeFollowsItsFinSets() {
    type(w->OD, QStringLiteral("42.1"));
    const Design& d = w->state().design;
    // Both fin sets on the airframe see it; the inner tube keeps its own.
    QCOMPARE(d.FinSets[0].Tube.OD.number, 42.1);
    QCOMPARE(d.FinSets[1].Tube.OD.number, 42.1);
    QCOMPARE(d.FinSets[2].Tube.OD.number, 25.4);
    w->FinSetNumber->setCurrentIndex(1);
    emit w->FinSetNumber->activated(1);
    QCOMPARE(w->OD->text(), QStringLiteral("42.1"));
    QVERIFY(w->OD->font().italic());
    w->FinSetNumber->setCurrentIndex(2);
    emit w->FinSetNumber->activated(2);
    QCOMPARE(w->OD->text(), QStringLiteral("25.4"));
    QVERIFY(!w->OD->font().italic());
    // The exported wrapper of the first fin set goes round the tube as measured.
    w->FinSetNumber->setCurrentIndex(0);
    emit w->FinSetNumber->activated(0);
    w->Choice->setCurrentIndex(1);
    const QString out = dir->filePath(QStringLiteral("measured.pdf"));
    fake->savePaths << out;
    w->mnuFileExport->trigger();
    const PageGeometry g = ReadPdfPage(out);
    QVERIFY2(g.error.isEmpty(), qPrintable(g.error));
    double longest = 0;
    for (const auto& s : g.segments)
        longest = std::max(longest, std::abs(s.y2 - s.y1));
    const double expected = 3.14159265358979 * 42.1 + w->state().PaperThickness;
    QVERIFY2(std::abs(longest - expected) < 0.01, qPrintable(QString::number(longest)));
}

void TestValues::refusedValues_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("not finite") << "1e999";
}

void TestValues::refusedValues() {
    QFETCH(QString, typed);
    const Design before = w->state().design;
    type(w->Root, typed);
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(fake->messages[0].contains(QLatin1String("root chord")));
    QCOMPARE(w->Root->text(), QStringLiteral("75.5")); // the value again
    QCOMPARE(w->state().design, before);
}

void TestValues::pendingTextCountsForExport() {
    // Typed, and straight to Export by the keyboard, without leaving the box.
    w->Choice->setCurrentIndex(1);
    w->Root->setText(QStringLiteral("90"));
    fake->savePaths << dir->filePath(QStringLiteral("w.pdf"));
    w->mnuFileExport->trigger();
    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(w->state().design.FinSets[0].Root.number, 90.0);
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("w.pdf"))));
    // A box holding no number stops the command before any file is asked for.
    w->Root->setText(QStringLiteral("ninety"));
    w->mnuFileExport->trigger();
    QCOMPARE(fake->messages.size(), 1);
    QCOMPARE(fake->dialogs.size(), 1);
}

void TestValues::loadDiscardsChanges() {
    type(w->Root, QStringLiteral("80"));
    QVERIFY(w->LoadDesign(path));
    QCOMPARE(w->Root->text(), QStringLiteral("75.5"));
    QVERIFY(!w->Root->font().italic());
    QVERIFY(!w->state().design.FinSets[0].Root.asRead);
}

void TestValues::closingLeavesTypedTextAlone() {
    // Text still in a box when the window closes has nothing left to change, and no message
    // holds up the closing.
    w->Root->setFocus();
    w->Root->setText(QStringLiteral("not yet"));
    w->close();
    w.reset();
    QVERIFY(fake->messages.isEmpty());
}

QTEST_MAIN(TestValues)
#include "tst_values.moc"
