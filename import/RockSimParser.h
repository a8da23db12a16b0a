#pragma once

#include "TagTable.h"
#include "model/Design.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace vanecraft::rocksim {

// A launch lug or a set of tube fins as read; its angle in radians, a lug's outer diameter in mm.
struct MarkData {
    bool tubeFins = false;
    QByteArray angle, name, od, count;
};

struct Tube {
    QByteArray od = "0", id = "0", len = "0";
    int index = -1;              // the tube's place among the design's tubes
    std::vector<MarkData> marks; // the lugs and tube fins in the tube's own attached parts
    int marksLeftOut = 0;        // those past MostMarksPerTube
};

struct FinData {
    QByteArray count = "0", root = "0", span = "0", thickness = "0", name;
    QByteArray angle, cant; // radians
    // What a custom fin's point list says: the spread of x on the root (y = 0), the greatest y.
    bool pointsOnRoot = false, anyPoint = false;
    double rootFrom = 0, rootTo = 0, spanOfPoints = 0;
    bool custom = false;
    bool heldByTube = false; // by the tube's own element, not a pod's or a transition's
    std::shared_ptr<Tube> tube;
};

enum class Kind { Other, RocketDesign, BodyTube, FinSet, LaunchLug };

struct Frame {
    int id = TagTable::Unlisted;
    Kind kind = Kind::Other;
    int finIndex = -1;                  // which held fin set this element fills, -1 past the fourth
    int markIndex = -1;                 // which lug of the innermost open tube this element fills
    qsizetype nameAt = 0, nameSize = 0; // an Unlisted element's name in unlistedNames_
};

// Follows the element structure line by line, so each value is taken from the element that owns
// it: the rocket's own name, each tube's own sizes, each fin set's own fields.
class Parser {
public:
    // Far beyond any design (RockSim nests a few dozen deep), and small enough to bound memory.
    static constexpr size_t MaxDepth = 200000;

    explicit Parser(QString fileName) : fileName_(std::move(fileName)) {}

    bool processLine(QByteArrayView line, qint64 lineNumber);
    // The first RocketDesign element has closed: the rest of the file holds no design.
    bool designDone() const { return designDone_; }
    Design finish();
    const QString& message() const { return message_; }
    int finSetsSeen() const { return finSetsSeen_; }

private:
    enum class State { Normal, Comment, CData, Instruction };

    qsizetype skipMarkup(QByteArrayView line, qsizetype j, qsizetype gt);
    qsizetype tag(QByteArrayView line, qsizetype j, qsizetype gt, qint64 lineNumber);
    qsizetype field(QByteArrayView line, qsizetype j, QByteArrayView name, int id,
                    qint64 lineNumber);
    bool isField(int id) const;
    void store(int id, QByteArrayView value);
    void open(QByteArrayView name, int id);
    void openKind(Frame& frame);
    void close(QByteArrayView name);
    void closeUnlisted(QByteArrayView name);
    void pop();
    QByteArrayView unlistedName(const Frame& f) const;

    QString fileName_;
    QString message_;
    State state_ = State::Normal;
    TagTable tags_;
    std::vector<Frame> stack_;
    std::vector<int> openCount_ = std::vector<int>(size_t(TagTable::ids()), 0);
    // How many elements of each unlisted name are open: a closing tag whose name is not open
    // costs one look-up, never a walk down the stack.
    QHash<QByteArray, int> unlistedOpen_;
    QByteArray unlistedNames_;
    QByteArray closing_;                       // the closing tag of the field being read
    std::vector<std::shared_ptr<Tube>> tubes_; // the open body tubes, innermost last
    std::shared_ptr<Tube> firstAirframe_;
    int tubesSeen_ = 0;
    std::vector<FinData> fins_; // the fin sets kept, at most MostFinSetsKept
    int finSetsSeen_ = 0;
    bool rocketDesignSeen_ = false;
    bool designDone_ = false;
    qsizetype rocketDesignAt_ = -1; // stack index of the first RocketDesign while it is open
    bool rocketNested_ = false;     // a nested element has been opened inside it
    bool rocketNameTaken_ = false;
    QByteArray rocketName_;
};

// Text of the file: UTF-8 when it is valid UTF-8, else Windows-1252.
QString DecodeText(const QByteArray& bytes);
// The values of a tube as the design holds them, its lugs with angles in degrees.
TubeValues TubeValuesOf(const Tube& t);
// A fin set as the design holds it, on `airframe` when no tube held it.
FinSet FinSetOf(const FinData& f, const TubeValues& airframe);
// A RockSim angle (radians) in degrees; unreadable when it is no finite number, 0 when missing.
Angle AngleOf(const QByteArray& radians);
// Whether the element about to open sits on the innermost open body tube: in its attached parts,
// sub-assemblies between them aside.
bool HeldByTube(const std::vector<Frame>& stack);

} // namespace vanecraft::rocksim
