// The OpenRocket reader through the one load path: containers told by content, the values a
// fin set takes from its elements and its tube, and files refused quickly with a message.
#include "DesignFields.h"
#include "MarkCheck.h"
#include "OrkFiles.h"
#include "import/DesignFile.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace vanecraft;
using namespace ork_files;

class TestOpenRocket : public QObject {
    Q_OBJECT
private slots:
    void containers_data();
    void containers();
    void values_data();
    void values();
    void angles_data();
    void angles();
    void refused_data();
    void refused();
    void rockSimUnchanged_data();
    void rockSimUnchanged();
    void fileChecksAsBefore();
};

namespace {

// A small design: one stage, a nose cone, a tube carrying one fin set.
QByteArray smallDesign() {
    return Doc(Stage(Part("nosecone", "<name>Nose</name><aftradius>0.0125</aftradius>") +
                     Tube("0.0125", Fins("<instancecount>4</instancecount><fincount>4</fincount>"
                                         "<rootchord>0.07</rootchord><height>0.04</height>"))),
               "Small");
}

} // namespace

void TestOpenRocket::containers_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray xml = smallDesign();
    const QByteArray png = "\x89PNG\r\n\x1a\nnot really a picture";
    QTest::newRow("plain XML") << xml;
    QTest::newRow("plain XML, BOM, declaration and comment first")
        << "\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- saved -->\n  " + xml.mid(xml.indexOf('\n'));
    QTest::newRow("gzip") << Gzipped(xml);
    QTest::newRow("ZIP, rocket.ork first") << Zipped({{"rocket.ork", xml}, {"preview.png", png}});
    QTest::newRow("ZIP, rocket.ork after other entries")
        << Zipped({{"decals/a.png", png}, {"/datafiles/b.ork", "not XML"}, {"rocket.ork", xml}});
    QTest::newRow("ZIP, rocket.ork in a folder")
        << Zipped({{"preview.png", png}, {"x/rocket.ork", xml}});
    QTest::newRow("ZIP, first .ork entry when none is rocket.ork")
        << Zipped({{"readme.txt", "hello"}, {"My Design.ORK", xml}, {"other.ork", "junk"}});
    QTest::newRow("ZIP, stored") << Zipped({{"rocket.ork", xml}}, true);
}

void TestOpenRocket::containers() {
    QFETCH(QByteArray, bytes);
    const LoadResult r = Loaded(bytes);
    QVERIFY2(r.ok, qPrintable(r.message));
    QCOMPARE(r.design.RocketName, QStringLiteral("Small"));
    QCOMPARE(r.design.FinSetsInFile, 1);
    QCOMPARE(DesignField(r.design, QStringLiteral("1.count")), QStringLiteral("4"));
    QCOMPARE(DesignField(r.design, QStringLiteral("1.root")), QStringLiteral("70"));
    QCOMPARE(DesignField(r.design, QStringLiteral("1.od")), QStringLiteral("25"));
}

