#include "RockSimParser.h"

#include "FileAccess.h"
#include "RockSimReader.h"
#include "model/Conversions.h"

#include <QHashFunctions>

#include <limits>

namespace vanecraft::rocksim {

namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
}

// The next '>' at or after a position, searched once per '>' so that a line of many '<' costs
// one pass, not one pass per '<'.
class GtCursor {
public:
    explicit GtCursor(QByteArrayView line) : line_(line) {}
    qsizetype at(qsizetype from) {
        if (gt_ != None && gt_ < from)
            gt_ = line_.indexOf('>', from);
        if (gt_ == -1)
            gt_ = None;
        return gt_ == None ? -1 : gt_;
    }

private:
    static constexpr qsizetype None = -2; // no '>' left on the line
    QByteArrayView line_;
    qsizetype gt_ = -1;
};

// Where `<name>` (its '>' at k) ends when only text and its own closing tag follow: such an
// element opens and closes on the spot, changing nothing. -1 otherwise.
qsizetype leafEnd(QByteArrayView line, qsizetype k, QByteArrayView name) {
    const qsizetype m = line.indexOf('<', k + 1);
    const qsizetype after = m + 3 + name.size();
    if (m < 0 || after > line.size() || line[m + 1] != '/' || line[after - 1] != '>')
        return -1;
    return line.sliced(m + 2, name.size()) == name ? after : -1;
}

// A point list "x,y|x,y|...", walked point by point: the spread of x over the points on the
// root (y = 0), and the greatest y.
void readPointList(FinData& f, QByteArrayView list) {
    f.pointsOnRoot = f.anyPoint = false;
    for (qsizetype from = 0; from < list.size();) {
        qsizetype bar = list.indexOf('|', from);
        if (bar < 0)
            bar = list.size();
        const QByteArrayView point = list.sliced(from, bar - from);
        from = bar + 1;
        const qsizetype comma = point.indexOf(',');
        if (comma < 0)
            continue;
        const double x = Val(QString::fromLatin1(point.first(comma)));
        const double y = Val(QString::fromLatin1(point.sliced(comma + 1)));
        if (!f.anyPoint || y > f.spanOfPoints)
            f.spanOfPoints = y;
        f.anyPoint = true;
        if (y == 0.0) {
            if (!f.pointsOnRoot || x < f.rootFrom)
                f.rootFrom = x;
            if (!f.pointsOnRoot || x > f.rootTo)
                f.rootTo = x;
            f.pointsOnRoot = true;
        }
    }
}

bool isPart(int id) {
    return id == TagTable::RocketDesign || id == TagTable::BodyTube || id == TagTable::FinSet ||
           id == TagTable::CustomFinSet || id == TagTable::LaunchLug;
}

} // namespace

bool Parser::isField(int id) const {
    if (stack_.empty() || id == TagTable::Unlisted)
        return false;
    const Frame& parent = stack_.back();
    switch (parent.kind) {
    case Kind::BodyTube:
        return id == TagTable::OD || id == TagTable::ID || id == TagTable::Len;
    case Kind::FinSet:
        return parent.finIndex >= 0 && id >= TagTable::FinCount && id <= TagTable::CantAngle;
    case Kind::LaunchLug:
        return parent.markIndex >= 0 && (id == TagTable::Name || id == TagTable::RadialAngle ||
                                         id == TagTable::OD || id == TagTable::TubeCount);
    case Kind::RocketDesign:
        return id == TagTable::Name && !rocketNested_ && !rocketNameTaken_;
    case Kind::Other:
        break;
    }
    return false;
}

void Parser::store(int id, QByteArrayView value) {
    const Frame& parent = stack_.back();
    if (parent.kind == Kind::RocketDesign) {
        rocketName_ = value.toByteArray();
        rocketNameTaken_ = true;
        return;
    }
    if (parent.kind == Kind::BodyTube) {
        Tube& t = *tubes_.back();
        (id == TagTable::OD ? t.od : id == TagTable::ID ? t.id : t.len) = value.toByteArray();
        return;
    }
    if (parent.kind == Kind::LaunchLug) {
        MarkData& m = tubes_.back()->marks[size_t(parent.markIndex)];
        (id == TagTable::Name        ? m.name
         : id == TagTable::OD        ? m.od
         : id == TagTable::TubeCount ? m.count
                                     : m.angle) = value.toByteArray();
        return;
    }
    FinData& f = fins_[size_t(parent.finIndex)];
    switch (id) {
    case TagTable::FinCount:
        f.count = value.toByteArray();
        break;
    case TagTable::RootChord:
        f.root = value.toByteArray();
        break;
    case TagTable::SemiSpan:
        f.span = value.toByteArray();
        break;
    case TagTable::Thickness:
        f.thickness = value.toByteArray();
        break;
    case TagTable::Name:
        f.name = value.toByteArray();
        break;
    case TagTable::RadialAngle:
        f.angle = value.toByteArray();
        break;
    case TagTable::CantAngle:
        f.cant = value.toByteArray();
        break;
    default:
        readPointList(f, value);
    }
}

