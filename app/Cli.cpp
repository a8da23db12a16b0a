#include "Cli.h"

#include "AidPages.h"
#include "DisplayCheck.h"
#include "frmMain.h"
#include "import/DesignFile.h"
#include "model/Conversions.h"
#include "settings/Preferences.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include <cstring>
#include <memory>

namespace vanecraft {

namespace {

enum ExitCode { ExitOk = 0, ExitRefused = 1, ExitUsage = 2 };

void printErr(const QString& text) {
    QTextStream(stderr) << text << Qt::endl;
}

bool hasOption(int argc, char** argv, std::initializer_list<const char*> names) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        for (const char* n : names) {
            const size_t len = std::strlen(n);
            // Long options may also come as --name=value.
            if (std::strcmp(argv[i], n) == 0 ||
                (n[1] == '-' && std::strncmp(argv[i], n, len) == 0 && argv[i][len] == '='))
                return true;
        }
    }
    return false;
}

struct CliOptions {
    QCommandLineOption show{QStringLiteral("show"),
                            QStringLiteral("Print the values of DESIGN without opening a window.")};
    QCommandLineOption exportAid{QStringLiteral("export"),
                                 QStringLiteral("Write the page of an aid (guide or wrapper) to a "
                                                "file, without opening a window."),
                                 QStringLiteral("guide|wrapper")};
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("The file --export writes: a .pdf or a .svg."),
                              QStringLiteral("FILE")};
    QCommandLineOption finSet{QStringLiteral("fin-set"),
                              QStringLiteral("The fin set --export draws (default 1)."),
                              QStringLiteral("N"), QStringLiteral("1")};
    QCommandLineOption paper{
        QStringLiteral("paper"),
        QStringLiteral("The paper --export lays the aid out on: a4, a3, a5, letter, legal, tabloid "
                       "or WIDTHxHEIGHT in millimetres (default: the one chosen in the options, "
                       "else the system's)."),
        QStringLiteral("PAPER")};
    QCommandLineOption noScaleCheck{
        QStringLiteral("no-scale-check"),
        QStringLiteral("Leave the scale check out of the sheets --export writes.")};
    QCommandLineOption marks{
        QStringLiteral("marks"),
        QStringLiteral("What --export marks on the tube: all (the fin set, and the tube's other "
                       "fin sets, launch lugs and rail buttons at their angles) or selected (the "
                       "fin set alone). Default all."),
        QStringLiteral("all|selected"), QStringLiteral("all")};
};

