// What both readers take from a tube's parts besides their angles: a lug's diameter, a fin set's
// cant, and how many lugs or buttons past a tube's hundred were left out.
#include "OrkFiles.h"
#include "import/DesignFile.h"

#include <QtTest>
#include <cmath>

using namespace vanecraft;
using namespace ork_files;

namespace {

// A RockSim design: one body tube holding `attached`.
QByteArray rkt(const QByteArray& attached) {
    return "<RockSimDocument>\n<DesignInformation>\n<RocketDesign>\n<Name>R</Name>\n"
           "<Stage3Parts>\n<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300.</Len>\n"
           "<AttachedParts>\n" +
           attached +
           "</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n"
           "</DesignInformation>\n</RockSimDocument>\n";
}

QByteArray rktFins(const QByteArray& more = {}) {
    return "<FinSet>\n<Name>Fins</Name>\n<FinCount>4</FinCount>\n<RootChord>75.5</RootChord>\n"
           "<SemiSpan>50.</SemiSpan>\n<Thickness>3.2</Thickness>\n" +
           more + "</FinSet>\n";
}

QByteArray rktLug(const QByteArray& fields) {
    return "<LaunchLug>\n" + fields + "</LaunchLug>\n";
}

QByteArray orkLug(const QByteArray& params) {
    return Part("launchlug", "<name>L</name>" + params);
}

} // namespace

class TestPartSizes : public QObject {
    Q_OBJECT
private slots:
    void lugSizeAndCant_data();
    void lugSizeAndCant();
};

void TestPartSizes::lugSizeAndCant_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("diameter"); // the first lug's, as shown; empty: none
    QTest::addColumn<double>("cant");      // degrees; NaN: unreadable
    QTest::addColumn<int>("leftOut");
    QTest::newRow("RockSim: a lug's OD; the cant in radians")
        << rkt(rktFins("<CantAngle>0.05</CantAngle>\n") + rktLug("<OD>6.35</OD>\n<Len>50</Len>\n"))
        << "6.35" << 0.05 * 180 / M_PI << 0;
    QTest::newRow("RockSim: neither given")
        << rkt(rktFins() + rktLug("<Name>L</Name>\n")) << "" << 0.0 << 0;
    QTest::newRow("RockSim: a cant that is no number")
        << rkt(rktFins("<CantAngle>abc</CantAngle>\n") + rktLug("")) << "" << qQNaN() << 0;
    QByteArray many;
    for (int i = 0; i < 103; ++i)
        many += rktLug("<OD>" + QByteArray::number(i + 1) + "</OD>\n");
    QTest::newRow("RockSim: lugs past the hundred are counted")
        << rkt(rktFins() + many) << "1" << 0.0 << 3;
    QTest::newRow("OpenRocket: a lug's radius; the cant in degrees")
        << Doc(Stage(Tube("0.0125", Fins("<cant>2.5</cant>") +
                                        orkLug("<radius>0.003175</radius><length>0.05</length>"))))
        << "6.35" << 2.5 << 0;
    QTest::newRow("OpenRocket: neither given, so its 10 mm lug")
        << Doc(Stage(Tube("0.0125", Fins("") + orkLug("")))) << "10" << 0.0 << 0;
    QTest::newRow("OpenRocket: a cant and a radius that are no numbers")
        << Doc(Stage(Tube("0.0125", Fins("<cant>steep</cant>") + orkLug("<radius>x</radius>"))))
        << "10" << qQNaN() << 0;
    QByteArray buttons;
    for (int i = 0; i < 102; ++i)
        buttons += Part("railbutton", "<name>B</name>");
    QTest::newRow("OpenRocket: buttons past the hundred are counted")
        << Doc(Stage(Tube("0.0125", Fins("") + buttons))) << "" << 0.0 << 2;
}

void TestPartSizes::lugSizeAndCant() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, diameter);
    QFETCH(double, cant);
    QFETCH(int, leftOut);
    const LoadResult r = Loaded(bytes);
    QVERIFY2(r.ok, qPrintable(r.message));
    const FinSet& f = r.design.FinSets.at(0);
    QVERIFY(f.HeldByTube);
    QCOMPARE(f.Tube.Marks.at(0).diameter.text, diameter);
    QCOMPARE(f.Cant.readable(), !qIsNaN(cant));
    if (!qIsNaN(cant))
        QVERIFY(std::abs(f.Cant.degrees - cant) < 1e-9);
    QCOMPARE(f.Tube.MarksLeftOut, leftOut);
}

QTEST_GUILESS_MAIN(TestPartSizes)
#include "tst_part_sizes.moc"
