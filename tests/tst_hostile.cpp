// Every hostile file through the window's Load path, --show and --export: each loads soundly or
// is refused with a message, quickly, in bounded memory, and a refusal changes nothing.
#include "AngleHostileCases.h"
#include "FakePlatform.h"
#include "app/frmMain.h"
#include "settings/AppPaths.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/resource.h>
#include <thread>

using namespace vanecraft;

namespace {

// Generous for a sanitizer build on a slow machine; a hang or a quadratic blow-up is far over.
constexpr qint64 SecondsPerRun = 20;
#ifdef VANECRAFT_SANITIZED
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

struct Snapshot {
    QStringList boxes, list;
    QString listText;
    AppState state;
    bool operator==(const Snapshot& o) const {
        return boxes == o.boxes && list == o.list && listText == o.listText &&
               state.design == o.state.design && state.CurrentFinSet == o.state.CurrentFinSet;
    }
};

Snapshot snapshot(const frmMain& w) {
    Snapshot s;
    for (QLineEdit* e :
         {w.RName, w.OD, w.ID, w.BLength, w.FName, w.FinsNumber, w.Span, w.Thickness, w.Root})
        s.boxes << e->text();
    for (int i = 0; i < w.FinSetNumber->count(); ++i)
        s.list << w.FinSetNumber->itemText(i);
    s.listText = w.FinSetNumber->currentText();
    s.state = w.state();
    return s;
}

struct Run {
    bool crashed = true;
    int code = -1;
    qint64 ms = 0;
    QByteArray out, err;
};

Run runProgram(const QStringList& args, const QString& config) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), config);
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(VANECRAFT_BINARY), args);
    Run r;
    if (!p.waitForFinished(SecondsPerRun * 1000)) {
        p.kill();
        p.waitForFinished();
        r.ms = t.elapsed();
        return r;
    }
    r.ms = t.elapsed();
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void hostile_data();
    void hostile();
    void truncatedWhileRead();

private:
    QTemporaryDir work;
    QString good, config, baselineSvg;
    QByteArray baseline;
};

void TestHostile::initTestCase() {
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("config/runtime")));
    config = work.filePath(QStringLiteral("config"));
    QFile::setPermissions(config,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetConfigDirOverride(config + QStringLiteral("/Vanecraft"));
    good = QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt");
    baselineSvg = work.filePath(QStringLiteral("baseline.svg"));
    const Run r = runProgram({QStringLiteral("--export"), QStringLiteral("guide"),
                              QStringLiteral("--output"), baselineSvg, good},
                             config);
    QCOMPARE(r.code, 0);
    baseline = readAll(baselineSvg);
    QVERIFY(!baseline.isEmpty());
    QVERIFY(HostileCases().size() >= 30);
}

void TestHostile::cleanupTestCase() {
    SetConfigDirOverride(QString());
}

void TestHostile::hostile_data() {
    QTest::addColumn<int>("index");
    const auto cases = AllHostileCases();
    for (int i = 0; i < int(cases.size()); ++i)
        QTest::newRow(cases[i].name.constData()) << i;
}

