// Both aids mark the other fin sets, launch lugs and rail buttons of the selected fin set's tube.
// The pages the program exports (SVG and PDF) are read back, and every mark is looked for where a
// plain reading of the design file puts it: for every fin set on a body tube in both corpora and
// the example, and in small designs made here around the angle rules.
#include "MarkPlaces.h"
#include "OrkFiles.h"
#include "OrkTubeParts.h"
#include "app/AidPages.h"
#include "import/DesignFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

using namespace vanecraft;
using namespace mark_places;

namespace {

// The paper thickness of the settings file every run reads, which the wrapper's length allows.
constexpr double PaperThicknessMm = 0.381;
// Papers tried in turn until the figure takes one sheet.
const char* const Papers[] = {"a4", "a3", "1000x1000"};
const PageFormat Formats[] = {PageFormat::Svg, PageFormat::Pdf};

tube_parts::DesignParts ReadParts(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {{}, {}, QStringLiteral("cannot open ") + path};
    const QByteArray bytes = f.readAll();
    return path.endsWith(QLatin1String(".ork")) ? tube_parts::ReadOpenRocket(bytes)
                                                : tube_parts::ReadRockSim(bytes);
}

// The program's own state for fin set n, only to know where its layout puts the figure's centre.
std::optional<AppState> StateFor(const QString& path, int n) {
    const LoadResult r = ReadDesignFile(path);
    if (!r.ok)
        return std::nullopt;
    AppState s;
    s.adoptDesign(r.design);
    s.PaperThickness = float(PaperThicknessMm);
    s.selectFinSet(n);
    return s;
}

// One aid to export in both formats and look over.
struct AidJob {
    const Tool* tool = nullptr;
    QString paper;
    Sheet sheets[2]; // per format, where the figure's centre lands
    QString file(const QString& dir, int format) const {
        return QStringLiteral("%1/%2.%3")
            .arg(dir, QLatin1String(tool->commandName),
                 format == 0 ? QLatin1String("svg") : QLatin1String("pdf"));
    }
};

QString OneSheetPaper(const Tool& tool, const AppState& state) {
    for (const char* key : Papers) {
        const AidPages pages = PagesForFile(tool, state, PageFormat::Pdf, *PaperFromKey(key), true);
        if (pages.ok() && !pages.layout.tiled())
            return QString::fromLatin1(key);
    }
    return {};
}

// The aids the program draws for the state's fin set, each on a paper it fits; why any is left.
std::vector<AidJob> JobsFor(const AppState& state, QStringList& left) {
    std::vector<AidJob> jobs;
    for (const Tool& tool : Tools()) {
        const QString name = QLatin1String(tool.commandName);
        if (!tool.build(AidValuesOf(state)).ok()) {
            left << name + QStringLiteral(" refused");
            continue;
        }
        AidJob job{&tool, OneSheetPaper(tool, state), {}};
        if (job.paper.isEmpty()) {
            left << name + QStringLiteral(" tiles on every paper");
            continue;
        }
        for (int f = 0; f < 2; ++f)
            job.sheets[f] = PagesForFile(tool, state, Formats[f], *PaperFromKey(job.paper), true)
                                .layout.sheets[0];
        jobs.push_back(job);
    }
    return jobs;
}

// Runs every export at once, as a user would from a shell; empty when each one succeeded.
QString Export(const std::vector<AidJob>& jobs, const QString& design, int n, const QString& dir,
               const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    std::vector<std::unique_ptr<QProcess>> runs;
    for (const AidJob& job : jobs)
        for (int f = 0; f < 2; ++f) {
            auto& p = runs.emplace_back(std::make_unique<QProcess>());
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(VANECRAFT_BINARY),
                     {QStringLiteral("--export"), QLatin1String(job.tool->commandName),
                      QStringLiteral("--paper"), job.paper, QStringLiteral("--fin-set"),
                      QString::number(n), QStringLiteral("--output"), job.file(dir, f), design});
        }
    QString failed;
    for (const auto& p : runs)
        if (!p->waitForFinished(60000) || p->exitCode() != 0)
            failed += p->arguments().join(u' ') + QStringLiteral(": ") +
                      QString::fromUtf8(p->readAllStandardError());
    return failed;
}

