#include "DisplayCheck.h"

#include "model/Conversions.h"

#include <QList>
#include <QTextStream>

#include <utility>

#include <unistd.h>

namespace vanecraft {

namespace {

struct Held {
    QtMessageHandler previous = nullptr;
    int exitCode = 1;
    QList<std::pair<QtMsgType, QString>> messages;
};

Held* held = nullptr;

void holdBack(QtMsgType type, const QMessageLogContext&, const QString& text) {
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
    held = new Held;
    held->exitCode = exitCode;
    held->previous = qInstallMessageHandler(holdBack);
}

DisplayCheck::~DisplayCheck() {
    qInstallMessageHandler(held->previous);
    const QMessageLogContext context;
    for (const auto& [type, text] : held->messages)
        qt_message_output(type, context, text);
    delete held;
    held = nullptr;
}

} // namespace vanecraft
