#include "Preferences.h"

#include "AppPaths.h"

#include <QSettings>

namespace vanecraft {

namespace {
const QString PaperKey = QStringLiteral("Settings/Paper");
const QString ScaleCheckKey = QStringLiteral("Settings/ScaleCheck");
const QString MarkPartsKey = QStringLiteral("Settings/MarkParts");
} // namespace

void ReadPreferences(AppState& state) {
    const QSettings store(UsableStorePath(), QSettings::IniFormat);
    state.PaperKey = store.value(PaperKey).toString();
    // Anything but a plain "false" keeps the check: it is what protects the template.
    state.ScaleCheck = store.value(ScaleCheckKey).toString() != QLatin1String("false");
    state.MarkParts = store.value(MarkPartsKey).toString() != QLatin1String("false");
}

void WritePreferences(const AppState& state) {
    QSettings store(UsableStorePath(), QSettings::IniFormat);
    if (state.PaperKey.isEmpty())
        store.remove(PaperKey);
    else
        store.setValue(PaperKey, state.PaperKey);
    store.setValue(ScaleCheckKey,
                   state.ScaleCheck ? QStringLiteral("true") : QStringLiteral("false"));
    store.setValue(MarkPartsKey,
                   state.MarkParts ? QStringLiteral("true") : QStringLiteral("false"));
}

} // namespace vanecraft
