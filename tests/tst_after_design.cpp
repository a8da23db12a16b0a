// What follows a RockSim design (simulation results, often most of the file) is only checked to
// be text: no NUL byte, no line over the line limit. Its lines still count in messages, and
// the block-wise line count agrees with the line reader's however the bytes arrive.
#include "DesignFields.h"
#include "ScratchFiles.h"
#include "import/LineReader.h"
#include "import/RockSimReader.h"
#include "import/TextScan.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

using namespace vanecraft;

namespace {

const QByteArray Head =
    "<RockSimDocument>\n<DesignInformation>\n<RocketDesign>\n<Name>Rocket</Name>\n"
    "<Stage3Parts>\n<BodyTube>\n<OD>41.6</OD>\n<ID>40.5</ID>\n<Len>300</Len>\n"
    "<AttachedParts>\n<FinSet>\n<FinCount>4</FinCount>\n<RootChord>75</RootChord>\n"
    "</FinSet>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n</RocketDesign>\n";

// One row of simulation data as RockSim writes it, twelve values.
QByteArray simulationRow(int i) {
    QByteArray row = "<SimulationEventData>";
    for (const char* tag : {"Time", "Altitude", "Velocity", "Acceleration", "Mass", "Thrust",
                            "Drag", "Mach", "CG", "CP", "Stability", "Range"})
        row += "<" + QByteArray(tag) + ">" + QByteArray::number(i * 0.0125) + "</" + tag + ">";
    return row + "</SimulationEventData>\n";
}

QByteArray rows(int count) {
    QByteArray all = "</DesignInformation>\n<SimulationResultsList>\n";
    for (int i = 0; i < count; ++i)
        all += simulationRow(i);
    return all;
}

const QByteArray LongLine = QByteArray((16 << 20) + 10, 'x') + "\n";

// The line reader's count of the lines in `bytes`.
qint64 linesByReader(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QByteArrayView line;
    while (reader.readLine(line)) {
    }
    return reader.lineNumber();
}

} // namespace

class TestAfterDesign : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void loads_data();
    void loads();
    void refuses_data();
    void refuses();
    void lineEndsInAnyBlocks_data();
    void lineEndsInAnyBlocks();

private:
    QString write(const QByteArray& bytes) { return dir.write(bytes); }
    ScratchFiles dir;
};

void TestAfterDesign::loads_data() {
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QByteArray>("ends");
    for (const char* ends : {"\n", "\r\n", "\r"}) {
        const QByteArray e = QByteArray(ends).replace("\r", "CR ").replace("\n", "LF");
        QTest::addRow("simulation rows, %s", e.constData()) << rows(20000) << QByteArray(ends);
        QTest::addRow("a later fin set is not the design's, %s", e.constData())
            << QByteArray("<FinSet>\n<Name>Late</Name>\n</FinSet>\n") << QByteArray(ends);
        QTest::addRow("unclosed value and deep nesting, %s", e.constData())
            << "<BodyTube>\n<OD>41.6\n" + QByteArray(300000 * 3, 'x').replace("xxx", "<a>") + "\n"
            << QByteArray(ends);
        QTest::addRow("a line just at the limit, %s", e.constData())
            << QByteArray(16 << 20, 'x') + "\n<Time>1</Time>" << QByteArray(ends);
    }
}

void TestAfterDesign::loads() {
    QFETCH(QByteArray, tail);
    QFETCH(QByteArray, ends);
    const LoadResult r = ReadRockSimFile(write(QByteArray(Head + tail).replace("\n", ends)));
    QVERIFY2(r.ok, qPrintable(r.message));
    QCOMPARE(r.design.FinSetsInFile, 1);
    QCOMPARE(DesignField(r.design, QStringLiteral("1.root")), QStringLiteral("75"));
    QCOMPARE(DesignField(r.design, QStringLiteral("od")), QStringLiteral("41.6"));
}

void TestAfterDesign::refuses_data() {
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QByteArray>("ends");
    QTest::addColumn<int>("longLine"); // which line of the tail is too long; 0: none
    const QByteArray nul("A\0B", 3);
    for (const char* ends : {"\n", "\r\n", "\r"}) {
        const QByteArray e = QByteArray(ends).replace("\r", "CR ").replace("\n", "LF");
        QTest::addRow("NUL on a later line, %s", e.constData())
            << rows(3) + nul + "\n" + rows(3) << QByteArray(ends) << 0;
        QTest::addRow("NUL on a last line without end, %s", e.constData())
            << rows(3) + nul << QByteArray(ends) << 0;
        QTest::addRow("NUL before a long line, %s", e.constData())
            << nul + "\n" + LongLine << QByteArray(ends) << 0;
        QTest::addRow("a long line after rows, %s", e.constData())
            << rows(3) + LongLine << QByteArray(ends) << 6;
        QTest::addRow("a long line holding a NUL, %s", e.constData())
            << "\n" + nul + LongLine << QByteArray(ends) << 2;
        QTest::addRow("a long last line without end, %s", e.constData())
            << rows(1) + LongLine.chopped(1) << QByteArray(ends) << 4;
    }
}

void TestAfterDesign::refuses() {
    QFETCH(QByteArray, tail);
    QFETCH(QByteArray, ends);
    QFETCH(int, longLine);
    const LoadResult r = ReadRockSimFile(write(QByteArray(Head + tail).replace("\n", ends)));
    QVERIFY(!r.ok);
    QCOMPARE(r.design, Design());
    const QString expected =
        longLine == 0
            ? QStringLiteral("it is not a text file")
            : QStringLiteral("line %1 is longer than 16 MB").arg(Head.count('\n') + longLine);
    QVERIFY2(r.message.contains(expected), qPrintable(r.message));
}

void TestAfterDesign::lineEndsInAnyBlocks_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("afterCr");
    QRandomGenerator rng(20261208);
    QByteArray mixed;
    const char alphabet[] = {'\r', '\n', 'a', '<', '>', ' '};
    for (int i = 0; i < 20000; ++i)
        mixed += alphabet[rng.bounded(6)];
    QTest::newRow("mixed line ends") << mixed << false;
    QTest::newRow("starting with LF after a CR") << "\n" + mixed << true;
    QTest::newRow("CR LF rows") << rows(500).replace("\n", "\r\n") << false;
    QTest::newRow("lone CR rows") << rows(500).replace("\n", "\r") << false;
    QTest::newRow("only CR") << QByteArray(1000, '\r') << false;
    QTest::newRow("no line end") << QByteArray(1000, 'x') << false;
}

// Every split into blocks gives the reader's count, CR LF pairs split across blocks too.
void TestAfterDesign::lineEndsInAnyBlocks() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, afterCr);
    // A LF right after a CR that ended the bytes before ends no line.
    const qint64 expected = linesByReader(bytes) - (afterCr ? 1 : 0);
    for (const qsizetype block : {1, 2, 15, 16, 17, 33, 4096, 1 << 20}) {
        TextScan scan(LineReader::MaxLineBytes, afterCr);
        for (qsizetype at = 0; at < bytes.size(); at += block) {
            const qsizetype n = std::min(block, bytes.size() - at);
            QCOMPARE(scan.feed(bytes.constData() + at, n), TextScan::Verdict::Going);
        }
        QCOMPARE(scan.lineEnds() +
                     (bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith('\n') ? 0 : 1),
                 expected);
    }
}

QTEST_APPLESS_MAIN(TestAfterDesign)
#include "tst_after_design.moc"
