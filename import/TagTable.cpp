#include "TagTable.h"

namespace vanecraft {

namespace {

constexpr size_t SlotCount = 2 * TagTable::MaxNames; // at most half full

bool isStagePartsName(QByteArrayView name) {
    if (!name.startsWith("Stage") || !name.endsWith("Parts") || name.size() <= 10)
        return false;
    for (qsizetype i = 5; i < name.size() - 5; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

size_t hashOf(QByteArrayView name) {
    size_t h = 2166136261u; // FNV-1a
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

} // namespace

TagTable::TagTable() : slots_(SlotCount, -1), starts_{0}, stageParts_(size_t(ids()), false) {}

int TagTable::known(QByteArrayView name) {
    // By length first, so most names are set aside by one comparison of sizes.
    switch (name.size()) {
    case 2:
        return name == "OD" ? OD : name == "ID" ? ID : Unlisted;
    case 3:
        return name == "Len" ? Len : Unlisted;
    case 4:
        return name == "Name" ? Name : Unlisted;
    case 6:
        return name == "FinSet" ? FinSet : Unlisted;
    case 8:
        return name == "BodyTube"   ? BodyTube
               : name == "FinCount" ? FinCount
               : name == "SemiSpan" ? SemiSpan
                                    : Unlisted;
    case 9:
        return name == "RootChord"   ? RootChord
               : name == "Thickness" ? Thickness
               : name == "PointList" ? PointList
               : name == "LaunchLug" ? LaunchLug
               : name == "CantAngle" ? CantAngle
               : name == "TubeCount" ? TubeCount
                                     : Unlisted;
    case 10:
        return name == "TubeFinSet" ? TubeFinSet : Unlisted;
    case 11:
        return name == "RadialAngle" ? RadialAngle : name == "SubAssembly" ? SubAssembly : Unlisted;
    case 13:
        return name == "AttachedParts" ? AttachedParts : Unlisted;
    case 12:
        return name == "RocketDesign"   ? RocketDesign
               : name == "CustomFinSet" ? CustomFinSet
                                        : Unlisted;
    default:
        return Unlisted;
    }
}

QByteArrayView TagTable::text(int id) const {
    const size_t n = size_t(id - KnownCount);
    return QByteArrayView(names_.constData() + starts_[n], starts_[n + 1] - starts_[n]);
}

// The slot holding the name, or the empty slot where it would go.
qsizetype TagTable::slotOf(QByteArrayView name) const {
    size_t s = hashOf(name) % SlotCount;
    while (slots_[s] >= 0 && text(slots_[s]) != name)
        s = (s + 1) % SlotCount;
    return qsizetype(s);
}

int TagTable::find(QByteArrayView name) const {
    const int k = known(name);
    return k != Unlisted ? k : slots_[size_t(slotOf(name))];
}

int TagTable::intern(QByteArrayView name) {
    const int k = known(name);
    if (k != Unlisted)
        return k;
    const size_t s = size_t(slotOf(name));
    if (slots_[s] >= 0)
        return slots_[s];
    const int learned = int(starts_.size()) - 1;
    if (learned >= MaxNames || names_.size() + name.size() > MaxNameBytes)
        return Unlisted;
    names_.append(name.data(), name.size());
    starts_.push_back(names_.size());
    const int id = KnownCount + learned;
    slots_[s] = qint16(id);
    stageParts_[size_t(id)] = isStagePartsName(name);
    return id;
}

} // namespace vanecraft
