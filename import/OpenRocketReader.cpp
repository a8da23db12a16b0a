#include "OpenRocketReader.h"

#include "Archive.h"
#include "FileAccess.h"
#include "OpenRocketTree.h"

#include <QXmlStreamReader>

#include <optional>

namespace vanecraft {

namespace {

using ork::Kind;

// OpenRocket nests a few dozen deep; far beyond that is no design, and the stack stays small.
constexpr size_t MaxDepth = 10000;
// Body components, stages and sets held for the radius walk; a design has tens.
constexpr int MaxComponents = 100000;
// XML items (elements, texts, comments) up to the end of the rocket: a design has thousands.
// Bounds the time a file of countless tiny elements takes, far below the byte bound.
constexpr qint64 MaxItems = 2000000;

enum class Role { Skip, Root, Component, Subcomponents, Param, Points };

struct Frame {
    Role role = Role::Skip;
    Kind kind = Kind::Other;
    int node = -1;    // the tree component this element is, or the nearest one holding it
    int carrier = -1; // the nearest body component holding it
    int fin = -1;     // the kept fin set this element is part of
    bool finSet = false;
    int mark = -1; // the mark, among its body tube's, that this lug or button element fills
    TubeMark::Kind markKind = TubeMark::Kind::LaunchLug;
};

bool isFinSetTag(QStringView tag) {
    return tag == u"trapezoidfinset" || tag == u"ellipticalfinset" || tag == u"freeformfinset";
}

Kind componentKind(QStringView tag) {
    if (tag == u"stage")
        return Kind::Stage;
    if (tag == u"podset" || tag == u"parallelstage" || tag == u"boosterset")
        return Kind::Set;
    if (tag == u"bodytube")
        return Kind::BodyTube;
    if (tag == u"transition")
        return Kind::Transition;
    if (tag == u"nosecone")
        return Kind::NoseCone;
    return Kind::Other;
}

bool isParam(const Frame& owner, QStringView tag) {
    if (owner.finSet)
        return owner.fin >= 0 && (tag == u"name" || tag == u"instancecount" || tag == u"fincount" ||
                                  tag == u"thickness" || tag == u"rootchord" || tag == u"height" ||
                                  tag == u"angleoffset" || tag == u"rotation" || tag == u"cant");
    // OpenRocket writes a rail button's angle only as angleoffset.
    if (owner.mark >= 0)
        return tag == u"name" || tag == u"angleoffset" ||
               (owner.markKind == TubeMark::Kind::LaunchLug &&
                (tag == u"radialdirection" || tag == u"radius")) ||
               (owner.markKind == TubeMark::Kind::TubeFins &&
                (tag == u"rotation" || tag == u"fincount" || tag == u"instancecount"));
    switch (owner.kind) {
    case Kind::Rocket:
        return tag == u"name";
    case Kind::BodyTube:
        return tag == u"length" || tag == u"thickness" || tag == u"radius";
    case Kind::Transition:
        return tag == u"foreradius" || tag == u"aftradius";
    case Kind::NoseCone:
        return tag == u"aftradius" || tag == u"isflipped";
    default:
        return false;
    }
}

class Reader {
public:
    Reader(QIODevice& device, const QString& name) : xml_(&device), name_(name) {}
    LoadResult run(const GuardedDevice& guard);

private:
    bool startElement();
    void endElement();
    void openComponent(Frame& f, QStringView tag);
    void applyParam(const Frame& owner, const QString& text);
    void applyFinParam(ork::FinRecord& f, const QString& text);
    void applyPoint();
    Design design() const;

