#include "OpenRocketTree.h"

#include "model/Conversions.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vanecraft::ork {

namespace {
constexpr double DefaultRadius = 0.025; // OpenRocket's DEFAULT_RADIUS, when no neighbour offers
} // namespace

Value LengthValue(double metres) {
    // Fifteen significant digits drop the binary noise of the scaling: 0.0416 m is "41.6".
    Value v;
    v.text = NumberText(metres * 1000.0, QStringLiteral("."));
    v.number = v.text.toDouble();
    return v;
}

Tree::Tree() {
    Component rocket;
    rocket.kind = Kind::Rocket;
    parts_.push_back(rocket);
}

int Tree::add(Kind kind, int parent) {
    const int index = size();
    Component c;
    c.kind = kind;
    c.parent = parent < 0 ? 0 : parent;
    if (kind == Kind::BodyTube)
        c.tubeIndex = tubes_++;
    if (kind == Kind::NoseCone) // a nose cone without <aftradius> has a fixed base of 0.025 m
        c.aftAuto = false;
    Component& p = at(c.parent);
    if (isBody(kind) || kind == Kind::Stage) {
        c.place = int(p.bodyChildren.size());
        p.bodyChildren.push_back(index);
    }
    parts_.push_back(c);
    return index;
}

// The first (or last) body component directly in a stage, or -1.
int Tree::stageEnd(int stage, bool last) const {
    const std::vector<int>& kids = at(stage).bodyChildren;
    if (kids.empty())
        return -1;
    return last ? kids.back() : kids.front();
}

// Neighbours: the nearest body component before (after) among the siblings; for a component
// directly in a stage the search goes on through the stages before (after) it. A pod set or
// booster set keeps its own row: nothing outside it is a neighbour.
int Tree::previous(int c) const {
    const Component& me = at(c);
    const Component& parent = at(me.parent);
    if (me.place > 0)
        return parent.bodyChildren[size_t(me.place) - 1];
    if (parent.kind != Kind::Stage || parent.parent != 0)
        return -1;
    const std::vector<int>& stages = at(0).bodyChildren;
    for (int s = std::min(parent.place, int(stages.size())) - 1; s >= 0; --s)
        if (const int end = stageEnd(stages[size_t(s)], true); end >= 0)
            return end;
    return -1;
}

int Tree::next(int c) const {
    const Component& me = at(c);
    const Component& parent = at(me.parent);
    if (me.place + 1 < int(parent.bodyChildren.size()))
        return parent.bodyChildren[size_t(me.place) + 1];
    if (parent.kind != Kind::Stage || parent.parent != 0)
        return -1;
    const std::vector<int>& stages = at(0).bodyChildren;
    for (size_t s = size_t(parent.place) + 1; s < stages.size(); ++s)
        if (const int end = stageEnd(stages[s], false); end >= 0)
            return end;
    return -1;
}

// What a component that is not an automatic tube offers the one behind it (its aft end) or the
// one in front of it (its fore end); nothing from an automatic end. A nose cone's tip offers 0.
std::optional<double> Tree::ownOffer(int c, bool towardsBack) const {
    const Component& x = at(c);
    switch (x.kind) {
    case Kind::BodyTube:
        return x.radius;
    case Kind::Transition:
        if (towardsBack ? x.aftAuto : x.foreAuto)
            return std::nullopt;
        return towardsBack ? x.aft : x.fore;
    case Kind::NoseCone:
        if (towardsBack == x.flipped)
            return 0.0;
        return x.aftAuto ? std::nullopt : std::optional<double>(x.aft);
    default:
        return std::nullopt;
    }
}