void Parser::openKind(Frame& frame) {
    const bool underStage = !stack_.empty() && tags_.isStageParts(stack_.back().id);
    if (frame.id == TagTable::RocketDesign && !rocketDesignSeen_) {
        frame.kind = Kind::RocketDesign;
        rocketDesignSeen_ = true;
        rocketDesignAt_ = static_cast<qsizetype>(stack_.size());
    } else if (frame.id == TagTable::BodyTube) {
        frame.kind = Kind::BodyTube;
        tubes_.push_back(std::make_shared<Tube>());
        tubes_.back()->index = tubesSeen_ < std::numeric_limits<int>::max() ? tubesSeen_++ : -1;
        if (underStage && !firstAirframe_)
            firstAirframe_ = tubes_.back();
    } else if (frame.id == TagTable::FinSet || frame.id == TagTable::CustomFinSet) {
        frame.kind = Kind::FinSet;
        if (finSetsSeen_ < MostFinSetsKept) {
            frame.finIndex = finSetsSeen_;
            FinData& f = fins_.emplace_back();
            f.custom = frame.id == TagTable::CustomFinSet;
            if (!tubes_.empty())
                f.tube = tubes_.back();
            f.heldByTube = HeldByTube(stack_);
        }
        if (finSetsSeen_ < std::numeric_limits<int>::max())
            ++finSetsSeen_;
    } else if ((frame.id == TagTable::LaunchLug || frame.id == TagTable::TubeFinSet) &&
               HeldByTube(stack_)) {
        frame.kind = Kind::LaunchLug;
        std::vector<MarkData>& marks = tubes_.back()->marks;
        if (marks.size() < size_t(MostMarksPerTube)) {
            frame.markIndex = int(marks.size());
            marks.emplace_back().tubeFins = frame.id == TagTable::TubeFinSet;
        } else {
            int& leftOut = tubes_.back()->marksLeftOut;
            leftOut += leftOut < std::numeric_limits<int>::max();
        }
    }
}

void Parser::open(QByteArrayView name, int id) {
    Frame frame;
    frame.id = id != TagTable::Unlisted ? id : tags_.intern(name);
    openKind(frame);
    if (frame.id == TagTable::Unlisted) {
        frame.nameAt = unlistedNames_.size();
        frame.nameSize = name.size();
        unlistedNames_.append(name);
        ++unlistedOpen_[name.toByteArray()];
    } else {
        ++openCount_[size_t(frame.id)];
    }
    stack_.push_back(frame);
}

QByteArrayView Parser::unlistedName(const Frame& f) const {
    return QByteArrayView(unlistedNames_).sliced(f.nameAt, f.nameSize);
}

void Parser::pop() {
    const Frame& top = stack_.back();
    if (top.id == TagTable::Unlisted) {
        const auto it = unlistedOpen_.find(unlistedName(top).toByteArray());
        if (it != unlistedOpen_.end() && --*it == 0)
            unlistedOpen_.erase(it);
        unlistedNames_.truncate(top.nameAt);
    } else {
        --openCount_[size_t(top.id)];
    }
    if (top.kind == Kind::BodyTube) {
        tubes_.pop_back();
    } else if (top.kind == Kind::RocketDesign) {
        rocketDesignAt_ = -1;
        designDone_ = true;
    }
    stack_.pop_back();
}

// The names the table holds are open when their count says so; others are looked for on the
// stack, only when some open element may have that name.
void Parser::close(QByteArrayView name) {
    const int id = tags_.find(name);
    if (id == TagTable::Unlisted) {
        closeUnlisted(name);
        return;
    }
    // A closing tag with nothing open of its name is stray text, not structure.
    if (openCount_[size_t(id)] == 0)
        return;
    for (;;) {
        const bool match = stack_.back().id == id;
        pop();
        if (match)
            return;
    }
}

void Parser::closeUnlisted(QByteArrayView name) {
    if (!unlistedOpen_.contains(name.toByteArray()))
        return;
    size_t at = stack_.size();
    while (at > 0 &&
           !(stack_[at - 1].id == TagTable::Unlisted && unlistedName(stack_[at - 1]) == name))
        --at;
    if (at == 0)
        return;
    while (stack_.size() >= at)
        pop();
}