void TestOpenRocket::values_data() {
    QTest::addColumn<QByteArray>("bytes");
    // Fin set 1 as "count root span thick od id len", then its tube's index or carrier.
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("tube");
    const QByteArray fins = Fins("<fincount>3</fincount><rootchord>0.05</rootchord>"
                                 "<height>0.03</height><thickness>0.002</thickness>");
    const QByteArray nose = Part("nosecone", "<name>N</name><aftradius>0.0125</aftradius>");
    auto one = [](const QByteArray& parts) { return Doc(Stage(parts)); };
    QTest::newRow("old names (1.2-1.6)")
        << one(Tube("0.0125", Fins("<fincount>4</fincount><rotation>0.0</rotation><position "
                                   "type=\"bottom\">0.0</position><rootchord>0.06</rootchord>")))
        << "4 60 30 3 25 24 300"
        << "0";
    QTest::newRow("new names beside old (1.8+)")
        << one(Tube("0.0125",
                    Fins("<instancecount>2</instancecount><fincount>2</fincount><angleoffset "
                         "method=\"relative\">0.0</angleoffset><rotation>0.0</rotation>")))
        << "2 50 30 3 25 24 300"
        << "0";
    QTest::newRow("the last count given wins")
        << one(Tube("0.0125", Fins("<instancecount>5</instancecount><fincount>6</fincount>")))
        << "6 50 30 3 25 24 300"
        << "0";
    QTest::newRow("a count that is no whole number is passed over")
        << one(Tube("0.0125", Fins("<fincount>4</fincount><fincount> 5</fincount>")))
        << "4 50 30 3 25 24 300"
        << "0";
    QTest::newRow("metres to millimetre texts without binary noise")
        << one(Tube("0.0208",
                    Fins("<rootchord>0.0416</rootchord><height>0.0333</height>"
                         "<thickness>0.0015875</thickness>"),
                    "0.0003", "0.7366"))
        << "3 41.6 33.3 1.5875 41.6 41 736.6"
        << "0";
    QTest::newRow("numbers trimmed; not a number or not finite keeps the default")
        << one(Tube(" 0.0125\n", Fins("<rootchord> 0.07 </rootchord><height>abc</height>"
                                      "<thickness>NaN</thickness>")))
        << "3 70 30 3 25 24 300"
        << "0";
    QTest::newRow("elliptical defaults")
        << one(Tube("0.0125", Part("ellipticalfinset", "<name>E</name>"))) << "3 50 50 3 25 24 300"
        << "0";
    QTest::newRow("free-form: root from the points on y = 0, span the greatest y")
        << one(Tube("0.0125",
                    Part("freeformfinset",
                         "<name>F</name><finpoints><point x=\"0.0\" y=\"0.0\"/><point "
                         "x=\"0.03\" y=\"0.045\"/><point x=\"0.09\" y=\"0.04\"/><point x=\"0.08\" "
                         "y=\"0.0\"/></finpoints>")))
        << "3 80 45 3 25 24 300"
        << "0";
    QTest::newRow("filled tube has no bore")
        << one(Tube("0.0125", fins, "filled")) << "3 50 30 2 25 0 300"
        << "0";
    QTest::newRow("a wall thicker than the radius leaves no bore")
        << one(Tube("0.01", fins, "0.02")) << "3 50 30 2 20 0 300"
        << "0";
    QTest::newRow("auto X takes X") << one(nose + Tube("auto 0.02", fins)) << "3 50 30 2 40 39 300"
                                    << "0";
    QTest::newRow("bare auto: from the nose cone in front")
        << one(nose + Tube("auto", fins)) << "3 50 30 2 25 24 300"
        << "0";
    QTest::newRow("bare auto: a nose cone without a base radius offers 0.025 m")
        << one(Part("nosecone", "<name>N</name><length>0.1</length>") + Tube("auto", fins) +
               Tube("0.03"))
        << "3 50 30 2 50 49 300"
        << "0";
    QTest::newRow("bare auto: over automatic tubes to a fixed one in front")
        << one(Tube("0.015") + Tube("auto") + Tube("auto", fins)) << "3 50 30 2 30 29 300"
        << "2";
    QTest::newRow("bare auto: across a stage boundary")
        << Doc(Stage(nose + Tube("0.011")) + Stage(Tube("auto", fins))) << "3 50 30 2 22 21 300"
        << "1";
    QTest::newRow("bare auto: a stage without body parts is passed over")
        << Doc(Stage(Tube("0.011")) + Stage("") + Stage(Tube("auto", fins)))
        << "3 50 30 2 22 21 300"
        << "1";
    QTest::newRow("bare auto: from behind when nothing is in front")
        << one(Tube("auto", fins) + Tube("0.016")) << "3 50 30 2 32 31 300"
        << "0";
    QTest::newRow("bare auto: an automatic transition end ends the walk, then behind")
        << one(Part("transition", "<name>T</name><aftradius>auto</aftradius>") +
               Tube("auto", fins) +
               Part("transition", "<name>T</name><foreradius>0.009</foreradius>"))
        << "3 50 30 2 18 17 300"
        << "0";
    QTest::newRow("bare auto: a flipped nose cone in front offers its point")
        << one(Part("nosecone", "<name>N</name><aftradius>0.01</aftradius><isflipped>true"
                                "</isflipped>") +
               Tube("auto", fins, "0"))
        << "3 50 30 2 0 0 300"
        << "0";
    QTest::newRow("bare auto: alone, 0.025 m") << one(Tube("auto", fins)) << "3 50 30 2 50 49 300"
                                               << "0";
    QTest::newRow("bare auto in a pod set: not the holder's radius")
        << one(Tube("0.02", Part("podset", "<name>P</name><instancecount>2</instancecount>",
                                 Tube("auto", fins))))
        << "3 50 30 2 50 49 300"
        << "1";
    QTest::newRow("bare auto in a booster set: its own sibling")
        << one(Tube("0.02", Part("parallelstage", "<name>B</name>",
                                 Part("nosecone", "<name>N</name><aftradius>0.008</aftradius>") +
                                     Tube("auto", fins))))
        << "3 50 30 2 16 15 300"
        << "1";
    QTest::newRow("fin set on a transition")
        << one(Tube("0.0125") +
               Part("transition", "<name>T</name>", Part("freeformfinset", "<name>F</name>")))
        << "3 50 50 3   "
        << "a transition";
    QTest::newRow("fin set on a nose cone")
        << one(Part("nosecone", "<name>N</name>", fins)) << "3 50 30 2   "
        << "a nose cone";
    QTest::newRow("fin sets on one tube share its index")
        << one(Tube("0.0125") + Tube("0.0125", fins + fins)) << "3 50 30 2 25 24 300"
        << "1";
}

