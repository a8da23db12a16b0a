// The OpenRocket designs of ../shared/ork-corpus (see SOURCES.md there). The expected values come
// from a full XML parse of each file (the whole tree, with its own radius walk), not from this
// reader, so they check the streaming reader independently.
#include "DesignFields.h"
#include "MarkCheck.h"
#include "import/DesignFile.h"

#include <QDir>
#include <QtTest>

using namespace vanecraft;

class TestOrkCorpus : public QObject {
    Q_OBJECT
private slots:
    void file_data();
    void file();
    void everyFileIsCovered();
    void angles_data();
    void angles();

private:
    QDir corpus{QStringLiteral(VANECRAFT_ORK_CORPUS_DIR)};
    QStringList covered;
};

void TestOrkCorpus::file_data() {
    if (!corpus.exists())
        QSKIP("the OpenRocket corpus (../shared/ork-corpus) is not on this machine");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rocket");
    QTest::addColumn<int>("inFile");
    // Per fin set: name, count, root, span, thickness, tube OD, ID, Len, and the tube's index
    // or what carries the fin set. A design without fin sets: the tube it shows.
    QTest::addColumn<QList<QStringList>>("finSets");
    using L = QList<QStringList>;
    auto row = [this](const char* file, const char* rocket, int inFile, const L& sets) {
        covered << QString::fromLatin1(file);
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromUtf8(rocket) << inFile
                            << sets;
    };
    row("a-simple-model-rocket.ork", "A simple model rocket", 1,
        {{"Trapezoidal fin set", "3", "50.8", "30", "2", "25", "23", "300", "0"}});
    row("apocd-plain.ork", "apocalypse", 12,
        {{"Custom Fin-1", "1", "406", "128", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 1a", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 1b", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Custom Fin-2", "1", "406", "128", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 2a", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 2b", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Custom Fin-3", "1", "406", "128", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 3a", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 3b", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Custom Fin-4", "1", "406", "128", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 4a", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"},
         {"Contre fins 4b", "1", "392.101", "20", "4.78", "100", "98.06", "563.6", "3"}});
    row("arc-payload-rocket.ork", "ARC payload rocket", 3,
        {{"Trapezoidal fin set #1", "1", "75.4", "55.4", "3", "56.3118", "55.245", "762", "1"},
         {"Trapezoidal fin set #2", "1", "75.4", "55.4", "3", "56.3118", "55.245", "762", "1"},
         {"Trapezoidal fin set #3", "1", "75.4", "55.4", "3", "56.3118", "55.245", "762", "1"}});
    row("asimple-plain.ork", "A simple model rocket", 1,
        {{"Trapezoidal fin set", "3", "50", "30", "2", "25", "23", "300", "0"}});
    row("base-drag-hack-short-wide.ork", "Base drag hack (short-wide)", 1,
        {{"Freeform Fiin Set (4)", "4", "66.6749999999999", "54.76748", "3.048", "78.74",
          "77.5286153846154", "121.138461538462", "0"}});
    row("chute-release.ork", "Chute release", 1,
        {{"Trapezoidal fin set", "3", "134.19328", "79.248", "4.7625", "63.5", "61.7728", "393.7",
          "1"}});
    row("clustered-motors.ork", "Clustered motors", 1,
        {{"Elliptical fin set", "3", "60", "60", "3", "55", "53", "600", "0"}});
    row("logo-rocket.ork", "Rocket", 1,
        {{"Freeform Fin Set.8", "3", "0", "29.337", "0.8128", "", "", "", "a transition"}});
    row("parallel-booster-staging.ork", "Parallel booster staging", 3,
        {{"Trapezoidal Fin Set", "1", "76.2", "50.8", "6.35", "33.655", "32.5882", "127", "1"},
         {"Trapezoidal Fin Set", "1", "76.2", "50.8", "6.35", "33.655", "32.5882", "127", "1"},
         {"Trapezoidal Fin Set", "4", "76.2", "50.8", "6.35", "57.404", "54.356", "863.6", "0"}});
    row("pods-airframes-and-winglets.ork", "Pods--airframes and winglets", 6,
        {{"Cockpit", "1", "0", "6.95652173913044", "6.985", "", "", "", "a nose cone"},
         {"Wings", "2", "177.8", "50.7999725680148", "2.3622", "33.655", "32.5882", "304.8", "0"},
         {"Vertical stabilizer", "1", "50.8", "31.75", "2.3622", "33.655", "32.5882", "304.8", "0"},
         {"Horizontal stabilizer", "2", "27.94", "19.05", "2.3622", "0", "0", "0", "2"},
         {"Left ventral fin", "1", "76.2", "15.875", "2.3622", "33.655", "32.5882", "304.8", "0"},
         {"Right ventral fin", "1", "76.2", "15.875", "2.3622", "33.655", "32.5882", "304.8",
          "0"}});
    row("rasaero-export-01-one-stage.ork", "X-Ray", 1,
        {{"Fin set", "4", "146.000306575232", "133.220985623235", "3.175", "50.292", "48.26",
          "609.6", "1"}});
    row("simplerocket-gzip.ork", "A simple model rocket", 1,
        {{"Trapezoidal fin set", "3", "50", "30", "2", "25", "23", "300", "0"}});
    row("three-stage-low-power-rocket.ork", "Three stage low power rocket", 3,
        {{"Trapezoidal fin set", "3", "50", "30", "2", "25", "23", "300", "0"},
         {"Freeform fin set", "3", "80", "40", "2", "25", "23", "80", "1"},
         {"Trapezoidal fin set", "3", "80", "40", "2", "25", "23", "80", "2"}});
    row("tube-fin-rocket.ork", "Tube fin rocket", 0,
        {{"", "0", "0", "0", "0", "24.7904", "24.13", "457.2", "0"}});
}

void TestOrkCorpus::file() {
    QFETCH(QString, name);
    QFETCH(QString, rocket);
    QFETCH(int, inFile);
    QFETCH(QList<QStringList>, finSets);
    const LoadResult r = ReadDesignFile(corpus.filePath(name));
    QVERIFY2(r.ok, qPrintable(r.message));
    const Design& d = r.design;
    QCOMPARE(d.RocketName, rocket);
    QCOMPARE(d.FinSetsInFile, inFile);
    QCOMPARE(int(d.FinSets.size()), inFile);
    QCOMPARE(r.warning.isEmpty(), inFile <= MostFinSetsKept);
    for (int i = 0; i < finSets.size(); ++i) {
        const FinSet& f = inFile == 0 ? d.Unheld : d.FinSets[size_t(i)];
        const TubeValues& t = f.Tube;
        const QStringList got{f.Name,
                              f.Count.text,
                              f.Root.text,
                              f.Span.text,
                              f.Thickness.text,
                              t.OD.text,
                              t.ID.text,
                              t.Len.text,
                              t.Carrier.isEmpty() ? QString::number(t.Index) : t.Carrier};
        QCOMPARE(got, finSets[i]);
    }
    // The window shows fin set 1 (or the tube of a design without one) through the same path.
    QCOMPARE(DesignField(d, QStringLiteral("od")), finSets[0][5]);
}

void TestOrkCorpus::everyFileIsCovered() {
    if (!corpus.exists())
        QSKIP("the OpenRocket corpus (../shared/ork-corpus) is not on this machine");
    QStringList onDisk = corpus.entryList({QStringLiteral("*.ork")}, QDir::Files, QDir::Name);
    covered.sort();
    QCOMPARE(onDisk, covered);
}

void TestOrkCorpus::angles_data() {
    if (!corpus.exists())
        QSKIP("the OpenRocket corpus (../shared/ork-corpus) is not on this machine");
    QTest::addColumn<QString>("name");
    // Per fin set: its angle, and the marks of its tube as triples (see MarkCheck.h).
    QTest::addColumn<QList<double>>("finAngles");
    QTest::addColumn<QList<QStringList>>("finMarks");
    // The marks of the tube a fin-set number without a fin set shows.
    QTest::addColumn<QStringList>("unheldMarks");
    auto row = [](const char* file, const QList<double>& angles, const QList<QStringList>& marks,
                  const QStringList& unheld) {
        QTest::newRow(file) << QString::fromLatin1(file) << angles << marks << unheld;
    };
    row("a-simple-model-rocket.ork", {0.0}, {{"L", "19.0", "Launch lug"}},
        {"L", "19.0", "Launch lug"});
    row("apocd-plain.ork",
        {0.0, -2.8650009700383143, 3.009999399252072, 90.0002104591497, 86.13503717319718,
         93.38524511278261, 179.99984796050427, 176.00976987521324, -177.2399102613591,
         -90.0002104591497, -86.49027100617829, -94.48990774179484},
        {{"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"},
         {"L", "-134.99974273092943", "Launch lug", "L", "-134.99974273092943", "Launch lug"}},
        {});
    row("arc-payload-rocket.ork", {0.0, 119.99999999999999, -120.00000000000001}, {{}, {}, {}}, {});
    row("asimple-plain.ork", {0.0}, {{"L", "19.0", "Launch lug"}}, {"L", "19.0", "Launch lug"});
    row("base-drag-hack-short-wide.ork", {45.0}, {{"L", "180.0", "Launch Lug"}},
        {"L", "180.0", "Launch Lug"});
    row("chute-release.ork", {0.0}, {{"R", "180.0", "Rail Button"}}, {});
    row("clustered-motors.ork", {0.0}, {{"L", "10.0", "Launch lug", "L", "10.0", "Launch lug"}},
        {"L", "10.0", "Launch lug", "L", "10.0", "Launch lug"});
    row("logo-rocket.ork", {0.0}, {{}}, {});
    row("parallel-booster-staging.ork", {45.0, -45.00000000000001, 45.0},
        {{}, {}, {"R", "-90.0", "Rail Button"}}, {"R", "-90.0", "Rail Button"});
    row("pods-airframes-and-winglets.ork",
        {0.0, 90.0, 0.0, 90.0, -149.99999999999997, 150.00000000000003},
        {{},
         {"L", "180.0", "Launch Lug"},
         {"L", "180.0", "Launch Lug"},
         {},
         {"L", "180.0", "Launch Lug"},
         {"L", "180.0", "Launch Lug"}},
        {"L", "180.0", "Launch Lug"});
    row("rasaero-export-01-one-stage.ork", {0.0}, {{"L", "0.0", "Launch lug"}}, {});
    row("simplerocket-gzip.ork", {0.0}, {{"L", "19.0", "Launch lug"}}, {"L", "19.0", "Launch lug"});
    row("three-stage-low-power-rocket.ork", {0.0, 0.0, 0.0},
        {{"L", "19.0", "Launch lug"}, {}, {"L", "19.0", "Launch lug"}},
        {"L", "19.0", "Launch lug"});
    row("tube-fin-rocket.ork", {}, {},
        {"T", "29.999999999999996", "Tube fin set", "L", "180.0", "Launch Lug"});
}

void TestOrkCorpus::angles() {
    QFETCH(QString, name);
    QFETCH(QList<double>, finAngles);
    QFETCH(QList<QStringList>, finMarks);
    QFETCH(QStringList, unheldMarks);
    const LoadResult r = ReadDesignFile(corpus.filePath(name));
    QVERIFY2(r.ok, qPrintable(r.message));
    const QString mismatch = AnglesMismatch(r.design, finAngles, finMarks, unheldMarks);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_GUILESS_MAIN(TestOrkCorpus)
#include "tst_ork_corpus.moc"
