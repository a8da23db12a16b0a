#include "RockSimReader.h"

#include "FileAccess.h"
#include "LineReader.h"
#include "model/Conversions.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace vanecraft {

const char* const AbnormalFormatMessage =
    "Abnormal file format. Maybe you're using an old RockSim file.";

namespace {

// The value between the tag found at or after `from` and its closing tag. The same rule serves
// raw lines (bytes) and texts.
template <class S> S extractValue(const S& text, const S& tag, qsizetype from, bool* found) {
    const qsizetype p = text.indexOf(tag, from);
    // Without the tag the rest starts one short of the tag's length, as the rule has always read.
    const qsizetype start = p < 0 ? tag.size() - 1 : p + tag.size();
    S closing = tag.left(1);
    closing += '/';
    closing += tag.mid(1);
    const qsizetype q = start <= text.size() ? text.indexOf(closing, start) : -1;
    if (q < 0) {
        if (found)
            *found = false;
        return S();
    }
    if (found)
        *found = true;
    return text.mid(start, q - start);
}

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Opening the ICU converter costs more than most decodes: keep one.
    thread_local QStringDecoder cp1252("windows-1252", QStringDecoder::Flag::Stateless);
    if (cp1252.isValid())
        return cp1252(bytes);
    return QString::fromLatin1(bytes);
}

QString fileError(const QString& name, const QString& reason) {
    return FileError(name, reason);
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
}

