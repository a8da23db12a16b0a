#include "Cli.h"

#include "Platform.h"
#include "frmMain.h"
#include "import/RockSimReader.h"
#include "model/Conversions.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
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
        for (const char* n : names)
            if (std::strcmp(argv[i], n) == 0)
                return true;
    }
    return false;
}

void defineOptions(QCommandLineParser& parser, QCommandLineOption& show) {
    parser.setApplicationDescription(
        QStringLiteral("Fin alignment guide and body tube wrapper for RockSim designs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(show);
    parser.addPositionalArgument(QStringLiteral("design"),
                                 QStringLiteral("A RockSim design file (.rkt) to load."),
                                 QStringLiteral("[DESIGN.rkt]"));
}

void setIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Vanecraft"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANECRAFT_VERSION));
}

int runShow(const QString& path) {
    AppState state;
    const QString problem = ReadSettingsFile(state);
    if (!problem.isEmpty())
        printErr(problem);
    const LoadResult result = ReadRockSimFile(path);
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

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

QString ShowText(const AppState& s) {
    const Design& d = s.design;
    const QString& u = s.MeasurementUnits;
    QString out;
    auto put = [&out](const char* label, const QString& value) {
        out += QString::fromLatin1(label) + QStringLiteral(": ") + value + u'\n';
    };
    put("Rocket name", d.RocketName);
    put("Outer diameter", DisplayLength(d.BodyTubeOD, u));
    put("Inner diameter", DisplayLength(d.BodyTubeID, u));
    put("Length", DisplayLength(d.BodyTubeLen, u));
    for (int i = 1; i <= d.finSetsHeld(); ++i) {
        out += QStringLiteral("Fins Set # %1\n").arg(i);
        put("Name", d.FinSetName[i]);
        put("Number", d.FinSetCount[i]);
        put("Semi span", DisplayLength(d.FinSetSpan[i], u));
        put("Thickness", DisplayLength(d.FinSetThickness[i], u));
        put("Root", DisplayLength(d.FinSetRoot[i], u));
        put("Outer diameter", DisplayLength(d.FinSetTubeOD[i], u));
        put("Inner diameter", DisplayLength(d.FinSetTubeID[i], u));
        put("Length", DisplayLength(d.FinSetTubeLen[i], u));
    }
    return out;
}

int RunVanecraft(int argc, char** argv) {
    QCommandLineOption show(
        QStringLiteral("show"),
        QStringLiteral("Print the values of DESIGN.rkt without opening a window."));
    const bool headless =
        hasOption(argc, argv, {"--show", "-h", "--help", "--help-all", "-v", "--version"});
    if (headless) {
        QCoreApplication app(argc, argv);
        setIdentity();
        QCommandLineParser parser;
        defineOptions(parser, show);
        if (!parser.parse(app.arguments())) {
            printErr(parser.errorText());
            return ExitUsage;
        }
        if (parser.isSet(QStringLiteral("help")))
            parser.showHelp(ExitOk);
        if (parser.isSet(QStringLiteral("version")))
            parser.showVersion();
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
    QApplication app(argc, argv);
    setIdentity();
    QCommandLineParser parser;
    defineOptions(parser, show);
    if (!parser.parse(app.arguments())) {
        printErr(parser.errorText());
        return ExitUsage;
    }
    if (parser.positionalArguments().size() > 1) {
        printErr(QStringLiteral("Give at most one design file."));
        return ExitUsage;
    }
    auto window = std::make_unique<frmMain>();
    window->setAttribute(Qt::WA_QuitOnClose);
    window->show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().first();
        // Once the window is up, so a message box has it as its parent.
        QTimer::singleShot(0, window.get(), [w = window.get(), path] { w->LoadDesign(path); });
    }
    return app.exec();
}

} // namespace vanecraft
