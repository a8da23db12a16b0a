#include "Design.h"

namespace vanecraft {

Design Design::emptyForLoad() {
    Design d;
    const QString zero = QStringLiteral("0");
    d.BodyTubeOD = d.BodyTubeID = d.BodyTubeLen = zero;
    for (int i = 1; i < FinSetSlots; ++i) {
        d.FinSetCount[i] = d.FinSetRoot[i] = d.FinSetSpan[i] = d.FinSetThickness[i] = zero;
        d.FinSetTubeOD[i] = d.FinSetTubeID[i] = d.FinSetTubeLen[i] = zero;
    }
    return d;
}

bool AppState::selectFinSet(int n) {
    if (n < 0 || n >= FinSetSlots)
        return false;
    CurrentFinSet = static_cast<std::int16_t>(n);
    // Slot 0 has no tube of its own: before any load it shows what was there at start.
    if (n > 0) {
        design.BodyTubeOD = design.FinSetTubeOD[n];
        design.BodyTubeID = design.FinSetTubeID[n];
        design.BodyTubeLen = design.FinSetTubeLen[n];
    }
    return true;
}

void AppState::adoptDesign(const Design& d) {
    design = d;
    selectFinSet(1);
}

} // namespace vanecraft
