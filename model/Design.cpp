#include "Design.h"

#include "Conversions.h"

#include <algorithm>
#include <cmath>

namespace vanecraft {

Value Value::of(const QString& text) {
    return {text, Val(text), std::nullopt};
}

Angle Angle::read(const QString& text, double degreesPerUnit, Angle missing) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return missing;
    bool ok = false;
    const double degrees = t.toDouble(&ok) * degreesPerUnit;
    if (ok && std::isfinite(degrees))
        return {degrees, std::nullopt};
    // Enough of the text to recognise it in a message.
    constexpr qsizetype Shown = 40;
    return {0, t.size() > Shown ? t.left(Shown) + QStringLiteral("…") : t};
}

int Design::finSetsOffered() const {
    return std::min<int>(int(FinSets.size()), MostFinSetsKept);
}

const FinSet& Design::finSet(int n) const {
    if (n >= 1 && n <= int(FinSets.size()))
        return FinSets[size_t(n) - 1];
    return Unheld;
}

bool AppState::selectFinSet(int n) {
    if (n < 0 || n > std::max(1, design.finSetsOffered()))
        return false;
    CurrentFinSet = static_cast<std::int16_t>(n);
    return true;
}

void AppState::adoptDesign(const Design& d) {
    design = d;
    selectFinSet(1);
}

} // namespace vanecraft
