// Hostile surroundings rather than hostile designs: the settings file, the placement store and the
// export target made into special files or filled with absurd values, and environments that name
// no display or a relative configuration folder. Each case says what the window, --show and
// --export must come to, and after every run nothing is lost: each of those files is as it was,
// unless the run was meant to write it.
#include "FakePlatform.h"
#include "app/frmMain.h"
#include "settings/AppPaths.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace vanecraft;

namespace {

const QByteArray GoodSettings = "0.2\r\nMillimeters\r\n";
const QByteArray GoodStore = "[Settings]\nMainLeft=1500\nMainTop=1500\n";
const QByteArray PreviousExport = "%PDF-1.4 an earlier export\n";

// Where one case's files live.
struct World {
    QString config, dir, settings, store, target;
};

// What a run must come to: its exit code and a part of what it says; "" says nothing.
struct Expect {
    int code = 0;
    QString says;
};

struct Surrounding {
    QByteArray name;
    std::function<void(const World&)> make = {};
    QStringList env = {};          // NAME=value for the program runs; NAME= leaves it unset
    QString targetWord = {};       // how the shell names the export target; default its path
    std::optional<QString> window; // its message at start ("": none); nullopt: not opened here
    Expect show, exportWrapper;
    std::optional<Expect> windowProcess = {}; // the window started as a program, where it ends
};

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void fifo(const QString& path) {
    QFile::remove(path);
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make a FIFO");
}

void link(const QString& to, const QString& path) {
    QFile::remove(path);
    if (!QFile::link(to, path))
        qFatal("cannot make a link");
}

std::vector<Surrounding> Surroundings() {
    const QString settingsUnread = QStringLiteral("Error:75");
    const QString notRegular = QStringLiteral("not a regular file");
    const QString storeUnusable = QStringLiteral("cannot be kept in");
    const QString inches = QStringLiteral("Outer diameter: 1.637790336\n");
    std::vector<Surrounding> c;
    // Writing through special files.
    c.push_back({"export target: a FIFO",
                 [](const World& w) { fifo(w.target); },
                 {},
                 {},
                 std::nullopt,
                 {0, {}},
                 {1, notRegular}});
    c.push_back({"export target: a link to a device",
                 [](const World& w) { link(QStringLiteral("/dev/null"), w.target); },
                 {},
                 {},
                 std::nullopt,
                 {0, {}},
                 {1, notRegular}});
    c.push_back({"export target: a folder",
                 [](const World& w) {
                     QFile::remove(w.target);
                     QDir().mkpath(w.target);
                 },
                 {},
                 {},
                 std::nullopt,
                 {0, {}},
                 {1, notRegular}});
    c.push_back({"export target: a name not valid in the locale",
                 {},
                 {},
                 QStringLiteral("\"$(printf 'p\\377.pdf')\""),
                 std::nullopt,
                 {0, {}},
                 {2, QStringLiteral("not valid text")}});
    // Reading special files.
    c.push_back({"settings file: a FIFO",
                 [](const World& w) { fifo(w.settings); },
                 {},
                 {},
                 settingsUnread,
                 {0, settingsUnread},
                 {0, settingsUnread}});
    c.push_back({"settings file: a link to a device",
                 [](const World& w) { link(QStringLiteral("/dev/zero"), w.settings); },
                 {},
                 {},
                 settingsUnread,
                 {0, settingsUnread},
                 {0, settingsUnread}});
    c.push_back({"settings file: a first line of 20 MB",
                 [](const World& w) { write(w.settings, QByteArray(20 << 20, '7') + "\r\n"); },
                 {},
                 {},
                 QStringLiteral("Error:13"),
                 {0, QStringLiteral("Error:13")},
                 {0, QStringLiteral("Error:13")}});
    c.push_back({"placement store: a FIFO",
                 [](const World& w) { fifo(w.store); },
                 {},
                 {},
                 storeUnusable,
                 {0, {}},
                 {0, {}}});
    c.push_back({"placement store: 2 MB",
                 [](const World& w) { write(w.store, GoodStore + QByteArray(2 << 20, '#')); },
                 {},
                 {},
                 storeUnusable,
                 {0, {}},
                 {0, {}}});
    // Absurd values.
    c.push_back({"placement store: a width of 1e10",
                 [](const World& w) { write(w.store, GoodStore + "MainWidth=1e10\n"); },
                 {},
                 {},
                 QString(),
                 {0, {}},
                 {0, {}}});
    for (const char* t : {"-1", "1e40", "3.5"}) {
        const QString told = QStringLiteral("is %1 mm, outside 0 to 3 mm").arg(QLatin1String(t));
        c.push_back({QByteArray("settings file: a paper thickness of ") + t,
                     [t](const World& w) { write(w.settings, t + QByteArray("\r\nInches\r\n")); },
                     {},
                     {},
                     told,
                     {0, told},
                     {0, told}});
    }
    c.push_back({"settings file: units \"inches \"",
                 [](const World& w) { write(w.settings, "0.2\r\ninches \r\n"); },
                 {},
                 {},
                 QString(),
                 {0, inches},
                 {0, {}}});
    c.push_back({"settings file: units \"furlongs\"",
                 [](const World& w) { write(w.settings, "0.2\r\nfurlongs\r\n"); },
                 {},
                 {},
                 QStringLiteral("The units \"furlongs\""),
                 {0, QStringLiteral("are not known")},
                 {0, QStringLiteral("are not known")}});
    // Environments.
    c.push_back({"a relative XDG_CONFIG_HOME",
                 {},
                 {QStringLiteral("XDG_CONFIG_HOME=relative")},
                 {},
                 std::nullopt,
                 {0, {}},
                 {0, {}}});
    c.push_back({"a display that does not answer",
                 {},
                 {QStringLiteral("DISPLAY=:987"), QStringLiteral("QT_QPA_PLATFORM=")},
                 {},
                 std::nullopt,
                 {0, {}},
                 {0, {}},
                 Expect{1, QStringLiteral("none answers")}});
    c.push_back({"an unknown platform",
                 {},
                 {QStringLiteral("DISPLAY="), QStringLiteral("QT_QPA_PLATFORM=bogus")},
                 {},
                 std::nullopt,
                 {0, {}},
                 {0, {}},
                 Expect{1, QStringLiteral("none answers")}});
    return c;
}

// A file's kind and, for a regular file, its bytes: enough to tell that nothing touched it.
QString fingerprint(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (!info.exists())
        return QStringLiteral("nothing");
    if (!info.isFile())
        return info.isDir() ? QStringLiteral("folder") : QStringLiteral("special");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    return QString::fromLatin1(
        QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
}

struct Result {
    int code = -1;
    QString out, err;
};

// The program as a user runs it, through the shell so that a target may be any bytes.
Result runProgram(const QString& script, const World& w, const QStringList& env) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), w.config);
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), w.config + QStringLiteral("/runtime"));
    e.insert(QStringLiteral("HOME"), w.config + QStringLiteral("/home"));
    e.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    e.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& v : env) {
        if (v.endsWith(u'=')) // NAME= : not set at all
            e.remove(v.chopped(1));
        else
            e.insert(v.section(u'=', 0, 0), v.section(u'=', 1));
    }
    p.setProcessEnvironment(e);
    p.setWorkingDirectory(w.config + QStringLiteral("/started"));
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + script,
             QStringLiteral(VANECRAFT_BINARY),
             QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt"), w.target});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestSurroundings : public QObject {
    Q_OBJECT