void TestOpenRocket::values() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fields);
    QFETCH(QString, tube);
    const LoadResult r = Loaded(bytes);
    QVERIFY2(r.ok, qPrintable(r.message));
    const QStringList want = fields.split(u' ');
    const QStringList keys{"count", "root", "span", "thick", "od", "id", "len"};
    for (int k = 0; k < keys.size(); ++k)
        QCOMPARE(DesignField(r.design, QStringLiteral("1.") + keys[k]), want.value(k));
    const TubeValues& t = r.design.finSet(1).Tube;
    if (tube.startsWith(u'a'))
        QCOMPARE(t.Carrier, tube);
    else
        QCOMPARE(t.Index, tube.toInt());
    if (r.design.FinSets.size() > 1)
        QCOMPARE(r.design.FinSets[1].Tube.Index, t.Index);
    const FinSet& f = r.design.finSet(1);
    for (const Value* v : {&f.Root, &f.Span, &f.Thickness, &t.OD, &t.ID, &t.Len})
        QCOMPARE(v->number, v->text.isEmpty() ? 0.0 : v->text.toDouble());
}

void TestOpenRocket::angles_data() {
    QTest::addColumn<QByteArray>("bytes");
    // Per fin set: its angle, and its tube's marks as triples (see MarkCheck.h).
    QTest::addColumn<QList<double>>("finAngles");
    QTest::addColumn<QList<QStringList>>("finMarks");
    QTest::addColumn<QStringList>("unheldMarks"); // the tube a number without a fin set shows
    using L = QList<QStringList>;
    auto one = [](const QByteArray& parts) { return Doc(Stage(parts)); };
    auto lug = [](const QByteArray& name, const QByteArray& params) {
        return Part("launchlug", "<name>" + name + "</name>" + params);
    };
    auto button = [](const QByteArray& name, const QByteArray& params) {
        return Part("railbutton", "<name>" + name + "</name>" + params);
    };
    QTest::newRow("old files: rotation only")
        << one(Tube("0.0125", Fins("<rotation>30.5</rotation>"))) << QList<double>{30.5} << L{{}}
        << QStringList{};
    QTest::newRow("angleoffset then rotation: rotation wins")
        << one(Tube("0.0125", Fins("<angleoffset method=\"fixed\">10</angleoffset>"
                                   "<rotation>20</rotation>")))
        << QList<double>{20} << L{{}} << QStringList{};
    QTest::newRow("rotation then angleoffset: angleoffset wins")
        << one(Tube("0.0125", Fins("<rotation>20</rotation><angleoffset "
                                   "method=\"relative\">-170</angleoffset>")))
        << QList<double>{-170} << L{{}} << QStringList{};
    QTest::newRow("angles kept as given, not brought into a turn")
        << one(Tube("0.0125", Fins("<rotation>400</rotation>") +
                                  lug("Far", "<radialdirection>-725</radialdirection>")))
        << QList<double>{400} << L{{"L", "-725", "Far"}} << QStringList{"L", "-725", "Far"};
    QTest::newRow("huge angles kept") << one(Tube("0.0125", Fins("<rotation>1e300</rotation>")))
                                      << QList<double>{1e300} << L{{}} << QStringList{};
    QTest::newRow("lug with radialdirection only")
        << one(Tube("0.0125", Fins("") + lug("Lug", "<radialdirection>-45.5</radialdirection>")))
        << QList<double>{0} << L{{"L", "-45.5", "Lug"}} << QStringList{"L", "-45.5", "Lug"};
    QTest::newRow("lug with both: the last wins")
        << one(Tube("0.0125", lug("Lug", "<angleoffset method=\"relative\">30</angleoffset>"
                                         "<radialdirection>40</radialdirection>") +
                                  Fins("")))
        << QList<double>{0} << L{{"L", "40", "Lug"}} << QStringList{"L", "40", "Lug"};
    QTest::newRow("rail button of two instances is one mark")
        << one(Tube("0.0125", Fins("<rotation>15</rotation>") +
                                  button("Button", "<instancecount>2</instancecount>"
                                                   "<instanceseparation>0.1</instanceseparation>"
                                                   "<angleoffset method=\"relative\">200"
                                                   "</angleoffset>")))
        << QList<double>{15} << L{{"R", "200", "Button"}} << QStringList{"R", "200", "Button"};
    QTest::newRow("lugs and buttons in the file's order")
        << one(Tube("0.0125", button("B1", "<angleoffset>90</angleoffset>") +
                                  lug("L1", "<radialdirection>10</radialdirection>") + Fins("") +
                                  button("B2", "<angleoffset>-90</angleoffset>")))
        << QList<double>{0} << L{{"R", "90", "B1", "L", "10", "L1", "R", "-90", "B2"}}
        << QStringList{"R", "90", "B1", "L", "10", "L1", "R", "-90", "B2"};
    const QByteArray pod =
        Part("podset", "<name>Pods</name><instancecount>2</instancecount>",
             Tube("0.01", Fins("<rotation>5</rotation>") +
                              lug("Pod lug", "<radialdirection>60</radialdirection>")));
    QTest::newRow("a lug in a pod's tube belongs to that tube, not the holder")
        << one(Tube("0.0125", lug("Main lug", "<radialdirection>180</radialdirection>") +
                                  Fins("<rotation>1</rotation>") + pod))
        << QList<double>{1, 5} << L{{"L", "180", "Main lug"}, {"L", "60", "Pod lug"}}
        << QStringList{"L", "180", "Main lug"};
    QTest::newRow("a lug in an inner tube is not the body tube's")
        << one(Tube("0.0125",
                    Fins("") + Part("innertube", "<name>Mount</name>",
                                    lug("Inside", "<radialdirection>7</radialdirection>"))))
        << QList<double>{0} << L{{}} << QStringList{};
    QTest::newRow("fins on a transition carry no marks")
        << one(Tube("0.0125", lug("Lug", "<radialdirection>33</radialdirection>")) +
               Part("transition", "<name>T</name>",
                    Fins("<rotation>12</rotation>") +
                        lug("Not on a tube", "<radialdirection>9</radialdirection>")))
        << QList<double>{12} << L{{}} << QStringList{"L", "33", "Lug"};
    QTest::newRow("a design without fin sets: the shown tube's marks")
        << one(Tube("0.0125", lug("Lug", "<radialdirection>19</radialdirection>")) +
               Tube("0.0125", lug("Second", "<radialdirection>20</radialdirection>")))
        << QList<double>{} << L{} << QStringList{"L", "19", "Lug"};
    QByteArray manyLugs;
    QStringList hundred;
    for (int i = 0; i < 101; ++i) {
        const QByteArray n = QByteArray::number(i);
        manyLugs += lug("L" + n, "<radialdirection>" + n + "</radialdirection>");
        if (i < 100)
            hundred << "L" << QString::number(i) << "L" + QString::number(i);
    }
    QTest::newRow("the first hundred lugs of a tube are kept")
        << one(Tube("0.0125", manyLugs + Fins(""))) << QList<double>{0} << L{hundred} << hundred;
    const QStringList unknownAngles{"L", "?", "A", "L", "?", "B", "L", "180", "C", "R", "180", "D"};
    QTest::newRow("angles not numbers or not finite are unknown; missing ones OpenRocket's own")
        << one(Tube("0.0125", Fins("<rotation>NaN</rotation>") +
                                  Fins("<angleoffset>inf"
                                       "</angleoffset>") +
                                  Fins("<rotation>ten</rotation>") +
                                  lug("A", "<radialdirection>-Infinity</radialdirection>") +
                                  lug("B", "<angleoffset>nan</angleoffset>") + lug("C", "") +
                                  button("D", "<angleoffset></angleoffset>")))
        << QList<double>{qQNaN(), qQNaN(), qQNaN()}
        << L{unknownAngles, unknownAngles, unknownAngles} << unknownAngles;
}