PageGeometry ReadPage(const QString& file, int format) {
    if (format == 0)
        return ReadSvgPage(file);
    std::vector<PageGeometry> pages = ReadPdfPages(file);
    if (pages.size() != 1) {
        PageGeometry none;
        none.error = QStringLiteral("%1 pages, not one").arg(pages.size());
        return none;
    }
    return pages.front();
}

// What of the expected marks the page lacks, or carries besides them.
QStringList MissesOn(const PageGeometry& g, const Sheet& sheet, const Tool& tool,
                     const tube_parts::DesignParts& parts, int n, const std::vector<Mark>& marks) {
    if (!g.error.isEmpty())
        return {g.error};
    Page page(g, sheet.offsetX, sheet.offsetY);
    const tube_parts::FinSetOnTube& set = parts.finSets[size_t(n - 1)];
    const double od = parts.tubes[size_t(set.tube)].odMm;
    if (QLatin1String(tool.commandName) != QLatin1String("guide"))
        return WrapperMisses(page, od, set.rootMm, PaperThicknessMm, marks);
    QStringList misses;
    if (!page.hasCircle(0, 0, od / 2))
        misses << QStringLiteral("no tube of %1 mm across at the figure's centre").arg(od);
    return misses + GuideMisses(page, od / 2, set.count, marks);
}

// Every page of every job, each looked over for its marks; what is wrong, by design, fin set,
// aid and format.
QStringList MissesOfAll(const std::vector<AidJob>& jobs, const QString& dir, const QString& design,
                        const tube_parts::DesignParts& parts, int n,
                        const std::vector<Mark>& marks) {
    QStringList misses;
    for (const AidJob& job : jobs)
        for (int f = 0; f < 2; ++f) {
            const QString where = QStringLiteral("%1 #%2, %3, %4: ")
                                      .arg(QFileInfo(design).fileName())
                                      .arg(n)
                                      .arg(QLatin1String(job.tool->commandName),
                                           f == 0 ? QLatin1String("SVG") : QLatin1String("PDF"));
            const PageGeometry g = ReadPage(job.file(dir, f), f);
            for (const QString& miss : MissesOn(g, job.sheets[f], *job.tool, parts, n, marks))
                misses << where + miss;
        }
    return misses;
}

} // namespace

class TestMarks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void corpus_data();
    void corpus() { check(); }
    void madeHere_data();
    void madeHere() { check(); }
    void cleanupTestCase();

private:
    void addRows(const QStringList& paths);
    void check();
    QTemporaryDir home, made;
    int marksFound = 0;
};

void TestMarks::initTestCase() {
    QVERIFY(home.isValid() && made.isValid());
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("runtime"))));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("Vanecraft"))));
    QFile settings(home.filePath(QStringLiteral("Vanecraft/Vnlk.ini")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QByteArray::number(PaperThicknessMm) + "\r\nMillimeters\r\n");
}

void TestMarks::addRows(const QStringList& paths) {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("finSet");
    for (const QString& path : paths) {
        const tube_parts::DesignParts parts = ReadParts(path);
        QVERIFY2(parts.error.isEmpty(), qPrintable(path + QStringLiteral(": ") + parts.error));
        for (int n = 1; n <= int(parts.finSets.size()); ++n)
            if (parts.finSets[size_t(n - 1)].tube >= 0) // fins on no tube have no tube to mark
                QTest::addRow("%s #%d", qPrintable(QFileInfo(path).fileName()), n) << path << n;
    }
}

void TestMarks::corpus_data() {
    QStringList paths;
    for (const char* dir : {VANECRAFT_CORPUS_DIR, VANECRAFT_ORK_CORPUS_DIR}) {
        const QDir corpus(QString::fromUtf8(dir));
        for (const QString& name :
             corpus.entryList({QStringLiteral("*.rkt"), QStringLiteral("*.ork")}, QDir::Files))
            paths << corpus.filePath(name);
    }
    if (paths.isEmpty())
        QSKIP("the corpora (../shared/rkt-corpus, ../shared/ork-corpus) are not on this machine");
    addRows(paths);
}

