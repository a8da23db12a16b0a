#pragma once

#include "model/Design.h"

#include <QString>
#include <optional>
#include <vector>

namespace vanecraft::ork {

// The parts of an OpenRocket design that fin sets and tube radii depend on.
enum class Kind { Rocket, Stage, Set, BodyTube, Transition, NoseCone, Other };

// Defaults are those of OpenRocket's component constructors, for elements a file leaves out.
struct Component {
    Kind kind = Kind::Other;
    int parent = -1;
    std::vector<int> bodyChildren; // body tubes, transitions and nose cones, in order
    int place = -1;                // index among the parent's body children
    // Body tube: an automatic radius unless a number is given; "auto X" keeps X as the radius.
    bool autoRadius = true, radiusGiven = false, filled = false;
    double radius = 0.025, thickness = 0.002, length = 0.2;
    int tubeIndex = -1; // which body tube of the design, in document order
    // Transition and nose cone ends; a nose cone's base (its aft end) is fixed at 0.025.
    bool foreAuto = true, aftAuto = true, flipped = false;
    double fore = 0.025, aft = 0.025;
    std::vector<TubeMark> marks; // a body tube's own launch lugs and rail buttons
    int marksLeftOut = 0;        // those past MostMarksPerTube
};

// A fin set as read, lengths in metres.
struct FinRecord {
    QString name;
    QString count = QStringLiteral("3");
    double thickness = 0.003, root = 0.05, span = 0.03;
    Angle angle, cant;
    int carrier = -1; // the nearest body component holding it
};

class Tree {
public:
    Tree();
    // Adds a component under `parent` (-1 for the rocket's own children); returns its index.
    int add(Kind kind, int parent);
    Component& at(int i) { return parts_[size_t(i)]; }
    const Component& at(int i) const { return parts_[size_t(i)]; }
    int size() const { return int(parts_.size()); }
    static bool isBody(Kind k) {
        return k == Kind::BodyTube || k == Kind::Transition || k == Kind::NoseCone;
    }

    // Adds a launch lug or rail button with angle 0 to a body tube; returns its index among the
    // tube's marks, or -1 past the number kept.
    int addMark(int tube, TubeMark::Kind kind);
    // The outer radius a body tube shows, in metres.
    double outerRadius(int tube) const;
    // The values of the tube (or other carrier) of a fin set.
    TubeValues tubeValues(int carrier) const;
    // The first body tube directly in the first stage, or -1.
    int firstStageTube() const;

private:
    int previous(int c) const;
    int next(int c) const;
    int stageEnd(int stage, bool last) const;
    std::optional<double> ownOffer(int c, bool towardsBack) const;
    std::optional<double> offer(int c, bool towardsBack) const;

    std::vector<Component> parts_; // 0 is the rocket
    int tubes_ = 0;
    // What each component offers the one behind it / in front of it, once worked out.
    mutable std::vector<std::optional<std::optional<double>>> memo_[2];
};

// Launch lugs and rail buttons kept per body tube: a design has a few. Every fin set on the
// tube carries a copy of them.

// A length of the file (metres) as the model holds it: millimetres, shortest decimal text.
Value LengthValue(double metres);

// A number of the file, read as Java reads a double after trimming; none when it is not a
// finite number.
std::optional<double> Number(const QString& text);

// An end radius: a number is fixed; "auto" and "auto X" are automatic, X kept as the radius.
// False when the text is neither, so the component keeps what it had.
bool ReadRadius(const QString& text, bool* automatic, double* value, bool* valueGiven);

} // namespace vanecraft::ork