void defineOptions(QCommandLineParser& parser, CliOptions& o) {
    parser.setApplicationDescription(QStringLiteral(
        "Fin alignment guide and body tube wrapper for RockSim and OpenRocket designs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({o.show, o.exportAid, o.output, o.finSet, o.paper, o.noScaleCheck, o.marks});
    parser.addPositionalArgument(
        QStringLiteral("design"),
        QStringLiteral("A RockSim (.rkt) or OpenRocket (.ork) design to load."),
        QStringLiteral("[DESIGN]"));
}

// Parses the command line; false (with the reason on standard error) on bad usage.
bool parseArguments(QCommandLineParser& parser, CliOptions& options) {
    QCoreApplication::setApplicationName(QStringLiteral("Vanecraft"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANECRAFT_VERSION));
    defineOptions(parser, options);
    if (parser.parse(QCoreApplication::arguments()))
        return true;
    printErr(parser.errorText());
    return false;
}

int runShow(const QString& path) {
    AppState state;
    const QString problem = ReadSettingsFile(state);
    if (!problem.isEmpty())
        printErr(problem);
    const LoadResult result = ReadDesignFile(path);
    if (!result.ok) {
        printErr(result.message);
        return ExitRefused;
    }
    state.adoptDesign(result.design);
    if (!result.warning.isEmpty())
        printErr(result.warning);
    QTextStream(stdout) << ShowText(state);
    return ExitOk;
}

// The paper --export asked for, or the user's; nothing (after saying why) for bad usage.
std::optional<Paper> exportPaper(const QCommandLineParser& parser, const CliOptions& o,
                                 const AppState& state) {
    if (!parser.isSet(o.paper))
        return ChosenPaper(state);
    const std::optional<Paper> paper = PaperFromKey(parser.value(o.paper));
    if (!paper)
        printErr(QStringLiteral("--paper takes a4, a3, a5, letter, legal, tabloid or WIDTHxHEIGHT "
                                "in millimetres, each side from %1 to %2 mm, not \"%3\".")
                     .arg(SmallestPaperMm)
                     .arg(LargestPaperMm)
                     .arg(parser.value(o.paper)));
    return paper;
}

int runExport(const QCommandLineParser& parser, const CliOptions& o) {
    const QString aid = parser.value(o.exportAid);
    const Tool* tool = ToolByCommandName(aid);
    if (!tool) {
        printErr(QStringLiteral("--export takes guide or wrapper, not \"%1\".").arg(aid));
        return ExitUsage;
    }
    const QString output = parser.value(o.output);
    const PageFormat format = FormatOfPath(output);
    if (output.isEmpty() || format == PageFormat::Unknown) {
        printErr(QStringLiteral("--export needs --output FILE.pdf or --output FILE.svg."));
        return ExitUsage;
    }
    if (parser.positionalArguments().size() != 1) {
        printErr(QStringLiteral("--export needs exactly one design file."));
        return ExitUsage;
    }
    const QString marks = parser.value(o.marks);
    if (marks != QLatin1String("all") && marks != QLatin1String("selected")) {
        printErr(QStringLiteral("--marks takes all or selected, not \"%1\".").arg(marks));
        return ExitUsage;
    }
    bool numeric = false;
    const int finSet = parser.value(o.finSet).toInt(&numeric);

    AppState state;
    const QString problem = ReadSettingsFile(state);
    if (!problem.isEmpty())
        printErr(problem);
    ReadPreferences(state);
    const std::optional<Paper> paper = exportPaper(parser, o, state);
    if (!paper)
        return ExitUsage;
    const LoadResult result = ReadDesignFile(parser.positionalArguments().first());
    if (!result.ok) {
        printErr(result.message);
        return ExitRefused;
    }
    state.adoptDesign(result.design);
    const int offered = std::max(1, state.design.finSetsOffered());
    if (!numeric || finSet < 1 || finSet > offered) {
        printErr(QStringLiteral("This design has no fin set %1: choose 1 to %2.")
                     .arg(parser.value(o.finSet))
                     .arg(offered));
        return ExitUsage;
    }
    state.selectFinSet(finSet);
    state.MarkParts = marks == QLatin1String("all");
    const bool scaleCheck = state.ScaleCheck && !parser.isSet(o.noScaleCheck);
    const AidPages pages = PagesForFile(*tool, state, format, *paper, scaleCheck);
    if (!pages.ok()) {
        printErr(pages.refusal);
        return ExitRefused;
    }
    QString error;
    if (!WriteLayout(pages.layout, output, &error)) {
        printErr(error);
        return ExitRefused;
    }
    for (const QString& note : pages.notes)
        printErr(note);
    if (pages.layout.tiled())
        printErr(QStringLiteral("The figure is larger than one sheet of %1: %2 sheets written (%3 "
                                "rows, %4 columns).")
                     .arg(pages.layout.paper.caption)
                     .arg(pages.layout.sheets.size())
                     .arg(pages.layout.rows)
                     .arg(pages.layout.columns));
    return ExitOk;
}

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

QString ShowText(const AppState& s) {
    const Design& d = s.design;
    const QString& u = s.MeasurementUnits;
    const TubeValues& tube = d.finSet(1).Tube; // what the window shows after a load
    QString out;
    // Names come from the file: no line feed or escape in them reaches the terminal.
    auto put = [&out](const char* label, const QString& value) {
        out += QString::fromLatin1(label) + QStringLiteral(": ") + ShownText(value) + u'\n';
    };
    put("Rocket name", d.RocketName);
    // Fins on a nose cone or a transition have no tube: its lines show nothing, in any units.
    auto putTube = [&](const TubeValues& t) {
        const bool none = !t.Carrier.isEmpty();
        put("Outer diameter", none ? QString() : DisplayLength(t.OD.text, u));
        put("Inner diameter", none ? QString() : DisplayLength(t.ID.text, u));
        put("Length", none ? QString() : DisplayLength(t.Len.text, u));
    };
    putTube(tube);
    for (int i = 1; i <= d.finSetsOffered(); ++i) {
        const FinSet& f = d.finSet(i);
        out += QStringLiteral("Fins Set # %1\n").arg(i);
        put("Name", f.Name);
        put("Number", f.Count.text);
        put("Semi span", DisplayLength(f.Span.text, u));
        put("Thickness", DisplayLength(f.Thickness.text, u));
        put("Root", DisplayLength(f.Root.text, u));
        putTube(f.Tube);
    }
    return out;
}

// An argument whose bytes do not survive decoding would name another file than the one meant:
// it is refused rather than looked up or written under a changed name.
static bool argumentsDecode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QString::fromLocal8Bit(bytes);
        if (text.toLocal8Bit() != bytes) {
            printErr(QStringLiteral("The argument \"%1\" is not valid text in this system's "
                                    "encoding, so it cannot name a file. Rename the file, or give "
                                    "its name in UTF-8.")
                         .arg(ShownText(text)));
            return false;
        }
    }
    return true;
}