bool isStagePartsName(const QByteArray& name) {
    if (!name.startsWith("Stage") || !name.endsWith("Parts") || name.size() <= 10)
        return false;
    for (qsizetype i = 5; i < name.size() - 5; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

struct Tube {
    QByteArray od = "0", id = "0", len = "0";
    int index = -1; // the tube's place among the design's tubes
};

struct FinData {
    QByteArray count = "0", root = "0", span = "0", thickness = "0", name;
    // What a custom fin's point list says: the spread of x on the root (y = 0), the greatest y.
    bool pointsOnRoot = false, anyPoint = false;
    double rootFrom = 0, rootTo = 0, spanOfPoints = 0;
    bool custom = false;
    std::shared_ptr<Tube> tube;
};

// A point list "x,y|x,y|...", walked point by point: the spread of x over the points on the
// root (y = 0), and the greatest y.
void readPointList(FinData& f, const QByteArray& list) {
    f.pointsOnRoot = f.anyPoint = false;
    for (qsizetype from = 0; from < list.size();) {
        qsizetype bar = list.indexOf('|', from);
        if (bar < 0)
            bar = list.size();
        const QByteArrayView point = QByteArrayView(list).sliced(from, bar - from);
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

enum class Kind { Other, RocketDesign, BodyTube, FinSet };

// Far beyond any design (RockSim nests a few dozen deep), and small enough to bound memory.
constexpr size_t MaxDepth = 200000;

struct Frame {
    QByteArray name;
    Kind kind = Kind::Other;
    int finIndex = -1; // which held fin set this element fills, -1 past the fourth
};

// Follows the element structure line by line, so each value is taken from the element that owns
// it: the rocket's own name, each tube's own sizes, each fin set's own fields.
class Parser {
public:
    explicit Parser(QString fileName) : fileName_(std::move(fileName)) {}

    bool processLine(const QByteArray& line, qint64 lineNumber);
    Design finish();
    const QString& message() const { return message_; }
    int finSetsSeen() const { return finSetsSeen_; }

private:
    enum class State { Normal, Comment, CData, Instruction };

    bool isField(const QByteArray& name) const;
    void store(const QByteArray& name, const QByteArray& value);
    void open(const QByteArray& name);
    void close(const QByteArray& name);
    void pop();

    QString fileName_;
    QString message_;
    State state_ = State::Normal;
    std::vector<Frame> stack_;
    QHash<QByteArray, int> openCount_;
    std::vector<std::shared_ptr<Tube>> tubes_; // the open body tubes, innermost last
    std::shared_ptr<Tube> firstAirframe_;
    int tubesSeen_ = 0;
    std::vector<FinData> fins_; // the fin sets kept, at most MostFinSetsKept
    int finSetsSeen_ = 0;
    bool rocketDesignSeen_ = false;
    qsizetype rocketDesignAt_ = -1; // stack index of the first RocketDesign while it is open
    bool rocketNested_ = false;     // a nested element has been opened inside it
    bool rocketNameTaken_ = false;
    QByteArray rocketName_;
};

bool Parser::isField(const QByteArray& name) const {
    if (stack_.empty())
        return false;
    const Frame& parent = stack_.back();
    switch (parent.kind) {
    case Kind::BodyTube:
        return name == "OD" || name == "ID" || name == "Len";
    case Kind::FinSet:
        return parent.finIndex >= 0 &&
               (name == "FinCount" || name == "RootChord" || name == "SemiSpan" ||
                name == "Thickness" || name == "Name" || name == "PointList");
    case Kind::RocketDesign:
        return name == "Name" && !rocketNested_ && !rocketNameTaken_;
    case Kind::Other:
        break;
    }
    return false;
}

void Parser::store(const QByteArray& name, const QByteArray& value) {
    const Frame& parent = stack_.back();
    if (parent.kind == Kind::RocketDesign) {
        rocketName_ = value;
        rocketNameTaken_ = true;
        return;
    }
    if (parent.kind == Kind::BodyTube) {
        Tube& t = *tubes_.back();
        (name == "OD" ? t.od : name == "ID" ? t.id : t.len) = value;
        return;
    }
    FinData& f = fins_[parent.finIndex];
    if (name == "FinCount")
        f.count = value;
    else if (name == "RootChord")
        f.root = value;
    else if (name == "SemiSpan")
        f.span = value;
    else if (name == "Thickness")
        f.thickness = value;
    else if (name == "Name")
        f.name = value;
    else
        readPointList(f, value);
}

void Parser::open(const QByteArray& name) {
    Frame frame{name, Kind::Other, -1};
    const bool underStage = !stack_.empty() && isStagePartsName(stack_.back().name);
    if (name == "RocketDesign" && !rocketDesignSeen_) {
        frame.kind = Kind::RocketDesign;
        rocketDesignSeen_ = true;
        rocketDesignAt_ = static_cast<qsizetype>(stack_.size());
    } else if (name == "BodyTube") {
        frame.kind = Kind::BodyTube;
        tubes_.push_back(std::make_shared<Tube>());
        tubes_.back()->index = tubesSeen_ < std::numeric_limits<int>::max() ? tubesSeen_++ : -1;
        if (underStage && !firstAirframe_)
            firstAirframe_ = tubes_.back();
    } else if (name == "FinSet" || name == "CustomFinSet") {
        frame.kind = Kind::FinSet;
        if (finSetsSeen_ < MostFinSetsKept) {
            frame.finIndex = finSetsSeen_;
            FinData& f = fins_.emplace_back();
            f.custom = (name == "CustomFinSet");
            if (!tubes_.empty())
                f.tube = tubes_.back();
        }
        if (finSetsSeen_ < std::numeric_limits<int>::max())
            ++finSetsSeen_;
    }
    stack_.push_back(frame);
    ++openCount_[name];
}

void Parser::pop() {
    const Frame& top = stack_.back();
    auto it = openCount_.find(top.name);
    if (--it.value() == 0)
        openCount_.erase(it);
    if (top.kind == Kind::BodyTube)
        tubes_.pop_back();
    else if (top.kind == Kind::RocketDesign)
        rocketDesignAt_ = -1;
    stack_.pop_back();
}

void Parser::close(const QByteArray& name) {
    // A closing tag with nothing open of its name is stray text, not structure.
    if (!openCount_.contains(name))
        return;
    for (;;) {
        const bool match = stack_.back().name == name;
        pop();
        if (match)
            return;
    }
}

bool Parser::processLine(const QByteArray& line, qint64 lineNumber) {
    if (line.contains('\0')) {
        message_ = fileError(fileName_, QStringLiteral("it is not a text file"));
        return false;
    }
    const qsizetype n = line.size();
    qsizetype i = 0;
    // The next '>' at or after a position, searched once per '>' so that a line of many '<'
    // costs one pass, not one pass per '<'.
    qsizetype gt = -1;
    auto nextGt = [&](qsizetype from) {
        if (gt != -2 && gt < from)
            gt = line.indexOf('>', from);
        if (gt == -1)
            gt = -2; // none left on this line
        return gt == -2 ? qsizetype(-1) : gt;
    };
    while (i < n) {
        if (state_ != State::Normal) {
            const char* end = state_ == State::Comment ? "-->"
                              : state_ == State::CData ? "]]>"
                                                       : "?>";
            const qsizetype j = line.indexOf(end, i);
            if (j < 0)
                break;
            i = j + qstrlen(end);
            state_ = State::Normal;
            continue;
        }
        const qsizetype j = line.indexOf('<', i);
        if (j < 0)
            break;
        const QByteArrayView rest = QByteArrayView(line).sliced(j);
        if (rest.startsWith("<!--")) {
            state_ = State::Comment;
            i = j + 4;
            continue;
        }
        if (rest.startsWith("<![CDATA[")) {
            state_ = State::CData;
            i = j + 9;
            continue;
        }
        if (rest.startsWith("<?")) {
            state_ = State::Instruction;
            i = j + 2;
            continue;
        }
        const qsizetype k = nextGt(j);
        if (rest.startsWith("<!")) {
            i = k < 0 ? n : k + 1;
            continue;
        }
        const bool closing = rest.startsWith("</");
        qsizetype e = j + (closing ? 2 : 1);
        const qsizetype nameStart = e;
        while (e < n && isNameChar(line[e]))
            ++e;
        const QByteArray name = line.mid(nameStart, e - nameStart);
        if (name.isEmpty() || k < 0) {
            i = k < 0 ? n : j + 1;
            continue;
        }
        if (closing) {
            close(name);
            i = k + 1;
            continue;
        }
        if (line[k - 1] == '/') { // self-closing: empty, opens nothing
            i = k + 1;
            continue;
        }
        if (k == e && isField(name)) {
            QByteArray tag = '<' + name + '>';
            bool found = false;
            const QByteArray value = extractValue(line, tag, j, &found);
            if (!found) {
                message_ = fileError(
                    fileName_, QStringLiteral("the value of %1 on line %2 has no closing tag on "
                                              "that line")
                                   .arg(QString::fromLatin1(tag))
                                   .arg(lineNumber));
                return false;
            }
            store(name, value);
            i = j + 2 * tag.size() + 1 + value.size();
            continue;
        }
        if (stack_.size() >= MaxDepth) {
            message_ = fileError(fileName_, QStringLiteral("its elements are nested more than %1 "
                                                           "deep (line %2)")
                                                .arg(MaxDepth)
                                                .arg(lineNumber));
            return false;
        }
        open(name);
        i = k + 1;
    }
    if (rocketDesignAt_ >= 0 && static_cast<qsizetype>(stack_.size()) > rocketDesignAt_ + 1)
        rocketNested_ = true;
    return true;
}

TubeValues tubeValues(const Tube& t) {
    return {Value::of(decodeText(t.od)), Value::of(decodeText(t.id)), Value::of(decodeText(t.len)),
            t.index, QString()};
}

// A fin set as the design holds it. Only a root chord or span written as 0 is taken from the
// point list.
FinSet finSetOf(const FinData& f, const TubeValues& airframe) {
    FinSet s;
    s.Name = UnescapeXmlText(decodeText(f.name));
    s.Count = Value::of(decodeText(f.count));
    s.Root = Value::of(decodeText(f.root));
    s.Span = Value::of(decodeText(f.span));
    s.Thickness = Value::of(decodeText(f.thickness));
    const QString dot = QStringLiteral(".");
    if (f.custom && f.pointsOnRoot && s.Root.number == 0.0)
        s.Root = Value::of(NumberText(f.rootTo - f.rootFrom, dot));
    if (f.custom && f.anyPoint && s.Span.number == 0.0)
        s.Span = Value::of(NumberText(f.spanOfPoints, dot));
    s.Tube = f.tube ? tubeValues(*f.tube) : airframe;
    return s;
}

Design Parser::finish() {
    while (!stack_.empty()) // elements left open at the end of a cut-off file end with it
        pop();
    Design d;
    d.RocketName = UnescapeXmlText(decodeText(rocketName_));
    d.FinSetsInFile = finSetsSeen_;
    const Value zero = Value::of(QStringLiteral("0"));
    d.Unheld.Count = d.Unheld.Root = d.Unheld.Span = d.Unheld.Thickness = zero;
    d.Unheld.Tube =
        firstAirframe_ ? tubeValues(*firstAirframe_) : TubeValues{zero, zero, zero, -1, QString()};
    d.FinSets.reserve(fins_.size());
    for (const FinData& f : fins_)
        d.FinSets.push_back(finSetOf(f, d.Unheld.Tube));
    return d;
}

bool isXmlDeclarationOnly(QByteArrayView line) {
    line = line.trimmed();
    if (!line.startsWith("<?xml"))
        return false;
    const qsizetype end = line.indexOf("?>");
    return end >= 0 && line.sliced(end + 2).trimmed().isEmpty();
}

} // namespace

QString ExtractTagValue(const QString& text, const QString& tag, bool* found) {
    return extractValue(text, tag, 0, found);
}

LoadResult ReadRockSimDevice(QIODevice& device, const QString& name) {
    LoadResult result;
    LineReader reader(device);
    Parser parser(name);
    QByteArray line;
    auto readFailure = [&]() {
        if (reader.tooLong())
            return fileError(name, QStringLiteral("line %1 is longer than %2 MB, which no design "
                                                  "has")
                                       .arg(reader.lineNumber())
                                       .arg(LineReader::MaxLineBytes >> 20));
        return fileError(name, QStringLiteral("reading it failed (%1)").arg(device.errorString()));
    };
    // What a file gets whose first line is no RockSim document, whatever bytes it holds: an
    // old binary RockSim file among them.
    const QString abnormal = QString::fromUtf8(AbnormalFormatMessage) +
                             QStringLiteral("\n\nThe file \"%1\" is not a RockSim design.")
                                 .arg(QDir::toNativeSeparators(name));
    if (!reader.readLine(line)) {
        result.message = reader.failed()    ? readFailure()
                         : reader.tooLong() ? abnormal
                                            : fileError(name, QStringLiteral("it is empty"));
        return result;
    }
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    if (line.contains('\0')) {
        result.message = line.contains("<RockSimDocument>")
                             ? fileError(name, QStringLiteral("it is not a text file"))
                             : abnormal;
        return result;
    }
    // Some exporters write an XML declaration first; the document element must follow it.
    bool formatOk = line.contains("<RockSimDocument>");
    if (!formatOk && isXmlDeclarationOnly(line)) {
        if (!parser.processLine(line, reader.lineNumber())) {
            result.message = parser.message();
            return result;
        }
        if (reader.readLine(line))
            formatOk = line.contains("<RockSimDocument>");
    }
    if (!formatOk) {
        result.message = reader.failed() ? readFailure() : abnormal;
        return result;
    }
    do {
        if (!parser.processLine(line, reader.lineNumber())) {
            result.message = parser.message();
            return result;
        }
    } while (reader.readLine(line));
    if (reader.failed() || reader.tooLong()) {
        result.message = readFailure();
        return result;
    }
    result.design = parser.finish();
    result.ok = true;
    if (parser.finSetsSeen() > MostFinSetsKept)
        result.warning = ManyFinSetsWarning(parser.finSetsSeen());
    return result;
}

LoadResult ReadRockSimFile(const QString& path) {
    LoadResult result;
    QFile file(path);
    result.message = OpenDesignFile(file);
    if (!result.message.isEmpty())
        return result;
    return ReadRockSimDevice(file, path);
}

} // namespace vanecraft
