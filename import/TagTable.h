#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace vanecraft {

// Element names as small integer ids. The names the reader acts on have fixed ids found
// without hashing; others get ids on first sight, up to a bound, so a file of ever-new names
// cannot grow memory: past it a name is Unlisted and its element is matched by its text.
class TagTable {
public:
    enum Known : int {
        RocketDesign,
        BodyTube,
        FinSet,
        CustomFinSet,
        OD,
        ID,
        Len,
        FinCount,
        RootChord,
        SemiSpan,
        Thickness,
        Name,
        PointList,
        RadialAngle,
        CantAngle,
        SubAssembly,
        LaunchLug,
        TubeFinSet,
        TubeCount,
        AttachedParts,
        KnownCount
    };
    static constexpr int Unlisted = -1;
    static constexpr int MaxNames = 4096;
    static constexpr qsizetype MaxNameBytes = 256 << 10;

    TagTable();

    // One of Known, or Unlisted.
    static int known(QByteArrayView name);
    // The id of a name seen before, or Unlisted.
    int find(QByteArrayView name) const;
    // The id of a name, given it now if there is room; Unlisted when there is none.
    int intern(QByteArrayView name);
    // Whether the id is a StageNParts name (N a number), under which the airframe tubes sit.
    bool isStageParts(int id) const { return id >= 0 && stageParts_[size_t(id)]; }
    static int ids() { return KnownCount + MaxNames; }

private:
    qsizetype slotOf(QByteArrayView name) const;
    QByteArrayView text(int id) const;

    std::vector<qint16> slots_;     // open addressing; an id or -1
    std::vector<qsizetype> starts_; // where each learned name starts in names_, and one more
    QByteArray names_;
    std::vector<bool> stageParts_;
};

} // namespace vanecraft