private slots:
    void surrounding_data();
    void surrounding();
    void cleanup() { SetConfigDirOverride(QString()); }
};

void TestSurroundings::surrounding_data() {
    QTest::addColumn<int>("index");
    const auto cases = Surroundings();
    for (int i = 0; i < int(cases.size()); ++i)
        QTest::newRow(cases[i].name.constData()) << i;
}

void TestSurroundings::surrounding() {
    QFETCH(int, index);
    const Surrounding s = Surroundings()[index];
    QTemporaryDir scratch;
    const QString config = scratch.filePath(QStringLiteral("config"));
    const World w{config, config + QStringLiteral("/Vanecraft"),
                  config + QStringLiteral("/Vanecraft/Vnlk.ini"),
                  config + QStringLiteral("/Vanecraft/Vanecraft.conf"),
                  scratch.filePath(QStringLiteral("page.pdf"))};
    for (const char* sub : {"/Vanecraft", "/runtime", "/home", "/started"})
        QVERIFY(QDir().mkpath(config + QLatin1String(sub)));
    QFile::setPermissions(config + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    write(w.settings, GoodSettings);
    write(w.store, GoodStore);
    write(w.target, PreviousExport);
    if (s.make)
        s.make(w);
    const QString settingsWas = fingerprint(w.settings), storeWas = fingerprint(w.store);
    QString targetWas = fingerprint(w.target);
    auto nothingLost = [&](bool targetWritten) {
        QCOMPARE(fingerprint(w.settings), settingsWas);
        QCOMPARE(fingerprint(w.store), storeWas);
        if (!targetWritten)
            QCOMPARE(fingerprint(w.target), targetWas);
        // Nothing is written wherever the program was started.
        QVERIFY(QDir(config + QStringLiteral("/started")).isEmpty());
    };

    const Result show = runProgram(QStringLiteral("--show \"$1\""), w, s.env);
    QCOMPARE(show.code, s.show.code);
    QVERIFY2((show.out + show.err).contains(s.show.says), qPrintable(show.out + show.err));
    if (s.show.says.isEmpty())
        QVERIFY2(show.err.isEmpty(), qPrintable(show.err));
    nothingLost(false);

    const QString target = s.targetWord.isEmpty() ? QStringLiteral("\"$2\"") : s.targetWord;
    const Result ex = runProgram(QStringLiteral("--export wrapper --output ") + target +
                                     QStringLiteral(" \"$1\""),
                                 w, s.env);
    QCOMPARE(ex.code, s.exportWrapper.code);
    QVERIFY2(ex.err.contains(s.exportWrapper.says), qPrintable(ex.err));
    nothingLost(ex.code == 0);
    if (ex.code == 0) { // the new page replaced the earlier one whole
        QVERIFY(QFileInfo(w.target).isFile() && fingerprint(w.target) != targetWas);
        targetWas = fingerprint(w.target);
    }
    // Nothing written under another name either.
    QCOMPARE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("config"), QStringLiteral("page.pdf")}));

    if (s.windowProcess) {
        const Result win = runProgram(QStringLiteral("\"$1\""), w, s.env);
        QCOMPARE(win.code, s.windowProcess->code);
        QVERIFY2(win.err.contains(s.windowProcess->says), qPrintable(win.err));
        nothingLost(false);
    }
    if (!s.window)
        return;
    SetConfigDirOverride(w.dir);
    FakePlatform fake;
    auto window = std::make_unique<frmMain>();
    if (s.window->isEmpty())
        QVERIFY2(fake.messages.isEmpty(), qPrintable(fake.messages.join(u'\n')));
    else
        QVERIFY2(fake.messages.size() == 1 && fake.messages[0].contains(*s.window),
                 qPrintable(fake.messages.join(u'\n')));
    QVERIFY(window->LoadDesign(QStringLiteral(VANECRAFT_EXAMPLES_DIR "/skylark.rkt")));
    // Whatever the store claimed, the window fits on the screens.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(window->width() <= screen.width() && window->height() <= screen.height());
    window->close();
    window.reset();
    // A store the window can use is written on closing; anything else is left as it was.
    QCOMPARE(fingerprint(w.settings), settingsWas);
    if (!QFileInfo(w.store).isFile() || QFileInfo(w.store).size() > (1 << 20))
        QCOMPARE(fingerprint(w.store), storeWas);
}

QTEST_MAIN(TestSurroundings)
#include "tst_surroundings.moc"
