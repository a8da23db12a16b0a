#include "DesignFields.h"
#include "MarkCheck.h"
#include "ScratchFiles.h"
#include "import/RockSimReader.h"

#include <QFile>
#include <QtTest>

using namespace vanecraft;

namespace {

// A tiny design in RockSim's layout; %BODY% is replaced by the parts under the stage.
QByteArray design(const QByteArray& parts, const QByteArray& header = "<Name>Rocket</Name>\n") {
    return "<RockSimDocument>\n<DesignInformation>\n<RocketDesign>\n" + header + "<Stage3Parts>\n" +
           parts +
           "</Stage3Parts>\n</RocketDesign>\n</DesignInformation>\n"
           "</RockSimDocument>\n";
}

QByteArray tube(const QByteArray& fields, const QByteArray& attached = "") {
    return "<BodyTube>\n" + fields + "<AttachedParts>\n" + attached +
           "</AttachedParts>\n</BodyTube>\n";
}

QByteArray fins(const QByteArray& fields, const QByteArray& element = "FinSet") {
    return "<" + element + ">\n" + fields + "</" + element + ">\n";
}

const QByteArray StdTube = "<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300.</Len>\n";
const QByteArray StdFins =
    "<Name>Fins</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
    "<SemiSpan>50.</SemiSpan>\n<Thickness>3.2</Thickness>\n";

} // namespace

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
    void extractTagValue_data();
    void extractTagValue();
    void unreadablePaths();
    void unescape_data();
    void unescape();
    void angles_data();
    void angles();

private:
    QString write(const QByteArray& bytes) { return dir.write(bytes); }
    ScratchFiles dir;
};

