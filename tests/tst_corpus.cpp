// Real RockSim files from public projects, and the project's own test designs. The expected
// values come from a full XML parse of each file (its structure, not its lines), so they check
// the line reader independently.
#include "DesignFields.h"
#include "MarkCheck.h"
#include "import/RockSimReader.h"
#include "model/Conversions.h"

#include <QDir>
#include <QtTest>

using namespace vanecraft;

class TestCorpus : public QObject {
    Q_OBJECT
private slots:
    void file_data();
    void file();
    void everyFileIsCovered();
    void ownDesign_data();
    void ownDesign();
    void everyOwnDesignIsCovered();
    void angles_data();
    void angles();

private:
    bool haveCorpus() const { return corpus.exists(); }
    QDir corpus{QStringLiteral(VANECRAFT_CORPUS_DIR)};
    QStringList covered, ownCovered;
};

namespace {

void addColumns() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rocket");
    QTest::addColumn<int>("inFile");
    // Per fin set: name, count, root, span, thickness, tube OD, ID, Len. Fin set 0 is the
    // tube shown for a design without fin sets.
    QTest::addColumn<QList<QStringList>>("finSets");
}

// Per fin set: name, count, root, span, thickness, tube OD, ID, Len.
void checkDesign(const QString& path, const QString& rocket, int inFile,
                 const QList<QStringList>& finSets) {
    const LoadResult r = ReadRockSimFile(path);
    QVERIFY2(r.ok, qPrintable(r.message));
    const Design& d = r.design;
    QCOMPARE(d.RocketName, rocket);
    QCOMPARE(d.FinSetsInFile, inFile);
    QCOMPARE(r.warning.isEmpty(), inFile <= MostFinSetsKept);
    const QStringList keys{"fname", "count", "root", "span", "thick", "od", "id", "len"};
    for (int i = 0; i < finSets.size(); ++i) {
        const int slot = i + 1;
        for (int k = 0; k < keys.size(); ++k) {
            const QString got = DesignField(d, QStringLiteral("%1.%2").arg(slot).arg(keys[k]));
            const QString& want = finSets[i][k];
            // Sizes worked out from an outline are compared as numbers.
            if (k == 2 || k == 3)
                QCOMPARE(Val(got), Val(want));
            else
                QCOMPARE(got, want);
        }
    }
    // The window shows fin set 1 on its own tube.
    QCOMPARE(DesignField(d, QStringLiteral("od")), finSets[0][5]);
    QCOMPARE(DesignField(d, QStringLiteral("len")), finSets[0][7]);
    // Every fin set kept, each length's number in millimetres beside its text.
    QCOMPARE(int(d.FinSets.size()), inFile);
    for (const FinSet& f : d.FinSets)
        for (const Value* v : {&f.Count, &f.Root, &f.Span, &f.Thickness, &f.Tube.OD, &f.Tube.ID})
            QCOMPARE(v->number, Val(v->text));
}

} // namespace

