#include "OrkFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

struct Run {
    int code = -1;
    QString out, err;
};

// Runs the program as a user would, with its configuration kept in `home`, no display unless
// `display`, and the NAME=value settings of `extraEnv`.
Run run(const QStringList& args, const QString& home, bool display = false,
        const QStringList& extraEnv = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    // A session always has a runtime folder; without one Qt warns on standard error.
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!display)
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString& e : extraEnv)
        env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANECRAFT_BINARY), args);
    if (!p.waitForFinished(60000))
        qFatal("vanecraft did not finish");
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(home.isValid()); }
    void showExample();
    void showInInches();
    void openRocketDesign();
    void showEscapesControls();
    void relativeConfigHomeIgnored();
    void undecodableArguments_data();
    void undecodableArguments();
    void exportLeavesSpecialFilesAlone_data();
    void exportLeavesSpecialFilesAlone();
    void exitCodes_data();
    void exitCodes();
    void withoutDisplay_data();
    void withoutDisplay();
    void exportPage_data();
    void exportPage();
    void exportRefusedGuideWritesNothing();
    void exportMarks_data();
    void exportMarks();
    void interruptedWritesLoseNothing();

private:
    QString example() const { return QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt"); }
    QTemporaryDir home;
};

void TestCli::showExample() {
    const Run r = run({QStringLiteral("--show"), example()}, home.path());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QStringLiteral("Rocket name: Skylark & Sons\n"
                                   "Outer diameter: 41.6\nInner diameter: 40.5\nLength: 457.2\n"
                                   "Fins Set # 1\nName: Main fins\nNumber: 4\nSemi span: 50.\n"
                                   "Thickness: 3.2\nRoot: 75.5\n"
                                   "Outer diameter: 41.6\nInner diameter: 40.5\nLength: 457.2\n"
                                   "Fins Set # 2\nName: Canard \"strakes\"\nNumber: 3\n"
                                   "Semi span: 35.\nThickness: 1.6\nRoot: 60.\n"
                                   "Outer diameter: 41.6\nInner diameter: 40.5\nLength: 457.2\n"));
    // The first run wrote the settings file with its defaults.
    QFile settings(home.filePath(QStringLiteral("Vanecraft/Vnlk.ini")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), QByteArray("0.381\r\nMillimeters\r\n"));
}

void TestCli::showInInches() {
    QDir().mkpath(home.filePath(QStringLiteral("Vanecraft")));
    QFile settings(home.filePath(QStringLiteral("Vanecraft/Vnlk.ini")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("0.381\r\nInches\r\n");
    settings.close();
    const Run r = run({QStringLiteral("--show"), example()}, home.path());
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(u'\n');
    QCOMPARE(lines[1], QStringLiteral("Outer diameter: 1.637790336"));
    QCOMPARE(lines[5], QStringLiteral("Name: Main fins"));
    QCOMPARE(lines[6], QStringLiteral("Number: 4"));
}

void TestCli::openRocketDesign() {
    QTemporaryDir own; // millimetres, whatever another test chose
    const QString path = own.filePath(QStringLiteral("two.ork"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ork_files::Zipped({{"rocket.ork", ork_files::CanardsAndFins()}}));
    f.close();
    // The same lines as for a RockSim design; canards on the nose cone have no tube.
    const Run r = run({QStringLiteral("--show"), path}, own.path());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("Rocket name: Two sets\n"
                                   "Outer diameter: \nInner diameter: \nLength: \n"
                                   "Fins Set # 1\nName: Canards\nNumber: 3\nSemi span: 15\n"
                                   "Thickness: 2\nRoot: 30\n"
                                   "Outer diameter: \nInner diameter: \nLength: \n"
                                   "Fins Set # 2\nName: Fins\nNumber: 4\nSemi span: 50\n"
                                   "Thickness: 3.2\nRoot: 75.5\n"
                                   "Outer diameter: 41.6\nInner diameter: 40.6\nLength: 300\n"));
    const QString out = own.filePath(QStringLiteral("two.pdf"));
    for (const char* set : {"1", "2"}) {
        QFile::remove(out);
        const Run ex =
            run({QStringLiteral("--export"), QStringLiteral("wrapper"), QStringLiteral("--fin-set"),
                 QLatin1String(set), QStringLiteral("--output"), out, path},
                own.path());
        const bool canards = QLatin1String(set) == QLatin1String("1");
        QCOMPARE(ex.code, canards ? 1 : 0);
        QCOMPARE(QFile::exists(out), !canards);
        QCOMPARE(ex.err.contains(QLatin1String("sit on a nose cone")), canards);
    }
}

void TestCli::showEscapesControls() {
    // A name with a line feed and terminal escapes, as character references.
    QFile design(home.filePath(QStringLiteral("forged.rkt")));
    QVERIFY(design.open(QIODevice::WriteOnly));
    design.write("<RockSimDocument>\n<RocketDesign>\n"
                 "<Name>R&#10;Outer diameter: 999&#27;[2J</Name>\n</RocketDesign>\n"
                 "</RockSimDocument>\n");
    design.close();
    const Run r = run({QStringLiteral("--show"), design.fileName()}, home.path());
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(u'\n');
    QCOMPARE(lines.size(), 5); // four lines and the end
    QCOMPARE(lines[0], QStringLiteral("Rocket name: R\\x0AOuter diameter: 999\\x1B[2J"));
    QVERIFY(!r.out.contains(QChar(0x1B)));
}

void TestCli::relativeConfigHomeIgnored() {
    // A relative XDG_CONFIG_HOME counts as unset: the settings go to ~/.config, not to a folder
    // below wherever the program was started.
    QTemporaryDir scratch;
    const QString started = scratch.filePath(QStringLiteral("started"));
    QDir().mkpath(started);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), scratch.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("relative"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(started);
    p.start(QStringLiteral(VANECRAFT_BINARY), {QStringLiteral("--show"), example()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(started + QStringLiteral("/relative")));
    QVERIFY(QFileInfo::exists(scratch.filePath(QStringLiteral("home/.config/Vanecraft/Vnlk.ini"))));
}

void TestCli::exportLeavesSpecialFilesAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link to a device") << "device link";
    QTest::newRow("a folder") << "folder";
}

void TestCli::exportLeavesSpecialFilesAlone() {
    QFETCH(QString, kind);
    const QString target = home.filePath(QStringLiteral("special.pdf"));
    QFile::remove(target);
    QDir(target).removeRecursively();
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    else if (kind == QLatin1String("device link"))
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), target));
    else
        QVERIFY(QDir().mkpath(target));
    const Run r = run({QStringLiteral("--export"), QStringLiteral("guide"),
                       QStringLiteral("--output"), target, example()},
                      home.path());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QLatin1String("not a regular file")), qPrintable(r.err));
    // Still what it was.
    const QFileInfo after(target);
    QCOMPARE(after.isSymLink(), kind == QLatin1String("device link"));
    QCOMPARE(after.isDir(), kind == QLatin1String("folder"));
    QVERIFY(!after.isFile());
}