void TestReader::reads_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected"); // key=value
    QTest::addColumn<bool>("warns");

    const QByteArray basic = design(tube(StdTube, fins(StdFins)));
    QTest::newRow("basic") << basic << QStringList{"name=Rocket", "od=41.6",     "id=40.5",
                                                   "len=300.",    "1.count=4",   "1.root=75.5",
                                                   "1.span=50.",  "1.thick=3.2", "1.fname=Fins",
                                                   "held=1"}
                           << false;
    QByteArray crlf = basic;
    crlf.replace("\n", "\r\n");
    QTest::newRow("CR LF") << crlf << QStringList{"od=41.6", "1.fname=Fins", "len=300."} << false;
    QByteArray cr = basic;
    cr.replace("\n", "\r");
    QTest::newRow("lone CR") << cr << QStringList{"od=41.6", "1.root=75.5"} << false;
    QByteArray noFinal = basic;
    noFinal.chop(1);
    QTest::newRow("no final line end") << noFinal << QStringList{"od=41.6", "held=1"} << false;
    QTest::newRow("BOM") << "\xEF\xBB\xBF" + basic << QStringList{"od=41.6"} << false;
    QTest::newRow("XML declaration") << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n" + basic
                                     << QStringList{"od=41.6"} << false;
    QTest::newRow("BOM and declaration")
        << "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n" + basic << QStringList{"name=Rocket"} << false;
    QTest::newRow("indented") << design(
                                     tube("    <OD>41.6</OD>\n  <ID>40.5</ID>\n\t<Len>1</Len>\n"))
                              << QStringList{"od=41.6", "id=40.5", "len=1"} << false;
    QTest::newRow("spaces belong to the value")
        << design(tube("<OD> 41.6 </OD>\n")) << QStringList{"od= 41.6 "} << false;

    QTest::newRow("no fin set: slot 1 keeps its reset values")
        << design(tube(StdTube)) << QStringList{"1.count=0", "1.fname=", "1.root=0", "1.span=0",
                                                "1.thick=0", "held=0",   "od=41.6",  "1.od=41.6"}
        << false;
    QTest::newRow("CustomFinSet counts like FinSet")
        << design(tube(StdTube, fins(StdFins) + fins("<Name>Custom</Name>\n", "CustomFinSet")))
        << QStringList{"held=2", "2.fname=Custom", "2.count=0"} << false;
    // A custom fin's root chord is where its outline meets the tube: the spread of x there.
    QTest::newRow("custom fin whose root does not start at 0")
        << design(tube(StdTube, fins("<Name>Swept</Name>\n<FinCount>3</FinCount>\n<PointList>"
                                     "12.5,0|40,30|70,30.5|92.5,0|</PointList>\n",
                                     "CustomFinSet")))
        << QStringList{"1.fname=Swept", "1.count=3", "1.root=80", "1.span=30.5"} << false;
    QTest::newRow("OD and ID on one line")
        << design(tube("<OD>41.6</OD><ID>40.5</ID>\n<Len>1</Len>\n"))
        << QStringList{"od=41.6", "id=40.5"} << false;
    QTest::newRow("later Name in a fin set wins")
        << design(tube(StdTube, fins("<Name>First</Name>\n<Name>Second</Name>\n")))
        << QStringList{"1.fname=Second"} << false;
    QTest::newRow("tube fields in any order")
        << design(tube("<Len>631.8</Len>\n<FinishCode>0</FinishCode>\n<OD>100.0</OD>\n"
                       "<ID>98.06</ID>\n"))
        << QStringList{"od=100.0", "id=98.06", "len=631.8"} << false;
    QTest::newRow("a field never supplied keeps its reset value")
        << design(tube("<OD>41.6</OD>\n", fins("<FinCount>3</FinCount>\n")))
        << QStringList{"id=0", "len=0", "1.count=3", "1.root=0", "1.fname="} << false;
    QTest::newRow("five fin sets: every one is offered")
        << design(tube(StdTube, fins("<Name>A</Name>\n") + fins("<Name>B</Name>\n") +
                                    fins("<Name>C</Name>\n") + fins("<Name>D</Name>\n") +
                                    fins("<Name>E</Name>\n")))
        << QStringList{"held=5", "1.fname=A", "5.fname=E"} << false;
    QByteArray many;
    for (int i = 1; i <= MostFinSetsKept + 1; ++i)
        many += fins("<Name>F" + QByteArray::number(i) + "</Name>\n");
    QTest::newRow("one fin set more than are kept: the user is told")
        << design(tube(StdTube, many)) << QStringList{"held=1000", "1000.fname=F1000", "1.fname=F1"}
        << true;
    QTest::newRow("fin fields of other parts are not read")
        << design(tube(StdTube, "<Parachute>\n<Thickness>0.1</Thickness>\n<Name>Chute</Name>\n"
                                "</Parachute>\n" +
                                    fins(StdFins)))
        << QStringList{"1.thick=3.2", "1.fname=Fins"} << false;
    QTest::newRow("a fin set's own fields, not those of its attached parts")
        << design(tube(StdTube, fins(StdFins + "<AttachedParts>\n<MassObject>\n<Name>Weight"
                                               "</Name>\n</MassObject>\n</AttachedParts>\n")))
        << QStringList{"1.fname=Fins"} << false;

    // Which tube carries a fin set.
    QTest::newRow("fin set on an inner tube takes that tube")
        << design(
               tube(StdTube, tube("<OD>25.4</OD>\n<ID>24.1</ID>\n<Len>70.</Len>\n", fins(StdFins))))
        << QStringList{"od=25.4", "1.od=25.4", "1.id=24.1", "1.len=70."} << false;
    QTest::newRow("parts attached to a tube do not change its values")
        << design(tube(StdTube,
                       tube("<OD>25.4</OD>\n<ID>24.1</ID>\n<Len>70.</Len>\n") + fins(StdFins)))
        << QStringList{"od=41.6", "id=40.5", "len=300."} << false;
    QTest::newRow("fins on the second tube")
        << design(tube(StdTube) +
                  tube("<OD>29.87</OD>\n<ID>29.08</ID>\n<Len>330.2</Len>\n", fins(StdFins)))
        << QStringList{"od=29.87", "1.od=29.87"} << false;
    QTest::newRow("fins off every tube take the first airframe tube")
        << design("<NoseCone>\n<AttachedParts>\n" + tube("<OD>13.8</OD>\n") +
                  "</AttachedParts>\n</NoseCone>\n" + tube(StdTube) +
                  "<Transition>\n<AttachedParts>\n" + fins(StdFins) +
                  "</AttachedParts>\n</Transition>\n")
        << QStringList{"od=41.6", "1.od=41.6", "2.od=41.6"} << false;
    QTest::newRow("a tube in the nose cone is not the airframe")
        << design("<NoseCone>\n<AttachedParts>\n" + tube("<OD>13.8</OD>\n") +
                  "</AttachedParts>\n</NoseCone>\n" + tube(StdTube))
        << QStringList{"od=41.6", "len=300."} << false;
    QTest::newRow("no body tube at all")
        << design("<Transition>\n<AttachedParts>\n" + fins(StdFins) +
                  "</AttachedParts>\n</Transition>\n")
        << QStringList{"od=0", "id=0", "len=0", "1.count=4"} << false;

    // The rocket's own name.
    QTest::newRow("rocket name not taken from a part")
        << design(tube("<Name>Airframe</Name>\n" + StdTube), "<StageCount>1</StageCount>\n")
        << QStringList{"name="} << false;
    QTest::newRow("rocket name after scalar header fields")
        << design(tube(StdTube), "<Comments>x</Comments>\n<Name>Late</Name>\n")
        << QStringList{"name=Late"} << false;
    QTest::newRow("entities and CDATA in names")
        << design(tube(StdTube, fins("<Name><![CDATA[Fins \"A\" & B]]></Name>\n")),
                  "<Name>Tom &amp; Jerry &#x263A;</Name>\n")
        << QStringList{"name=Tom & Jerry \u263A", "1.fname=Fins \"A\" & B"} << false;
    QTest::newRow("UTF-8 name") << design(tube(StdTube), "<Name>Fus\xC3\xA9\x65</Name>\n")
                                << QStringList{"name=Fus\u00E9e"} << false;
    QTest::newRow("Windows-1252 name") << design(tube(StdTube), "<Name>Fus\xE9\x65 \x80</Name>\n")
                                       << QStringList{"name=Fus\u00E9e \u20AC"} << false;

    // Custom fin sets exported with zero sizes take them from their outline.
    QTest::newRow("point list gives root and span")
        << design(tube(StdTube, fins("<RootChord>0.0</RootChord>\n<SemiSpan>0.0</SemiSpan>\n"
                                     "<PointList>406.0,0.0|300.0,128.0|10,0.0|0.0,0.0|"
                                     "</PointList>\n",
                                     "CustomFinSet")))
        << QStringList{"1.root=406", "1.span=128"} << false;
    QTest::newRow("written sizes are kept")
        << design(tube(StdTube, fins("<RootChord>60.</RootChord>\n<SemiSpan>35.</SemiSpan>\n"
                                     "<PointList>60,0|50,30|25,99|0,0|</PointList>\n",
                                     "CustomFinSet")))
        << QStringList{"1.root=60.", "1.span=35."} << false;
    QTest::newRow("a plain FinSet keeps its zeros")
        << design(
               tube(StdTube, fins("<RootChord>0</RootChord>\n<PointList>60,0|0,0|</PointList>\n")))
        << QStringList{"1.root=0"} << false;
    QTest::newRow("unclosed elements at the end")
        << QByteArray("<RockSimDocument>\n<RocketDesign>\n<Name>Cut</Name>\n<Stage3Parts>\n") +
               "<BodyTube>\n<OD>41.6</OD>\n<AttachedParts>\n<FinSet>\n<FinCount>3</FinCount>\n"
        << QStringList{"name=Cut", "od=41.6", "1.count=3", "1.od=41.6"} << false;
}