    QXmlStreamReader xml_;
    QString name_, problem_;
    std::vector<Frame> stack_;
    ork::Tree tree_;
    std::vector<ork::FinRecord> fins_;
    int finSetsSeen_ = 0;
    bool rootSeen_ = false, rocketSeen_ = false, rocketDone_ = false;
    QString rocketName_, param_, paramText_;
    // A free-form outline: the spread of x over the points on the root (y = 0), the greatest y.
    bool anyPoint_ = false, anyRootPoint_ = false;
    double rootFrom_ = 0, rootTo_ = 0, top_ = 0;
};

void Reader::openComponent(Frame& f, QStringView tag) {
    const Frame& parent = stack_.back();
    f.role = Role::Component;
    f.node = parent.node;
    f.carrier = parent.carrier;
    if (isFinSetTag(tag)) {
        f.finSet = true;
        if (finSetsSeen_ < MostFinSetsKept) {
            f.fin = int(fins_.size());
            ork::FinRecord& r = fins_.emplace_back();
            r.carrier = f.carrier;
            // The constructors' sizes: trapezoid 0.05 x 0.03; elliptical 0.05 x 0.05; free-form
            // the outline (0,0) (0.025,0.05) (0.075,0.05) (0.05,0).
            if (tag != u"trapezoidfinset")
                r.span = 0.05;
        }
        if (finSetsSeen_ < std::numeric_limits<int>::max())
            ++finSetsSeen_;
        return;
    }
    // Lugs, buttons and tube fins are marked only on a body tube.
    if ((tag == u"launchlug" || tag == u"railbutton" || tag == u"tubefinset") &&
        parent.kind == Kind::BodyTube && !parent.finSet) {
        f.markKind = tag == u"launchlug"    ? TubeMark::Kind::LaunchLug
                     : tag == u"railbutton" ? TubeMark::Kind::RailButton
                                            : TubeMark::Kind::TubeFins;
        f.mark = tree_.addMark(parent.node, f.markKind);
        return;
    }
    f.kind = componentKind(tag);
    if (f.kind == Kind::Other)
        return;
    if (tree_.size() >= MaxComponents) {
        problem_ = QStringLiteral("it has more than %1 components (line %2), which no design has")
                       .arg(MaxComponents)
                       .arg(xml_.lineNumber());
        return;
    }
    // OpenRocket refuses a stage anywhere but directly in the rocket; so does this reader.
    if (f.kind == Kind::Stage && parent.node > 0) {
        problem_ = QStringLiteral("it has a stage inside another part (line %1), which "
                                  "OpenRocket does not allow")
                       .arg(xml_.lineNumber());
        return;
    }
    f.node = tree_.add(f.kind, parent.node);
    if (ork::Tree::isBody(f.kind))
        f.carrier = f.node;
}

bool Reader::startElement() {
    if (stack_.size() >= MaxDepth) {
        problem_ = QStringLiteral("its elements are nested more than %1 deep (line %2)")
                       .arg(MaxDepth)
                       .arg(xml_.lineNumber());
        return false;
    }
    const QStringView tag = xml_.name();
    Frame f;
    if (stack_.empty()) {
        f.role = tag == u"openrocket" ? Role::Root : Role::Skip;
        rootSeen_ = f.role == Role::Root;
    } else if (const Frame& parent = stack_.back(); parent.role == Role::Root) {
        if (tag == u"rocket" && !rocketSeen_) { // a second rocket is ignored, as OpenRocket does
            rocketSeen_ = true;
            f = Frame{Role::Component, Kind::Rocket, 0, -1, -1, false, -1, {}};
        }
    } else if (parent.role == Role::Component) {
        if (tag == u"subcomponents") {
            f = parent;
            f.role = Role::Subcomponents;
        } else if (parent.fin >= 0 && tag == u"finpoints") {
            f = parent;
            f.role = Role::Points;
            anyPoint_ = anyRootPoint_ = false;
        } else if (isParam(parent, tag)) {
            f = parent;
            f.role = Role::Param;
            param_ = tag.toString();
            paramText_.clear();
        }
    } else if (parent.role == Role::Subcomponents) {
        openComponent(f, tag);
    } else if (parent.role == Role::Points && tag == u"point") {
        applyPoint();
    }
    stack_.push_back(f);
    return problem_.isEmpty();
}

void Reader::applyPoint() {
    const QXmlStreamAttributes a = xml_.attributes();
    const std::optional<double> x = ork::Number(a.value(QLatin1String("x")).toString());
    const std::optional<double> y = ork::Number(a.value(QLatin1String("y")).toString());
    if (!x || !y)
        return;
    top_ = anyPoint_ ? std::max(top_, *y) : *y;
    anyPoint_ = true;
    if (*y != 0.0)
        return;
    rootFrom_ = anyRootPoint_ ? std::min(rootFrom_, *x) : *x;
    rootTo_ = anyRootPoint_ ? std::max(rootTo_, *x) : *x;
    anyRootPoint_ = true;
}

void Reader::applyFinParam(ork::FinRecord& f, const QString& text) {
    if (param_ == u"name") {
        f.name = text;
    } else if (param_ == u"instancecount" || param_ == u"fincount") {
        // Whole numbers are read without trimming; a bad one leaves the count as it was.
        bool ok = false;
        text.toInt(&ok);
        if (ok && text == text.trimmed())
            f.count = text;
    } else if (param_ == u"angleoffset" || param_ == u"rotation") {
        f.angle = Angle::read(text, 1, f.angle); // both give the same angle: the later one wins
    } else if (param_ == u"cant") {
        f.cant = Angle::read(text, 1, f.cant);
    } else if (const std::optional<double> v = ork::Number(text)) {
        (param_ == u"thickness" ? f.thickness : param_ == u"rootchord" ? f.root : f.span) = *v;
    }
}

void Reader::applyParam(const Frame& owner, const QString& text) {
    if (owner.finSet) {
        applyFinParam(fins_[size_t(owner.fin)], text);
        return;
    }
    if (owner.kind == Kind::Rocket) {
        rocketName_ = text;
        return;
    }
    if (owner.mark >= 0) {
        TubeMark& m = tree_.at(owner.node).marks[size_t(owner.mark)];
        if (param_ == u"name") {
            m.name = text;
        } else if (param_ == u"radius") {
            if (const std::optional<double> r = ork::Number(text))
                m.diameter = ork::LengthValue(2 * *r);
        } else if (param_ == u"fincount" || param_ == u"instancecount") {
            m.count = Value::of(text.trimmed());
        } else {
            m.angle = Angle::read(text, 1, m.angle);
        }
        return;
    }
    ork::Component& c = tree_.at(owner.node);
    bool given = false;
    if (param_ == u"radius") {
        ork::ReadRadius(text, &c.autoRadius, &c.radius, &given);
        c.radiusGiven = c.autoRadius && given;
    } else if (param_ == u"foreradius") {
        ork::ReadRadius(text, &c.foreAuto, &c.fore, &given);
    } else if (param_ == u"aftradius") {
        ork::ReadRadius(text, &c.aftAuto, &c.aft, &given);
    } else if (param_ == u"isflipped") {
        c.flipped = text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    } else if (param_ == u"thickness" && text.trimmed() == QLatin1String("filled")) {
        c.filled = true;
    } else if (const std::optional<double> v = ork::Number(text)) {
        if (param_ == u"thickness")
            c.filled = false;
        (param_ == u"length" ? c.length : c.thickness) = *v;
    }
}

void Reader::endElement() {
    const Frame f = stack_.back();
    stack_.pop_back();
    if (f.role == Role::Component && f.kind == Kind::Rocket) {
        rocketDone_ = true;
    } else if (f.role == Role::Param) {
        applyParam(f, paramText_);
    } else if (f.role == Role::Points && anyPoint_) {
        ork::FinRecord& r = fins_[size_t(f.fin)];
        r.root = anyRootPoint_ ? rootTo_ - rootFrom_ : 0.0;
        r.span = top_;
    }
}

Design Reader::design() const {
    Design d;
    d.RocketName = rocketName_;
    d.FinSetsInFile = finSetsSeen_;
    d.FinSets.reserve(fins_.size());
    for (const ork::FinRecord& r : fins_) {
        FinSet s;
        s.Name = r.name;
        s.Count = Value::of(r.count);
        s.Root = ork::LengthValue(r.root);
        s.Span = ork::LengthValue(r.span);
        s.Thickness = ork::LengthValue(r.thickness);
        s.Tube = tree_.tubeValues(r.carrier);
        s.HeldByTube = r.carrier >= 0 && tree_.at(r.carrier).kind == Kind::BodyTube;
        s.Rotation = r.angle;
        s.Cant = r.cant;
        d.FinSets.push_back(s);
    }
    const Value zero = Value::of(QStringLiteral("0"));
    d.Unheld.Count = d.Unheld.Root = d.Unheld.Span = d.Unheld.Thickness = zero;
    const int first = tree_.firstStageTube();
    d.Unheld.Tube =
        first >= 0 ? tree_.tubeValues(first) : TubeValues{zero, zero, zero, -1, {}, {}, 0};
    return d;
}

LoadResult Reader::run(const GuardedDevice& guard) {
    // What follows the rocket (simulations, often the bulk of a file) is not read.
    for (qint64 items = 0; problem_.isEmpty() && !rocketDone_ && !xml_.atEnd(); ++items) {
        if (items == MaxItems) {
            problem_ = QStringLiteral("its design has more than %1 XML items (line %2), which "
                                      "no design has")
                           .arg(MaxItems)
                           .arg(xml_.lineNumber());
            break;
        }
        switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
            startElement();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        case QXmlStreamReader::DTD:
            // OpenRocket never declares a document type; entities declared there would expand
            // without bound before any of the limits here could see them.
            problem_ = QStringLiteral("it declares a document type (line %1), which no "
                                      "OpenRocket design does")
                           .arg(xml_.lineNumber());
            break;
        case QXmlStreamReader::Characters:
            if (!stack_.empty() && stack_.back().role == Role::Param) {
                paramText_ += xml_.text();
                if (paramText_.size() > GuardedDevice::MaxTextBytes)
                    problem_ = QStringLiteral("the value on line %1 is longer than %2 MB, which "
                                              "no design has")
                                   .arg(xml_.lineNumber())
                                   .arg(GuardedDevice::MaxTextBytes >> 20);
            }
            break;
        default:
            break;
        }
    }
    LoadResult result;
    if (problem_.isEmpty() && !guard.failure().isEmpty())
        problem_ = guard.failure();
    if (problem_.isEmpty() && xml_.hasError())
        problem_ = QStringLiteral("it is not well-formed XML (line %1: %2)")
                       .arg(xml_.lineNumber())
                       .arg(xml_.errorString());
    if (problem_.isEmpty() && !rootSeen_)
        problem_ = QStringLiteral("it is not an OpenRocket design");
    if (problem_.isEmpty() && !rocketSeen_)
        problem_ = QStringLiteral("it is an OpenRocket file without a rocket design (no "
                                  "<rocket> element)");
    if (!problem_.isEmpty()) {
        result.message = FileError(name_, problem_);
        return result;
    }
    result.design = design();
    result.ok = true;
    if (finSetsSeen_ > MostFinSetsKept)
        result.warning = ManyFinSetsWarning(finSetsSeen_);
    return result;
}

} // namespace

LoadResult ReadOpenRocketDevice(QIODevice& device, const QString& name) {
    GuardedDevice guard(device);
    guard.open(QIODevice::ReadOnly);
    Reader reader(guard, name);
    return reader.run(guard);
}

} // namespace vanecraft