void TestCli::undecodableArguments_data() {
    QTest::addColumn<QString>("args"); // for the shell, with a byte that is not UTF-8
    QTest::newRow("a design") << "--show \"$(printf 'x\\377.rkt')\"";
    QTest::newRow("an output") << "--export guide --output \"$(printf 'p\\377.pdf')\" \"$1\"";
}

void TestCli::undecodableArguments() {
    QFETCH(QString, args);
    QTemporaryDir scratch;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(scratch.path());
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + args,
                                        QStringLiteral(VANECRAFT_BINARY), example()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QLatin1String("not valid text")));
    // Nothing was written under a changed name.
    QVERIFY(QDir(scratch.path()).entryList(QDir::Files).isEmpty());
}

void TestCli::exitCodes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::newRow("missing file")
        << QStringList{"--show", "/nonexistent/x.rkt"} << 1
        << "The file \"/nonexistent/x.rkt\" cannot be read: it does not exist.";
    QTest::newRow("not a RockSim file")
        << QStringList{"--show", QStringLiteral(VANECRAFT_EXAMPLES_DIR "/../CMakeLists.txt")} << 1
        << "Abnormal file format. Maybe you're using an old RockSim file.";
    QTest::newRow("no design") << QStringList{"--show"} << 2 << "exactly one design file";
    QTest::newRow("two designs") << QStringList{"--show", "a.rkt", "b.rkt"} << 2
                                 << "exactly one design file";
    QTest::newRow("unknown option")
        << QStringList{"--show", "--frobnicate", "a.rkt"} << 2 << "frobnicate";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "";
}

void TestCli::exitCodes() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    const Run r = run(args, home.path());
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    if (args == QStringList{"--version"})
        QVERIFY(r.out.startsWith(QLatin1String("Vanecraft 1.")));
}

void TestCli::withoutDisplay_data() {
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<QString>("told");
    QTest::newRow("nothing set") << QStringList() << "none was found";
    QTest::newRow("X display without a server")
        << QStringList{"DISPLAY=:987"} << "none answers (DISPLAY is \":987\"";
    QTest::newRow("Wayland display without a compositor")
        << QStringList{"WAYLAND_DISPLAY=wayland-987"} << "WAYLAND_DISPLAY is \"wayland-987\"";
    QTest::newRow("unknown platform plugin")
        << QStringList{"QT_QPA_PLATFORM=bogus"} << "QT_QPA_PLATFORM is \"bogus\"";
    QTest::newRow("control characters in the setting")
        << QStringList{"DISPLAY=:987\n\x1b[2J"} << "DISPLAY is \":987\\x0A\\x1B[2J\"";
}