void TestCorpus::file_data() {
    if (!haveCorpus())
        QSKIP("the RockSim corpus (../shared/rkt-corpus) is not on this machine");
    addColumns();
    using L = QList<QStringList>;
    auto row = [this](const char* file, const char* rocket, int inFile, const L& sets) {
        covered << QString::fromLatin1(file);
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromUtf8(rocket) << inFile
                            << sets;
    };
    row("icl-rocketry-sporadic-impulse-minimal.rkt", "Sporadic Impulse", 0,
        {{"", "0", "0", "0", "0", "0", "0", "0"}});
    const QStringList btc1{"Fin set-1", "1",       "66.675", "50.8",
                           "3.175",     "29.8704", "29.083", "330.2"};
    row("openrocket-body-tube-children-v4.rkt", "Body Tube Children Test", 5,
        {btc1,
         {"Fin set", "4", "101.6", "34.925", "3.175", "29.8704", "29.083", "330.2"},
         {"Fin set-2", "1", "66.675", "50.8", "3.175", "29.8704", "29.083", "330.2"},
         {"Fin set-3", "1", "66.675", "50.8", "3.175", "29.8704", "29.083", "330.2"}});
    row("openrocket-export-apocalypse-decals.rkt", "apocalypse", 12,
        {{"Custom Fin-1", "1", "406", "128", "4.78", "100.0", "98.06", "563.6"},
         {"Contre fins 1a", "1", "392.101", "20", "4.78", "100.0", "98.06", "563.6"},
         {"Contre fins 1b", "1", "392.101", "20", "4.78", "100.0", "98.06", "563.6"},
         {"Custom Fin-2", "1", "406", "128", "4.78", "100.0", "98.06", "563.6"}});
    row("openrocket-fins-on-transitions-v4.rkt", "FinsOnTransitions", 2,
        {{"Fin set 1", "3", "75.", "30.", "3.18", "0", "0", "0"},
         {"Fin set 2", "3", "60.", "35.", "3.18", "0", "0", "0"}});
    row("openrocket-foobar-test-v3-single-stage.rkt", "FooBar Test", 1,
        {{"Fin set", "3", "184.15", "184.15", "1.5875", "56.388", "55.372", "444.5"}});
    row("openrocket-pod-fins-v4.rkt", "", 3,
        {{"Fin set", "3", "165.1", "101.6", "1.5748", "56.388", "55.372", "444.5"},
         {"Fin set", "1", "66.675", "34.925", "1.5875", "13.8176", "13.1572", "111.125"},
         {"Fin set", "1", "66.675", "34.925", "1.5875", "56.388", "55.372", "444.5"}});
    row("openrocket-pod-test-v4.rkt", "Pod Test", 2,
        {{"Fin set 1", "3", "25.4", "31.8", "0.41", "50.", "30.", "250."},
         {"Fin set 2", "3", "25.4", "31.8", "0.41", "50.", "40.", "100."}});
    row("openrocket-subassembly-test-v4.rkt", "SubAssembly Test", 4,
        {{"Fin set 1", "3", "53.98", "57.15", "3.18", "30.73", "28.96", "124.9"},
         {"Fin set 2", "3", "101.6", "101.6", "1.59", "30.73", "28.96", "124.9"},
         {"Fin set 3", "3", "25.4", "31.8", "0.41", "30.73", "28.96", "124.9"},
         {"Fin set 4", "3", "146.05", "69.84", "1.6", "30.73", "28.96", "124.9"}});
    row("openrocket-three-stage-everything-v3-variant.rkt",
        "Three Stage Everything Included Rocket - Override Total Mass/CG", 3,
        {{"Fin set", "3", "38.1", "45.7", "2.39", "66.", "65.79", "360.68"},
         {"Elliptical Fins", "3", "92.", "46.9", "3.18", "41.4", "41.", "418.4"},
         {"Custom Fins", "3", "152.4", "146.72", "2.38", "41.4", "41.", "418.4"}});
    row("openrocket-three-stage-everything-v3.rkt", "Three Stage Everything Included Rocket", 3,
        {{"Fin set", "3", "38.1", "45.7", "2.39", "66.04", "65.79", "360.68"},
         {"Elliptical Fins", "3", "92.", "46.9", "3.18", "46.", "45.", "418.4"},
         {"Custom Fins", "3", "152.4", "146.72", "2.38", "46.", "45.", "418.4"}});
    for (const char* f :
         {"openrocket-tube-fins-airplane-v4.rkt", "openrocket-tube-fins-airplane-v4-variant.rkt"})
        row(f, "Airplane Look-A-Like Design", 0,
            {{"", "0", "0", "0", "0", "29.972", "28.956", "203.2"}});
}

void TestCorpus::file() {
    QFETCH(QString, name);
    QFETCH(QString, rocket);
    QFETCH(int, inFile);
    QFETCH(QList<QStringList>, finSets);
    checkDesign(corpus.filePath(name), rocket, inFile, finSets);
}

void TestCorpus::everyFileIsCovered() {
    if (!haveCorpus())
        QSKIP("the RockSim corpus (../shared/rkt-corpus) is not on this machine");
    QStringList onDisk = corpus.entryList({QStringLiteral("*.rkt")}, QDir::Files, QDir::Name);
    covered.sort();
    QCOMPARE(onDisk, covered);
}

void TestCorpus::ownDesign_data() {
    addColumns();
    ownCovered = {"crlf-declaration.rkt", "openrocket-style.rkt", "three-stage.rkt",
                  "wide-booster.rkt"};
    QTest::newRow("crlf-declaration.rkt: CR LF, declaration, references")
        << "crlf-declaration.rkt"
        << "Skylark & Sons" << 2
        << QList<QStringList>{
               {"Main fins", "4", "75.5", "50.", "3.2", "41.6", "40.5", "457.2"},
               {"Canard \"strakes\"", "3", "60.", "35.", "1.6", "41.6", "40.5", "457.2"}};
    QTest::newRow("openrocket-style.rkt: CDATA, custom fins, indented")
        << "openrocket-style.rkt"
        << "Exported A&B" << 1
        << QList<QStringList>{
               {"Custom Fin-1", "4", "406", "128", "4.78", "100.0", "98.06", "631.8"}};
    QTest::newRow("three-stage.rkt: each fin set on its stage's tube")
        << "three-stage.rkt"
        << "Stages" << 2
        << QList<QStringList>{
               {"Fin set", "3", "38.1", "45.7", "2.39", "66.04", "65.79", "360.68"},
               {"Elliptical Fins", "3", "92.", "46.9", "3.18", "46.", "45.", "418.4"}};
    QTest::newRow("wide-booster.rkt: larger than any sheet")
        << "wide-booster.rkt"
        << "Wide booster" << 1
        << QList<QStringList>{{"Big", "3", "600", "300", "12", "300", "290", "2000"}};
}