namespace {

// A tube carrying two fin sets, two identical rail buttons, a lug with no angle (so 180°) and a
// lug with no size, at angles below zero and past a whole turn.
QByteArray AnglesOrk() {
    using namespace ork_files;
    const QByteArray button = Part("railbutton", "<name>Button</name><instancecount>2"
                                                 "</instancecount><angleoffset method=\"relative\">"
                                                 "100</angleoffset>");
    const QByteArray parts =
        Fins("<fincount>4</fincount><angleoffset method=\"relative\">-30</angleoffset>"
             "<rootchord>0.07</rootchord><height>0.05</height><thickness>0.003</thickness>") +
        Part("trapezoidfinset", "<name>Canards</name><fincount>2</fincount><rotation>725"
                                "</rotation><rootchord>0.04</rootchord><height>0.03</height>"
                                "<thickness>0.002</thickness>") +
        button + button + Part("launchlug", "<name>Lug</name><radius>0.004</radius>") +
        Part("launchlug", "<name>Aft lug</name><radialdirection>-725</radialdirection>");
    return Zipped({{"rocket.ork", Doc(Stage(Tube("0.02", parts)), "Angles")}});
}

// RockSim's angles in radians: below zero, past a whole turn, and two identical lugs.
QByteArray RadiansRkt() {
    QByteArray lug = "<LaunchLug>\n<Name>Lug</Name>\n<OD>6.35</OD>\n<Len>50.</Len>\n"
                     "<RadialAngle>2.5</RadialAngle>\n</LaunchLug>\n";
    return "<RockSimDocument>\n<FileVersion>4</FileVersion>\n<DesignInformation>\n"
           "<RocketDesign>\n<Name>Radians</Name>\n<StageCount>1</StageCount>\n<Stage3Parts>\n"
           "<BodyTube>\n<Name>Airframe</Name>\n<OD>50.</OD>\n<ID>48.</ID>\n<Len>400.</Len>\n"
           "<AttachedParts>\n<FinSet>\n<Name>Fins</Name>\n<FinCount>3</FinCount>\n"
           "<RootChord>80.</RootChord>\n<SemiSpan>40.</SemiSpan>\n<Thickness>3.</Thickness>\n"
           "<RadialAngle>-0.4</RadialAngle>\n</FinSet>\n<CustomFinSet>\n<Name>Strakes</Name>\n"
           "<FinCount>2</FinCount>\n<RootChord>0.</RootChord>\n<SemiSpan>0.</SemiSpan>\n"
           "<Thickness>1.5</Thickness>\n<RadialAngle>7.</RadialAngle>\n"
           "<PointList>50,0|30,20|0,0|</PointList>\n</CustomFinSet>\n" +
           lug + lug +
           "<LaunchLug>\n<Name>Aft lug</Name>\n<Len>30.</Len>\n<RadialAngle>-4.</RadialAngle>\n"
           "</LaunchLug>\n</AttachedParts>\n</BodyTube>\n</Stage3Parts>\n<Stage2Parts>\n"
           "</Stage2Parts>\n<Stage1Parts>\n</Stage1Parts>\n</RocketDesign>\n"
           "</DesignInformation>\n</RockSimDocument>\n";
}

} // namespace

void TestMarks::madeHere_data() {
    const std::pair<const char*, QByteArray> designs[] = {{"angles.ork", AnglesOrk()},
                                                          {"radians.rkt", RadiansRkt()}};
    QStringList paths{QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt")};
    for (const auto& [name, bytes] : designs) {
        QFile f(made.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        paths << f.fileName();
    }
    addRows(paths);
}

void TestMarks::check() {
    QFETCH(QString, path);
    QFETCH(int, finSet);
    const tube_parts::DesignParts parts = ReadParts(path);
    const std::vector<Mark> marks = ExpectedMarks(parts, finSet);
    const std::optional<AppState> state = StateFor(path, finSet);
    QVERIFY(state);
    QStringList left;
    const std::vector<AidJob> jobs = JobsFor(*state, left);
    if (jobs.empty())
        QSKIP(qPrintable(left.join(QStringLiteral("; "))));
    QTemporaryDir out;
    const QString failed = Export(jobs, path, finSet, out.path(), home.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    const QStringList misses = MissesOfAll(jobs, out.path(), path, parts, finSet, marks);
    QVERIFY2(misses.isEmpty(), qPrintable(misses.join(u'\n')));
    marksFound += int(marks.size() * jobs.size() * 2);
    if (!left.isEmpty())
        qInfo("%s", qPrintable(left.join(QStringLiteral("; "))));
}

void TestMarks::cleanupTestCase() {
    qInfo("%d marks found where the design file puts them", marksFound);
}

QTEST_GUILESS_MAIN(TestMarks)
#include "tst_marks.moc"