void TestHostile::hostile() {
    QFETCH(int, index);
    const HostileCase hc = AllHostileCases()[index];
    QTemporaryDir dir(work.filePath(QStringLiteral("case-XXXXXX")));
    const QString path = hc.make(QDir(dir.path()));

    // Through the window, after a good design.
    FakePlatform fake;
    frmMain w;
    QVERIFY(w.LoadDesign(good));
    w.FinSetNumber->setCurrentIndex(1);
    emit w.FinSetNumber->activated(1);
    const Snapshot before = snapshot(w);
    const long rssBefore = peakRssKb();
    QElapsedTimer t;
    t.start();
    const bool loaded = w.LoadDesign(path);
    QVERIFY2(t.elapsed() < SecondsPerRun * 1000, qPrintable(QString::number(t.elapsed())));
    // Reading keeps a line and a block, not the file. (AddressSanitizer's quarantine holds freed
    // memory back, so the bound only means something without it.)
    if (hc.big && !Sanitized)
        QVERIFY2(peakRssKb() - rssBefore < 100 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 kB").arg(peakRssKb() - rssBefore)));
    const HostileOutcome& expect = hc.expect;
    const QString says = QString::fromUtf8(expect.says);
    QCOMPARE(loaded, expect.loads);
    if (loaded) {
        QCOMPARE(w.state().CurrentFinSet, 1);
        QCOMPARE(w.FinSetNumber->currentText(), QStringLiteral("1"));
        QCOMPARE(w.FinSetNumber->count(), std::max(1, w.state().design.finSetsOffered()));
    } else {
        QCOMPARE(fake.messages.size(), 1);
        QVERIFY2(fake.messages[0].contains(says), qPrintable(fake.messages[0]));
        QVERIFY(snapshot(w) == before);
    }

    // --show and --export, as separate programs.
    const Run show = runProgram({QStringLiteral("--show"), path}, config);
    QVERIFY2(!show.crashed, "--show crashed or hung");
    QCOMPARE(show.code, expect.loads ? 0 : 1);
    QVERIFY2((expect.loads ? show.out : show.err).contains(expect.says),
             qPrintable(QString::fromUtf8((expect.loads ? show.out : show.err).left(2000))));
    const bool drawn = expect.loads && expect.aidsSay.isEmpty();
    const QByteArray refusal = expect.loads ? expect.aidsSay : expect.says;
    for (const char* aid : {"guide", "wrapper"}) {
        const QString out = dir.filePath(QStringLiteral("page.svg"));
        const Run ex = runProgram({QStringLiteral("--export"), QString::fromLatin1(aid),
                                   QStringLiteral("--output"), out, path},
                                  config);
        QVERIFY2(!ex.crashed, "--export crashed or hung");
        QVERIFY2(ex.code == (drawn ? 0 : 1), qPrintable(QString::number(ex.code) + ex.err));
        QCOMPARE(QFile::exists(out), drawn);
        if (!drawn)
            QVERIFY2(ex.err.contains(refusal), ex.err.constData());
        if (drawn) {
            QVERIFY2(ex.err.contains(expect.told), ex.err.constData());
            QVERIFY(expect.labelled.isEmpty() ||
                    readAll(out).contains(">" + expect.labelled + "<"));
        }
        QFile::remove(out);
        // No partial or temporary file is left beside it.
        QVERIFY(QDir(dir.path()).entryList({QStringLiteral("page.svg*")}).isEmpty());
    }

    // The good design still exports exactly as before.
    const Run again = runProgram({QStringLiteral("--export"), QStringLiteral("guide"),
                                  QStringLiteral("--output"), baselineSvg, good},
                                 config);
    QCOMPARE(again.code, 0);
    QCOMPARE(readAll(baselineSvg), baseline);
}

void TestHostile::truncatedWhileRead() {
    using namespace hostile_detail;
    QTemporaryDir dir(work.filePath(QStringLiteral("trunc-XXXXXX")));
    const QString path = writeLarge(
        QDir(dir.path()), "shrinking.rkt",
        doc("<Name>Shrinking</Name>\n", tube("41.6", "40.5", "300", fins("4", "75", "50", "3")))
            .replace("</RockSimDocument>\n", ""),
        "<TimeData>1,2,3,4,5,6,7,8,9</TimeData>\n", 100 << 20, "</RockSimDocument>\n");
    FakePlatform fake;
    frmMain w;
    QVERIFY(w.LoadDesign(good));
    const Snapshot before = snapshot(w);
    std::thread cutter([path] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        QFile f(path);
        if (f.open(QIODevice::ReadWrite))
            f.resize(200);
    });
    const bool loaded = w.LoadDesign(path);
    cutter.join();
    if (loaded)
        QCOMPARE(w.state().CurrentFinSet, 1);
    else
        QVERIFY(snapshot(w) == before && fake.messages.size() == 1);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
