#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace vanecraft {

// The paper thickness the wrapper can allow for, in millimetres: no paper to thick card.
constexpr double ThinnestPaper = 0.0;
constexpr double ThickestPaper = 3.0;

// Fin sets held in memory, and offered in the list; a file may name more, which are only
// counted.
constexpr int MostFinSetsKept = 1000;
// Launch lugs and rail buttons kept per tube: a design has one or two. Every fin set on the tube
// carries a copy of them.
constexpr int MostMarksPerTube = 100;
// Fins a set can have for the aids to draw it.
constexpr int MostFinsPerSet = 1000;

// A value of the design as the file wrote it, and the number it stands for (millimetres for a
// length). The text is what the window shows; the number is what the aids are drawn from.
struct Value {
    QString text;
    double number = 0;
    // The file's text, when the user has typed another value over it for this run.
    std::optional<QString> asRead;

    static Value of(const QString& text);
    bool operator==(const Value&) const = default;
};

// An angle around a tube as the file gives it, in degrees, not normalised. Angles grow
// clockwise as the tube is seen from its nose end.
struct Angle {
    double degrees = 0;
    // The file's text, when it is no number (or no finite one): the angle is then unknown.
    std::optional<QString> unreadable;

    bool readable() const { return !unreadable; }
    bool operator==(const Angle&) const = default;

    // An angle from a file's text in degrees (`perUnit` 1) or radians (180/pi). Blank text
    // leaves `missing`, the design program's own default.
    static Angle read(const QString& text, double degreesPerUnit, Angle missing);
};

// A part fixed to the outside of a tube, which a builder marks at its angle around the tube: a
// launch lug, a rail button, or a set of tube fins (which no aid draws, but the others mark).
struct TubeMark {
    enum class Kind { LaunchLug, RailButton, TubeFins };
    Kind kind = Kind::LaunchLug;
    Angle angle; // tube fins: the first's
    QString name;
    Value diameter; // a launch lug's outer diameter; empty when the file gives none
    Value count;    // tube fins: how many, evenly round the tube
    bool operator==(const TubeMark&) const = default;
};

struct TubeValues {
    Value OD, ID, Len;
    int Index = -1; // which tube of the design: fin sets on one tube share it
    // What carries the fin set when no body tube does ("a transition", "a nose cone"); the
    // values are then empty. Empty for fins on a body tube.
    QString Carrier;
    // The launch lugs and rail buttons the tube itself holds, in the file's order; none when a
    // transition or nose cone carries the fin set.
    std::vector<TubeMark> Marks;
    int MarksLeftOut = 0; // lugs and buttons past the number kept per tube
    bool operator==(const TubeValues&) const = default;
};

struct FinSet {
    QString Name;
    Value Count, Root, Span, Thickness;
    TubeValues Tube; // the tube that carries the fin set
    // Whether the element of the fin set's tube holds it. A RockSim fin set on a pod, a
    // transition or a nose cone takes another tube's values without sitting on it.
    bool HeldByTube = false;
    Angle Rotation; // the first fin's angle around its tube
    Angle Cant;     // the fins' turn about their own root's middle; 0 for straight fins
    bool operator==(const FinSet&) const = default;
};

// The values read from one design.
struct Design {
    QString RocketName;
    std::vector<FinSet> FinSets; // in the file's order, at most MostFinSetsKept
    int FinSetsInFile = 0;       // every fin-set element seen, also those not kept
    // What a fin-set number without a fin set shows: nothing before any load; after a load,
    // zeros on the design's first airframe tube.
    FinSet Unheld;

    int finSetsOffered() const;
    // Fin set n, counted from 1; Unheld when the design has none of that number.
    const FinSet& finSet(int n) const;

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
    // The paper for Export and Preview ("a4", "letter", "610x914"; empty: the system's), and
    // whether sheets carry a scale check.
    QString PaperKey;
    bool ScaleCheck = true;
    // Whether the aids mark the tube's other fin sets, launch lugs and rail buttons.
    bool MarkParts = true;

    const FinSet& currentFinSet() const { return design.finSet(CurrentFinSet); }
    // Makes fin set n current; false (and nothing changes) for a number the list never offers.
    bool selectFinSet(int n);
    // Takes a freshly read design whole and shows fin set 1.
    void adoptDesign(const Design& d);
};

} // namespace vanecraft