int RunVanecraft(int argc, char** argv) {
    if (!argumentsDecode(argc, argv))
        return ExitUsage;
    CliOptions options;
    const bool exporting = hasOption(argc, argv, {"--export"});
    const bool headless =
        hasOption(argc, argv, {"--show", "-h", "--help", "--help-all", "-v", "--version"});
    if (exporting && !headless) {
        // Drawing a page needs the GUI library, never a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QCommandLineParser parser;
        if (!parseArguments(parser, options))
            return ExitUsage;
        return runExport(parser, options);
    }
    if (headless) {
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        if (!parseArguments(parser, options))
            return ExitUsage;
        if (parser.isSet(QStringLiteral("help")))
            parser.showHelp(ExitOk);
        if (parser.isSet(QStringLiteral("version")))
            parser.showVersion();
        if (parser.isSet(options.exportAid)) {
            printErr(QStringLiteral("--show and --export cannot be used together."));
            return ExitUsage;
        }
        if (parser.positionalArguments().size() != 1) {
            printErr(QStringLiteral("--show needs exactly one design file."));
            return ExitUsage;
        }
        return runShow(parser.positionalArguments().first());
    }

    if (!hasDisplay()) {
        printErr(QStringLiteral("Vanecraft needs a graphical display, and none was found "
                                "(DISPLAY and WAYLAND_DISPLAY are not set). Without one, "
                                "\"vanecraft --show DESIGN.rkt\" prints a design's values."));
        return ExitRefused;
    }
    auto displayCheck = std::make_unique<DisplayCheck>(ExitRefused);
    QApplication app(argc, argv);
    displayCheck.reset();
    QCommandLineParser parser;
    if (!parseArguments(parser, options))
        return ExitUsage;
    if (parser.positionalArguments().size() > 1) {
        printErr(QStringLiteral("Give at most one design file."));
        return ExitUsage;
    }
    const std::unique_ptr<frmMain> window = StartMainWindow(parser.positionalArguments());
    return app.exec();
}

std::unique_ptr<frmMain> StartMainWindow(const QStringList& designs) {
    // The desktop entry's id ties the running window to its entry and icon (Wayland needs it).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vanecraft.Vanecraft"));
    auto window = std::make_unique<frmMain>();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/icon.svg")));
    window->setAttribute(Qt::WA_QuitOnClose);
    window->show();
    if (!designs.isEmpty()) {
        const QString path = designs.first();
        // Once the window is up, so a message box has it as its parent.
        QTimer::singleShot(0, window.get(), [w = window.get(), path] { w->LoadDesign(path); });
    }
    return window;
}

} // namespace vanecraft