void TestOpenRocket::angles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<double>, finAngles);
    QFETCH(QList<QStringList>, finMarks);
    QFETCH(QStringList, unheldMarks);
    const LoadResult r = Loaded(bytes);
    QVERIFY2(r.ok, qPrintable(r.message));
    const Design& d = r.design;
    QCOMPARE(qsizetype(d.FinSets.size()), finAngles.size());
    for (qsizetype i = 0; i < finAngles.size(); ++i) {
        const FinSet& f = d.FinSets[size_t(i)];
        if (qIsNaN(finAngles[i]))
            QVERIFY(!f.Rotation.readable());
        else
            QCOMPARE(f.Rotation.degrees, finAngles[i]);
        const QString mismatch = MarksMismatch(f.Tube.Marks, finMarks[i]);
        QVERIFY2(mismatch.isEmpty(), qPrintable(QStringLiteral("fin set %1: ").arg(i) + mismatch));
    }
    const QString mismatch = MarksMismatch(d.Unheld.Tube.Marks, unheldMarks);
    QVERIFY2(mismatch.isEmpty(), qPrintable(QStringLiteral("unheld: ") + mismatch));
}

void TestOpenRocket::refused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    const QByteArray xml = smallDesign();
    const QByteArray head = "<?xml version='1.0'?>\n<openrocket version=\"1.9\"><rocket><name>B"
                            "</name>";
    QTest::newRow("gzip of 1 GB of zeros")
        << GzipMembers({}, QByteArray(1 << 20, '\0'), 1024) << "more than 16 MB";
    QTest::newRow("gzip of 1 GB of XML comments")
        << GzipMembers(head, "<!--" + QByteArray(1 << 20, 'x') + "-->", 1024)
        << "more than 256 MB of design text";
    QTest::newRow("gzip of countless empty elements")
        << GzipMembers(head, QByteArray(1 << 20, 'x').replace("xxxx", "<a/>"), 1024)
        << "more than 2000000 XML items";
    QTest::newRow("ZIP entry claiming more than it holds")
        << ZipWithLyingSize("rocket.ork", xml, 0x7FFFFFF0) << "ZIP";
    QTest::newRow("ZIP entry claiming less than it holds")
        << ZipWithLyingSize("rocket.ork", xml, 40) << "damaged ZIP archive";
    QTest::newRow("truncated gzip") << Gzipped(xml).left(60) << "cannot be read";
    const QByteArray zip = Zipped({{"rocket.ork", xml}});
    QTest::newRow("truncated ZIP") << zip.left(zip.size() / 2) << "ZIP";
    QTest::newRow("binary garbage after PK") << "PK\x03\x04" + QByteArray(5000, '\xA7') << "ZIP";
    QTest::newRow("ZIP without a design entry")
        << Zipped({{"readme.txt", "hello"}}) << "no entry's name ends in .ork";
    QTest::newRow("ZIP whose design entry is no design")
        << Zipped({{"rocket.ork", "hello"}}) << "\"rocket.ork\" is not an OpenRocket design";
    QTest::newRow("nesting 20,000 deep")
        << head + QByteArray(20000 * 3, 'x').replace("xxx", "<a>") << "nested more than 10000";
    QTest::newRow("a name of 20 MB") << head + "<name>" + QByteArray(20 << 20, 'n') + "</name>"
                                     << "more than 16 MB";
    QByteArray split;
    for (int i = 0; i < 20; ++i)
        split += QByteArray(1 << 20, 'n') + "<!---->";
    QTest::newRow("a name of 20 MB split by comments") << head + "<name>" + split + "</name>"
                                                       << "longer than 16 MB";
    // Entities declared in a document type would expand without bound before any limit here.
    QByteArray entities = "<?xml version='1.0'?>\n<!DOCTYPE openrocket [<!ENTITY a \"" +
                          QByteArray(4000, 'x') +
                          "\">]>\n<openrocket version=\"1.9\"><rocket>"
                          "<name>";
    for (int i = 0; i < 200000; ++i)
        entities += "&a;";
    QTest::newRow("entities declared in a document type, zipped")
        << Zipped({{"rocket.ork", entities + "</name></rocket></openrocket>"}})
        << "declares a document type";
    QTest::newRow("a stage inside a body tube")
        << Doc(Stage(Tube("0.02", Stage(Tube("auto", Fins("<fincount>3</fincount>"))))))
        << "a stage inside another part";
    QTest::newRow("openrocket without rocket")
        << QByteArray("<openrocket version=\"1.9\"><simulations/></openrocket>")
        << "without a rocket design";
    const QByteArray bad = QByteArray(xml).replace("</rootchord>", "</rootchrd>");
    const qsizetype badLine = bad.left(bad.indexOf("</rootchrd>")).count('\n') + 1;
    QTest::newRow("malformed XML")
        << bad << QStringLiteral("not well-formed XML (line %1:").arg(badLine);
    QTest::newRow("cut off inside the rocket")
        << xml.left(xml.indexOf("<height>")) << "not well-formed XML";
}