void TestReader::reads() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QFETCH(bool, warns);
    const LoadResult r = ReadRockSimFile(write(content));
    QVERIFY2(r.ok, qPrintable(r.message));
    for (const QString& e : expected) {
        const qsizetype eq = e.indexOf(u'=');
        QCOMPARE(DesignField(r.design, e.left(eq)), e.mid(eq + 1));
    }
    QCOMPARE(!r.warning.isEmpty(), warns);
    if (warns)
        QVERIFY2(r.warning.contains(QLatin1String("This design has 1001 fin sets: only the first "
                                                  "1000 of them can be selected.")),
                 qPrintable(r.warning));
}

void TestReader::refuses_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message"); // a part of the message that must appear
    QTest::newRow("empty") << QByteArray() << "it is empty";
    QTest::newRow("declaration without the document element")
        << QByteArray("<?xml version=\"1.0\"?>\n<Other>\n")
        << QString::fromUtf8(AbnormalFormatMessage);
    QTest::newRow("other XML") << QByteArray("<html>\n<RockSimDocument>\n")
                               << QString::fromUtf8(AbnormalFormatMessage);
    // A binary file, such as a RockSim file from before the XML format, gets the format message.
    QTest::newRow("binary") << QByteArray("\x7f\x45LF\x02\x01\x01\x00\x00", 9)
                            << QString::fromUtf8(AbnormalFormatMessage);
    QTest::newRow("a first line past any design")
        << QByteArray(17 << 20, 'x') << QString::fromUtf8(AbnormalFormatMessage);
    QTest::newRow("NUL on the document's line")
        << QByteArray("<RockSimDocument>\0\n", 19) << "it is not a text file";
    QTest::newRow("NUL inside a tag line")
        << QByteArray("<RockSimDocument>\n<Name>A\0B</Name>\n", 35) << "it is not a text file";
    QTest::newRow("value over two lines")
        << design(tube(StdTube, fins("<RootChord>75.5\n</RootChord>\n")))
        << "the value of <RootChord> on line 12 has no closing tag on that line";
    // Line numbers count every kind of line end, a lone CR (old Mac files) too.
    for (const auto& [end, name] : {std::pair{"\r\n", "CR LF"}, std::pair{"\r", "lone CR"}}) {
        QByteArray split = design(tube(StdTube, fins("<RootChord>75.5\n</RootChord>\n")));
        QTest::addRow("value over two lines, %s line ends", name)
            << split.replace("\n", end)
            << "the value of <RootChord> on line 12 has no closing tag on that line";
    }
    QTest::newRow("tube value without closing tag")
        << design(tube("<OD>41.6\n")) << "the value of <OD> on line 7";
}