void TestCorpus::everyOwnDesignIsCovered() {
    QStringList onDisk = QDir(QStringLiteral(VANECRAFT_TEST_DESIGNS_DIR))
                             .entryList({QStringLiteral("*.rkt")}, QDir::Files, QDir::Name);
    ownCovered.sort();
    QCOMPARE(onDisk, ownCovered);
}

void TestCorpus::ownDesign() {
    QFETCH(QString, name);
    QFETCH(QString, rocket);
    QFETCH(int, inFile);
    QFETCH(QList<QStringList>, finSets);
    checkDesign(QStringLiteral(VANECRAFT_TEST_DESIGNS_DIR "/") + name, rocket, inFile, finSets);
}

void TestCorpus::angles_data() {
    if (!haveCorpus())
        QSKIP("the RockSim corpus (../shared/rkt-corpus) is not on this machine");
    QTest::addColumn<QString>("name");
    // Per fin set: its angle in degrees, and its tube's marks as triples (see MarkCheck.h).
    QTest::addColumn<QList<double>>("finAngles");
    QTest::addColumn<QList<QStringList>>("finMarks");
    QTest::addColumn<QStringList>("unheldMarks"); // the tube a number without a fin set shows
    auto row = [](const char* file, const QList<double>& angles, const QList<QStringList>& marks,
                  const QStringList& unheld) {
        QTest::newRow(file) << QString::fromLatin1(file) << angles << marks << unheld;
    };
    // The two lugs of the apocalypse's tube, both at -2.35619 rad.
    const QStringList twoLugs{"L", "-134.99974273092943", "Launch lug",
                              "L", "-134.99974273092943", "Launch lug"};
    row("icl-rocketry-sporadic-impulse-minimal.rkt", {}, {}, {});
    row("openrocket-body-tube-children-v4.rkt",
        {0.0, 44.99999063801584, 90.0002104591497, 179.99984796050427, -90.0002104591497},
        {{}, {}, {}, {}, {}}, {});
    row("openrocket-export-apocalypse-decals.rkt",
        {0.0, -2.8650009700383143, 3.009999399252072, 90.0002104591497, 86.13503717319718,
         93.38524511278261, 179.99984796050427, 176.00976987521324, -177.2399102613591,
         -90.0002104591497, -86.49027100617829, -94.48990774179484},
        {twoLugs, twoLugs, twoLugs, twoLugs, twoLugs, twoLugs, twoLugs, twoLugs, twoLugs, twoLugs,
         twoLugs, twoLugs},
        {});
    row("openrocket-fins-on-transitions-v4.rkt", {0.0, 0.0}, {{}, {}}, {});
    row("openrocket-foobar-test-v3-single-stage.rkt", {0.0}, {{}}, {});
    row("openrocket-pod-fins-v4.rkt", {0.0, 0.0, 0.0}, {{}, {}, {}}, {});
    row("openrocket-pod-test-v4.rkt", {0.0, 0.0}, {{}, {"L", "0.0", "Launch lug 1"}}, {});
    // The lug and the tube fins sit in a sub-assembly on the airframe, as do fin sets 1 and 2;
    // fin sets 3 and 4, on a transition, take the airframe's values and so list its parts.
    const QStringList parts{"L", "0", "Launch lug 1", "T", "0", "Tube fins 1"};
    row("openrocket-subassembly-test-v4.rkt", {0.0, 0.0, 0.0, 0.0}, {parts, parts, parts, parts},
        parts);
    row("openrocket-three-stage-everything-v3-variant.rkt",
        {4.760001581654, -29.740004609840025, 20.50999830495954},
        {{"L", "69.90085100596043", "Launch lug"},
         {"T", "0", "Tube fins"},
         {"T", "0", "Tube fins"}},
        {"L", "179.90874767107852", "Launch lug"});
    row("openrocket-three-stage-everything-v3.rkt",
        {4.760001581654, -29.740004609840025, 20.50999830495954}, {{}, {}, {}}, {});
    row("openrocket-tube-fins-airplane-v4-variant.rkt", {}, {}, {});
    row("openrocket-tube-fins-airplane-v4.rkt", {}, {}, {});
}

void TestCorpus::angles() {
    QFETCH(QString, name);
    QFETCH(QList<double>, finAngles);
    QFETCH(QList<QStringList>, finMarks);
    QFETCH(QStringList, unheldMarks);
    const LoadResult r = ReadRockSimFile(corpus.filePath(name));
    QVERIFY2(r.ok, qPrintable(r.message));
    const QString mismatch = AnglesMismatch(r.design, finAngles, finMarks, unheldMarks);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_APPLESS_MAIN(TestCorpus)
#include "tst_corpus.moc"
