#include "DisplayCheck.h"

#include "model/Conversions.h"

#include <QList>
#include <QTextStream>

#include <mutex>
#include <utility>

#include <unistd.h>

namespace vanecraft {

namespace {

struct Held {
    QtMessageHandler previous = nullptr;
    int exitCode = 1;
    QList<std::pair<QtMsgType, QString>> messages;
};

// Qt may log from threads of its own while the application starts; the held messages are
// never freed, so a late message from such a thread finds them still there.
Held* held = nullptr;
std::mutex heldLock;

// Whether Qt will abort right after this message because the environment says so: the user
// then reads it as Qt gives it.
bool fatalByChoice(QtMsgType type) {
    return (type == QtWarningMsg && qEnvironmentVariableIsSet("QT_FATAL_WARNINGS")) ||
           (type == QtCriticalMsg && qEnvironmentVariableIsSet("QT_FATAL_CRITICALS"));
}

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(heldLock);
    if (fatalByChoice(type) && held->previous) {
        held->previous(type, context, text);
        return;
    }
    if (type != QtFatalMsg) {
        held->messages.append({type, text});
        return;
    }
    QTextStream(stderr) << NoDisplayMessage() << Qt::endl;
    // Qt aborts after a fatal message; leaving here is the only way to end without a crash.
    ::_exit(held->exitCode);
}

QString described(const char* name) {
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return QStringLiteral("%1 is not set").arg(QLatin1String(name));
    return QStringLiteral("%1 is \"%2\"")
        .arg(QLatin1String(name), ShownText(QString::fromLocal8Bit(value)));
}

} // namespace

QString NoDisplayMessage() {
    return QStringLiteral("Vanecraft needs a graphical display, and none answers (%1, %2, %3). "
                          "Start it from a desktop session, or check those settings. Without a "
                          "display, \"vanecraft --show DESIGN.rkt\" prints a design's values.")
        .arg(described("DISPLAY"), described("WAYLAND_DISPLAY"), described("QT_QPA_PLATFORM"));
}

DisplayCheck::DisplayCheck(int exitCode) {
    const std::lock_guard lock(heldLock);
    if (!held)
        held = new Held;
    held->exitCode = exitCode;
    held->messages.clear();
    held->previous = qInstallMessageHandler(holdBack);
}

DisplayCheck::~DisplayCheck() {
    QList<std::pair<QtMsgType, QString>> messages;
    {
        const std::lock_guard lock(heldLock);
        qInstallMessageHandler(held->previous);
        messages.swap(held->messages);
    }
    const QMessageLogContext context;
    for (const auto& [type, text] : messages)
        qt_message_output(type, context, text);
}

} // namespace vanecraft
