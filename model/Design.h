#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace vanecraft {

// Five slots, 0..4: a reader fills 1..4, slot 0 is what the window shows before any load.
constexpr int FinSetSlots = 5;
constexpr int MaxFinSets = 4;
using SlotTexts = std::array<QString, FinSetSlots>;

// The values read from one RockSim design. Lengths stay the millimetre text as written.
struct Design {
    QString RocketName;
    QString BodyTubeOD;
    QString BodyTubeID;
    QString BodyTubeLen;
    SlotTexts FinSetCount;
    SlotTexts FinSetRoot;
    SlotTexts FinSetSpan;
    SlotTexts FinSetThickness;
    SlotTexts FinSetName;
    // The tube that carries each fin set; BodyTube* mirror the selected slot's tube.
    SlotTexts FinSetTubeOD;
    SlotTexts FinSetTubeID;
    SlotTexts FinSetTubeLen;
    int FinSetsInFile = 0; // every fin-set element seen, also those past the fourth

    int finSetsHeld() const { return FinSetsInFile < MaxFinSets ? FinSetsInFile : MaxFinSets; }

    // What every load starts from: names empty, every length and count "0".
    static Design emptyForLoad();

    bool operator==(const Design&) const = default;
};

// The whole shared state of a run.
struct AppState {
    Design design;
    std::int16_t CurrentFinSet = 0;
    QString PreviewTool;
    float PaperThickness = 0.0f;
    QString MeasurementUnits;
    bool SettingsSaved = false;

    // Makes slot n current and points the body-tube values at that fin set's tube.
    // Returns false (and changes nothing) for a slot outside 0..4.
    bool selectFinSet(int n);
    // Takes a freshly read design whole and shows fin set 1.
    void adoptDesign(const Design& d);
};

} // namespace vanecraft