qsizetype Parser::skipMarkup(QByteArrayView line, qsizetype j, qsizetype gt) {
    const QByteArrayView rest = line.sliced(j);
    if (rest.startsWith("<!--")) {
        state_ = State::Comment;
        return j + 4;
    }
    if (rest.startsWith("<![CDATA[")) {
        state_ = State::CData;
        return j + 9;
    }
    if (rest.startsWith("<?")) {
        state_ = State::Instruction;
        return j + 2;
    }
    return gt < 0 ? line.size() : gt + 1; // a declaration such as <!DOCTYPE ...>
}

// A value element `<name>value</name>`, all on its line; -1 when its closing tag is not there.
qsizetype Parser::field(QByteArrayView line, qsizetype j, QByteArrayView name, int id,
                        qint64 lineNumber) {
    closing_ = "</";
    closing_.append(name).append('>');
    const qsizetype start = j + name.size() + 2;
    const qsizetype q = line.indexOf(closing_, start);
    if (q < 0) {
        message_ =
            FileError(fileName_, QStringLiteral("the value of %1 on line %2 has no closing "
                                                "tag on that line")
                                     .arg(QStringLiteral("<%1>").arg(QString::fromLatin1(name)))
                                     .arg(lineNumber));
        return -1;
    }
    store(id, line.sliced(start, q - start));
    return q + closing_.size();
}

// The tag starting at j, its '>' (if any) at gt; where to go on, or -1 to refuse the file.
qsizetype Parser::tag(QByteArrayView line, qsizetype j, qsizetype gt, qint64 lineNumber) {
    const qsizetype n = line.size();
    const bool closing = j + 1 < n && line[j + 1] == '/';
    qsizetype e = j + (closing ? 2 : 1);
    const qsizetype nameStart = e;
    while (e < n && isNameChar(line[e]))
        ++e;
    const QByteArrayView name = line.sliced(nameStart, e - nameStart);
    if (name.isEmpty() || gt < 0)
        return gt < 0 ? n : j + 1;
    if (closing) {
        close(name);
        return gt + 1;
    }
    if (line[gt - 1] == '/') // self-closing: empty, opens nothing
        return gt + 1;
    const int id = TagTable::known(name);
    if (gt == e && isField(id))
        return field(line, j, name, id, lineNumber);
    if (stack_.size() >= MaxDepth) {
        message_ = FileError(fileName_, QStringLiteral("its elements are nested more than %1 deep "
                                                       "(line %2)")
                                            .arg(MaxDepth)
                                            .arg(lineNumber));
        return -1;
    }
    if (const qsizetype after = gt == e && !isPart(id) ? leafEnd(line, gt, name) : -1; after > 0)
        return after;
    open(name, id);
    return gt + 1;
}

bool Parser::processLine(QByteArrayView line, qint64 lineNumber) {
    if (designDone_)
        return true;
    if (line.contains('\0')) {
        message_ = FileError(fileName_, QStringLiteral("it is not a text file"));
        return false;
    }
    GtCursor gt(line);
    for (qsizetype i = 0; i >= 0 && i < line.size() && !designDone_;) {
        if (state_ != State::Normal) {
            const QByteArrayView end = state_ == State::Comment ? "-->"
                                       : state_ == State::CData ? "]]>"
                                                                : "?>";
            const qsizetype j = line.indexOf(end, i);
            if (j < 0)
                break;
            i = j + end.size();
            state_ = State::Normal;
            continue;
        }
        const qsizetype j = line.indexOf('<', i);
        if (j < 0)
            break;
        const char next = j + 1 < line.size() ? line[j + 1] : '\0';
        i = next == '!' || next == '?' ? skipMarkup(line, j, gt.at(j))
                                       : tag(line, j, gt.at(j), lineNumber);
        if (i < 0)
            return false;
    }
    if (rocketDesignAt_ >= 0 && static_cast<qsizetype>(stack_.size()) > rocketDesignAt_ + 1)
        rocketNested_ = true;
    return true;
}

Design Parser::finish() {
    while (!stack_.empty()) // elements left open at the end of a cut-off file end with it
        pop();
    Design d;
    d.RocketName = UnescapeXmlText(DecodeText(rocketName_));
    d.FinSetsInFile = finSetsSeen_;
    const Value zero = Value::of(QStringLiteral("0"));
    d.Unheld.Count = d.Unheld.Root = d.Unheld.Span = d.Unheld.Thickness = zero;
    d.Unheld.Tube = firstAirframe_ ? TubeValuesOf(*firstAirframe_)
                                   : TubeValues{zero, zero, zero, -1, QString(), {}, 0};
    d.FinSets.reserve(fins_.size());
    for (const FinData& f : fins_)
        d.FinSets.push_back(FinSetOf(f, d.Unheld.Tube));
    return d;
}

} // namespace vanecraft::rocksim