// An automatic tube passes on what its own neighbour on the far side offers; the walk ends at
// a fixed tube, a transition or a nose cone, or the end of the row.
std::optional<double> Tree::offer(int c, bool towardsBack) const {
    auto& memo = memo_[towardsBack ? 1 : 0];
    memo.resize(parts_.size());
    std::vector<int> chain;
    std::optional<double> result;
    for (int cur = c;;) {
        if (memo[size_t(cur)]) {
            result = *memo[size_t(cur)];
            break;
        }
        const Component& x = at(cur);
        if (x.kind != Kind::BodyTube || !x.autoRadius) {
            result = ownOffer(cur, towardsBack);
            break;
        }
        chain.push_back(cur);
        cur = towardsBack ? previous(cur) : next(cur);
        if (cur < 0)
            break;
    }
    for (int t : chain)
        memo[size_t(t)] = result;
    return result;
}

double Tree::outerRadius(int tube) const {
    const Component& t = at(tube);
    if (!t.autoRadius || t.radiusGiven)
        return t.radius;
    std::optional<double> r;
    if (const int p = previous(tube); p >= 0)
        r = offer(p, true);
    if (!r)
        if (const int n = next(tube); n >= 0)
            r = offer(n, false);
    return r.value_or(DefaultRadius);
}

int Tree::addMark(int tube, TubeMark::Kind kind) {
    std::vector<TubeMark>& marks = at(tube).marks;
    if (marks.size() >= size_t(MostMarksPerTube)) {
        int& leftOut = at(tube).marksLeftOut;
        leftOut += leftOut < std::numeric_limits<int>::max();
        return -1;
    }
    // OpenRocket puts a new lug or button opposite the first fin, a lug 10 mm across; tube fins
    // start at 0, and their count is always written.
    const bool fins = kind == TubeMark::Kind::TubeFins;
    const Value diameter = kind == TubeMark::Kind::LaunchLug ? LengthValue(0.01) : Value{};
    marks.push_back(TubeMark{kind,
                             Angle{fins ? 0.0 : 180.0, std::nullopt},
                             {},
                             diameter,
                             fins ? Value{} : Value::of(QStringLiteral("1"))});
    return int(marks.size()) - 1;
}

TubeValues Tree::tubeValues(int carrier) const {
    TubeValues v;
    const Kind kind = carrier >= 0 ? at(carrier).kind : Kind::Other;
    if (kind == Kind::Transition || kind == Kind::NoseCone) {
        v.Carrier = kind == Kind::Transition ? QStringLiteral("a transition")
                                             : QStringLiteral("a nose cone");
        return v;
    }
    if (kind != Kind::BodyTube) {
        v.OD = v.ID = v.Len = LengthValue(0);
        return v;
    }
    const Component& t = at(carrier);
    const double outer = 2 * outerRadius(carrier);
    const double inner = t.filled ? 0.0 : std::max(0.0, outer - 2 * t.thickness);
    v.OD = LengthValue(outer);
    v.ID = LengthValue(inner);
    v.Len = LengthValue(t.length);
    v.Index = t.tubeIndex;
    v.Marks = t.marks;
    v.MarksLeftOut = t.marksLeftOut;
    return v;
}

int Tree::firstStageTube() const {
    const std::vector<int>& stages = at(0).bodyChildren;
    if (stages.empty())
        return -1;
    for (int c : at(stages.front()).bodyChildren)
        if (at(c).kind == Kind::BodyTube)
            return c;
    return -1;
}

// Numbers are read as Java reads a double after trimming; not finite counts as not a number.
std::optional<double> Number(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// An end radius: a number is fixed; "auto" and "auto X" are automatic, X kept as the radius.
// False when the text is neither, so the component keeps what it had.
bool ReadRadius(const QString& text, bool* automatic, double* value, bool* valueGiven) {
    const QStringList parts = text.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.front() == QLatin1String("auto")) {
        const std::optional<double> v = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
        *automatic = true;
        *valueGiven = v.has_value();
        if (v)
            *value = *v;
        return parts.size() <= 2;
    }
    const std::optional<double> v = Number(text);
    if (!v)
        return false;
    *automatic = false;
    *valueGiven = true;
    *value = *v;
    return true;
}

} // namespace vanecraft::ork