void TestOpenRocket::refused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    QElapsedTimer t;
    t.start();
    const LoadResult r = Loaded(bytes);
    QVERIFY(!r.ok);
    QVERIFY2(r.message.contains(says), qPrintable(r.message));
    QVERIFY2(r.message.startsWith(QStringLiteral("The file \"test.ork\" cannot be read: ")),
             qPrintable(r.message));
    QCOMPARE(r.design, Design());
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
}

void TestOpenRocket::rockSimUnchanged_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("RockSim design")
        << QByteArray("<RockSimDocument>\n<DesignInformation>\n<RocketDesign>\n<Name>R</Name>\n"
                      "<Stage3Parts>\n<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n"
                      "<AttachedParts>\n<FinSet>\n<FinCount>3</FinCount>\n</FinSet>\n"
                      "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n"
                      "</DesignInformation>\n</RockSimDocument>\n");
    QTest::newRow("other XML") << QByteArray("<?xml version=\"1.0\"?>\n<svg>\n</svg>\n");
    QTest::newRow("openrocket only as text") << QByteArray("hello <openrocket\n");
    QTest::newRow("empty") << QByteArray();
}

void TestOpenRocket::rockSimUnchanged() {
    QFETCH(QByteArray, bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const LoadResult want = ReadRockSimDevice(buffer, QStringLiteral("test.ork"));
    const LoadResult got = Loaded(bytes);
    QCOMPARE(got.ok, want.ok);
    QCOMPARE(got.message, want.message);
    QCOMPARE(got.design, want.design);
}

void TestOpenRocket::fileChecksAsBefore() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& path : {dir.path(), dir.filePath(QStringLiteral("missing.ork"))}) {
        const LoadResult r = ReadDesignFile(path);
        QVERIFY(!r.ok);
        QCOMPARE(r.message, ReadRockSimFile(path).message);
    }
    QFile f(dir.filePath(QStringLiteral("design.rkt"))); // an OpenRocket design, whatever its name
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Zipped({{"rocket.ork", smallDesign()}}));
    f.close();
    const LoadResult r = ReadDesignFile(f.fileName());
    QVERIFY2(r.ok, qPrintable(r.message));
    QCOMPARE(r.design.RocketName, QStringLiteral("Small"));
}

QTEST_GUILESS_MAIN(TestOpenRocket)
#include "tst_openrocket.moc"