void TestReader::refuses() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const LoadResult r = ReadRockSimFile(write(content));
    QVERIFY(!r.ok);
    QVERIFY2(r.message.contains(message), qPrintable(r.message));
    QCOMPARE(r.design, Design());
}

void TestReader::unreadablePaths() {
    const QString missing = dir.filePath(QStringLiteral("missing.rkt"));
    LoadResult r = ReadRockSimFile(missing);
    QVERIFY(!r.ok);
    QVERIFY(r.message.contains(QLatin1String("missing.rkt")));
    QVERIFY(r.message.contains(QLatin1String("does not exist")));

    r = ReadRockSimFile(dir.path());
    QVERIFY(r.message.contains(QLatin1String("it is a folder")));

    const QString dangling = dir.filePath(QStringLiteral("dangling.rkt"));
    QVERIFY(QFile::link(missing, dangling));
    r = ReadRockSimFile(dangling);
    QVERIFY(r.message.contains(QLatin1String("does not exist")));

    const QString locked = write(design(tube(StdTube)));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    r = ReadRockSimFile(locked);
    if (QFileInfo(locked).isReadable())
        QSKIP("running with rights that read any file");
    QVERIFY(r.message.contains(QLatin1String("permission denied")));
}

void TestReader::extractTagValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");
    QTest::newRow("indented") << "  <OD>41.6</OD>"
                              << "<OD>" << true << "41.6";
    QTest::newRow("empty value") << "<Name></Name>"
                                 << "<Name>" << true << "";
    QTest::newRow("first closing tag") << "<Name>a</Name>b</Name>"
                                       << "<Name>" << true << "a";
    QTest::newRow("no closing tag") << "<RootChord>75.5"
                                    << "<RootChord>" << false << "";
    QTest::newRow("reset text") << "0"
                                << "<OD>" << false << "";
}

void TestReader::extractTagValue() {
    QFETCH(QString, text);
    QFETCH(QString, tag);
    QFETCH(bool, found);
    QFETCH(QString, value);
    bool ok = !found;
    QCOMPARE(ExtractTagValue(text, tag, &ok), value);
    QCOMPARE(ok, found);
}

void TestReader::unescape_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named") << "&lt;a&gt; &quot;b&quot; &apos;c&apos;"
                           << "<a> \"b\" 'c'";
    QTest::newRow("decimal") << "&#65;&#66;"
                             << "AB";
    QTest::newRow("bad reference stays") << "&#xD800; &bogus; & alone"
                                         << "&#xD800; &bogus; & alone";
    QTest::newRow("CDATA keeps entities") << "<![CDATA[&amp;]]>"
                                          << "&amp;";
}

void TestReader::unescape() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(UnescapeXmlText(text), expected);
}