void TestCli::withoutDisplay() {
    QFETCH(QStringList, env);
    QFETCH(QString, told);
    QTemporaryDir fresh;
    const Run r = run({example()}, fresh.path(), false, env);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QLatin1String("needs a graphical display")) && r.err.contains(told),
             qPrintable(r.err));
    // One plain sentence, not Qt's advice to reinstall, and no crash.
    QVERIFY2(!r.err.contains(QLatin1String("einstall")), qPrintable(r.err));
    QCOMPARE(r.err.count(u'\n'), 1);
    // Nothing was written before the refusal.
    QVERIFY(!QFileInfo::exists(fresh.filePath(QStringLiteral("Vanecraft"))));
}

void TestCli::exportPage_data() {
    QTest::addColumn<QStringList>("args"); // {OUT} stands for the output file
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    const QString design = QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt");
    QTest::newRow("guide svg") << QStringList{"--export", "guide", "--output", "{OUT}.svg", design}
                               << 0 << "";
    QTest::newRow("wrapper pdf, fin set 2")
        << QStringList{"--export", "wrapper", "--fin-set", "2", "--output", "{OUT}.pdf", design}
        << 0 << "";
    QTest::newRow("unknown aid") << QStringList{"--export", "fins", "--output", "{OUT}.pdf", design}
                                 << 2 << "guide or wrapper";
    QTest::newRow("unknown extension")
        << QStringList{"--export", "guide", "--output", "{OUT}.png", design} << 2 << "FILE.pdf";
    QTest::newRow("no output") << QStringList{"--export", "guide", design} << 2 << "--output";
    QTest::newRow("fin set not in the design")
        << QStringList{"--export", "guide", "--fin-set", "3", "--output", "{OUT}.pdf", design} << 2
        << "no fin set 3";
    QTest::newRow("fin set not a number")
        << QStringList{"--export", "guide", "--fin-set", "x", "--output", "{OUT}.pdf", design} << 2
        << "no fin set x";
    QTest::newRow("refused design")
        << QStringList{"--export", "guide", "--output", "{OUT}.pdf", "/nonexistent.rkt"} << 1
        << "does not exist";
    QTest::newRow("on Letter") << QStringList{"--export", "guide",     "--paper", "LETTER",
                                              "--output", "{OUT}.pdf", design}
                               << 0 << "";
    QTest::newRow("on a custom paper, no scale check")
        << QStringList{"--export=wrapper", "--paper=610x914", "--no-scale-check",
                       "--output",         "{OUT}.pdf",       design}
        << 0 << "";
    QTest::newRow("tiled on A5") << QStringList{"--export", "guide",     "--paper", "a5",
                                                "--output", "{OUT}.pdf", design}
                                 << 0 << "2 sheets written";
    QTest::newRow("unknown paper")
        << QStringList{"--export", "guide", "--paper", "b4", "--output", "{OUT}.pdf", design} << 2
        << "not \"b4\"";
    QTest::newRow("paper under 50 mm")
        << QStringList{"--export", "guide", "--paper", "49x300", "--output", "{OUT}.pdf", design}
        << 2 << "--paper takes";
    QTest::newRow("unknown marks")
        << QStringList{"--export", "guide", "--marks", "lugs", "--output", "{OUT}.pdf", design} << 2
        << "--marks takes all or selected, not \"lugs\"";
    QTest::newRow("unwritable place")
        << QStringList{"--export", "guide", "--output", "/nonexistent/dir/x.pdf", design} << 1
        << "could not be written to";
}

void TestCli::exportPage() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, err);
    QString out;
    for (QString& a : args)
        if (a.startsWith(QLatin1String("{OUT}")))
            a = out = home.filePath(QString::number(qHash(QTest::currentDataTag())) + a.mid(5));
    const Run r = run(args, home.path());
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    if (!out.isEmpty())
        QCOMPARE(QFile::exists(out), code == 0);
}

void TestCli::exportMarks_data() {
    QTest::addColumn<QStringList>("marks"); // the --marks option given, if any
    QTest::addColumn<bool>("turnedOffInOptions");
    QTest::addColumn<bool>("marked");
    QTest::newRow("all by default") << QStringList{} << false << true;
    QTest::newRow("all, whatever the options say") << QStringList{} << true << true;
    QTest::newRow("all asked for") << QStringList{"--marks", "all"} << false << true;
    QTest::newRow("the fin set alone") << QStringList{"--marks=selected"} << false << false;
}