void TestReader::angles_data() {
    QTest::addColumn<QByteArray>("content");
    // Per fin set: its angle in degrees, and its tube's marks as triples (see MarkCheck.h).
    QTest::addColumn<QList<double>>("finAngles");
    QTest::addColumn<QList<QStringList>>("finMarks");
    QTest::addColumn<QStringList>("unheldMarks"); // the tube a number without a fin set shows
    using L = QList<QStringList>;
    auto lug = [](const QByteArray& fields) { return "<LaunchLug>\n" + fields + "</LaunchLug>\n"; };
    auto angle = [](const QByteArray& radians) {
        return "<RadialAngle>" + radians + "</RadialAngle>\n";
    };
    QTest::newRow("fin set angle in radians")
        << design(tube(StdTube, fins(StdFins + angle("1.5707963267948966")))) << QList<double>{90}
        << L{{}} << QStringList{};
    QTest::newRow("custom fin set angle, negative, kept as given")
        << design(tube(StdTube, fins(StdFins + angle("-7.853981633974483"), "CustomFinSet")))
        << QList<double>{-450} << L{{}} << QStringList{};
    QTest::newRow("launch lug angle and name")
        << design(tube(StdTube, fins(StdFins) + lug("<Name>Lug &amp; guide</Name>\n" +
                                                    angle("3.141592653589793"))))
        << QList<double>{0} << L{{"L", "180", "Lug & guide"}}
        << QStringList{"L", "180", "Lug & guide"};
    QTest::newRow("lugs in the file's order, the last angle given wins")
        << design(
               tube(StdTube, lug("<Name>Front</Name>" + angle("1") + angle("0.5235987755982988")) +
                                 fins(StdFins) + lug("<Name>Back</Name>\n")))
        << QList<double>{0} << L{{"L", "30", "Front", "L", "0", "Back"}}
        << QStringList{"L", "30", "Front", "L", "0", "Back"};
    const QByteArray pod =
        "<ExternalPod>\n<AttachedParts>\n" +
        tube(StdTube, fins(StdFins + angle("0.7853981633974483")) +
                          lug("<Name>Pod lug</Name>" + angle("-1.5707963267948966"))) +
        "</AttachedParts>\n</ExternalPod>\n";
    QTest::newRow("a lug in a pod's tube belongs to that tube, not the holder")
        << design(tube(StdTube, fins(StdFins) + pod + lug("<Name>Main</Name>" + angle("0"))))
        << QList<double>{0, 45} << L{{"L", "0", "Main"}, {"L", "-90", "Pod lug"}}
        << QStringList{"L", "0", "Main"};
    QTest::newRow("a fin set's lug is not the tube's; a sub-assembly's on the tube is")
        << design(tube(StdTube, fins(StdFins + "<AttachedParts>\n" + lug("<Name>F</Name>") +
                                     "</AttachedParts>\n") +
                                    "<SubAssembly>\n<AttachedParts>\n" + lug("<Name>S</Name>") +
                                    "</AttachedParts>\n</SubAssembly>\n"))
        << QList<double>{0} << L{{"L", "0", "S"}} << QStringList{"L", "0", "S"};
    QTest::newRow("a sub-assembly on a transition holds no tube's lug")
        << design(tube(StdTube, fins(StdFins)) +
                  "<Transition>\n<AttachedParts>\n<SubAssembly>\n<AttachedParts>\n" +
                  lug("<Name>T</Name>") +
                  "</AttachedParts>\n</SubAssembly>\n</AttachedParts>\n"
                  "</Transition>\n")
        << QList<double>{0} << L{{}} << QStringList{};
    QTest::newRow("a design without fin sets: the shown tube's lugs")
        << design(tube(StdTube, lug("<Name>Only</Name>" + angle("0.17453292519943295"))))
        << QList<double>{} << L{} << QStringList{"L", "10", "Only"};
    QTest::newRow("angles not numbers or too large are unknown, missing ones 0; the file loads")
        << design(tube(StdTube, fins(StdFins + angle("abc")) + fins(StdFins + angle("1e400")) +
                                    fins(StdFins) + lug("<Name>A</Name>" + angle("")) +
                                    lug(angle("1e999"))))
        << QList<double>{qQNaN(), qQNaN(), 0}
        << L{{"L", "0", "A", "L", "?", ""},
             {"L", "0", "A", "L", "?", ""},
             {"L", "0", "A", "L", "?", ""}}
        << QStringList{"L", "0", "A", "L", "?", ""};
    QByteArray manyLugs;
    QStringList hundred;
    for (int i = 0; i < 101; ++i) {
        manyLugs += lug("<Name>L" + QByteArray::number(i) + "</Name>\n");
        if (i < 100)
            hundred << "L"
                    << "0"
                    << "L" + QString::number(i);
    }
    QTest::newRow("the first hundred lugs of a tube are kept")
        << design(tube(StdTube, manyLugs + fins(StdFins))) << QList<double>{0} << L{hundred}
        << hundred;
    QTest::newRow("huge angles kept")
        << design(tube(StdTube, fins(StdFins + angle("3.141592653589793e200"))))
        << QList<double>{180e200} << L{{}} << QStringList{};
}

void TestReader::angles() {
    QFETCH(QByteArray, content);
    QFETCH(QList<double>, finAngles);
    QFETCH(QList<QStringList>, finMarks);
    QFETCH(QStringList, unheldMarks);
    const LoadResult r = ReadRockSimFile(write(content));
    QVERIFY2(r.ok, qPrintable(r.message));
    const QString mismatch = AnglesMismatch(r.design, finAngles, finMarks, unheldMarks, true);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_APPLESS_MAIN(TestReader)
#include "tst_reader.moc"