void TestCli::exportMarks() {
    QFETCH(QStringList, marks);
    QFETCH(bool, turnedOffInOptions);
    QFETCH(bool, marked);
    QTemporaryDir config;
    if (turnedOffInOptions) {
        QDir().mkpath(config.filePath(QStringLiteral("Vanecraft")));
        QFile conf(config.filePath(QStringLiteral("Vanecraft/Vanecraft.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Settings]\nMarkParts=false\n");
    }
    // A lug the file gives no usable angle is told, and the rest marked.
    QFile design(config.filePath(QStringLiteral("lugs.rkt")));
    QFile example(QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt"));
    QVERIFY(example.open(QIODevice::ReadOnly) && design.open(QIODevice::WriteOnly));
    const QByteArray lug = "<LaunchLug>\n<Name>Lost</Name>\n<RadialAngle>north</RadialAngle>\n"
                           "</LaunchLug>\n<CustomFinSet>";
    design.write(example.readAll().replace("<CustomFinSet>", lug));
    design.close();
    const QString out = config.filePath(QStringLiteral("guide.svg"));
    const Run r = run(QStringList{"--export", "guide", "--output", out} + marks +
                          QStringList{design.fileName()},
                      config.path());
    QCOMPARE(r.code, 0);
    QFile svg(out);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray page = svg.readAll();
    const QByteArray note = "The launch lug \"Lost\" is not marked: its angle \"north\" is not a "
                            "usable number.";
    QCOMPARE(page.contains(">lug<"), marked);
    QCOMPARE(page.contains("Canard"), marked);
    QCOMPARE(page.contains("nose end"), marked);
    QCOMPARE(r.err.contains(QString::fromUtf8(note)), marked);
}

void TestCli::exportRefusedGuideWritesNothing() {
    QFile bare(home.filePath(QStringLiteral("bare.rkt")));
    QVERIFY(bare.open(QIODevice::WriteOnly));
    bare.write("<RockSimDocument>\n</RockSimDocument>\n");
    bare.close();
    const QString out = home.filePath(QStringLiteral("none.pdf"));
    const Run r = run({QStringLiteral("--export"), QStringLiteral("guide"),
                       QStringLiteral("--output"), out, bare.fileName()},
                      home.path());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith(
                 QStringLiteral("Sorry ... wrong or missing value. Try to load another file\n\n"
                                "The number of fins of fin set 1 is 0")),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

namespace {
// Runs the program under a file-size limit, so its writes fail (or kill it) part-way.
Run runLimited(const QString& limit, bool ignoreSignal, const QStringList& args,
               const QString& home) {
    QStringList quoted;
    for (const QString& a : args)
        quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
    const QString script = (ignoreSignal ? QStringLiteral("trap '' XFSZ; ") : QString()) +
                           QStringLiteral("ulimit -f ") + limit + QStringLiteral("; exec '") +
                           QStringLiteral(VANECRAFT_BINARY) + QStringLiteral("' ") +
                           quoted.join(u' ');
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

void TestCli::interruptedWritesLoseNothing() {
    const QString design = QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt");
    const QString page = home.filePath(QStringLiteral("kept.svg"));
    QCOMPARE(run({QStringLiteral("--export"), QStringLiteral("guide"), QStringLiteral("--output"),
                  page, design},
                 home.path())
                 .code,
             0);
    QFile f(page);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    const QStringList args{QStringLiteral("--export"), QStringLiteral("wrapper"),
                           QStringLiteral("--output"), page, design};
    // Killed in the middle of writing: the earlier page stays whole.
    const Run killed = runLimited(QStringLiteral("1"), false, args, home.path());
    QVERIFY(killed.code != 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    f.close();
    // A write that fails is reported, and leaves neither a partial page nor a temporary file.
    for (const QString& leftover : QDir(home.path()).entryList({QStringLiteral("kept.svg.*")}))
        QFile::remove(home.filePath(leftover)); // what the killed run could not clean up
    const Run failed = runLimited(QStringLiteral("1"), true, args, home.path());
    QCOMPARE(failed.code, 1);
    QVERIFY2(failed.err.contains(QLatin1String("could not be written to")), qPrintable(failed.err));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(QDir(home.path()).entryList({QStringLiteral("kept.svg*")}), QStringList{"kept.svg"});

    // The settings file is never left half-written either.
    QTemporaryDir fresh;
    QDir().mkpath(fresh.filePath(QStringLiteral("runtime")));
    const Run show =
        runLimited(QStringLiteral("0"), true, {QStringLiteral("--show"), design}, fresh.path());
    QCOMPARE(show.code, 0);
    QVERIFY2(show.err.contains(QLatin1String("settings could not be saved")), qPrintable(show.err));
    QVERIFY(show.out.startsWith(QLatin1String("Rocket name: Skylark & Sons")));
    QCOMPARE(QDir(fresh.filePath(QStringLiteral("Vanecraft"))).entryList(QDir::Files),
             QStringList());
}

QTEST_APPLESS_MAIN(TestCli)
#include "tst_cli.moc"
