#pragma once

// What a design file says of its body tubes and the parts on them, read with a plain XML walk
// apart from the program's readers: which body tube carries each fin set, the sets' counts,
// angles and root chords, and each tube's launch lugs and rail buttons. Angles in degrees as the
// file means them (clockwise seen from the nose), lengths in millimetres.

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace tube_parts {

struct FinSetOnTube {
    QString name;
    int count = 3;
    double degrees = 0;
    double rootMm = 0;
    int tube = -1; // -1: no body tube carries it (a transition, a nose cone, a pod)
};

struct TubePart {
    bool button = false;
    int tubeFins = 0; // a set of this many tube fins, marked as fins; 0 for a lug or a button
    QString name;
    double degrees = 180;  // OpenRocket's default for lugs and buttons alike
    double diameterMm = 5; // a lug's outer diameter; 5 when the file gives none
};

struct Tube {
    double odMm = 0;
    std::vector<TubePart> parts;
};

struct DesignParts {
    std::vector<FinSetOnTube> finSets; // in the file's order: fin set N is finSets[N - 1]
    std::vector<Tube> tubes;
    QString error;
};

namespace detail {

using Points = std::vector<std::pair<double, double>>;

struct Frame {
    QString tag;
    int fin = -1, tube = -1, body = -1, container = -1;
    int partTube = -1; // a lug's or button's tube; the part is that tube's last
};

inline double number(const QString& text) {
    return text.trimmed().toDouble();
}

// Runs a walk over the XML: `field` takes the values of the element on top of the stack (reading
// them whole), `open` makes the frame of any other element.
template <class Walk> DesignParts Run(const QByteArray& xml, Walk& w) {
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && !w.stack.empty())
            w.stack.pop_back();
        else if (x.isStartElement() && (w.stack.empty() || !w.field(x)))
            w.stack.push_back(w.open(x.name().toString()));
    }
    w.finish();
    if (x.hasError())
        w.d.error = x.errorString();
    return std::move(w.d);
}

// RockSim: a fin set or a lug sits on the body tube whose AttachedParts hold it, sub-assemblies
// between them aside. Angles in radians.
struct RockSimWalk {
    DesignParts d;
    std::vector<Frame> stack;
    std::vector<Points> points; // per fin set, from its PointList

    static double degrees(const QString& radians) {
        return number(radians) * 180 / std::numbers::pi;
    }

    bool field(QXmlStreamReader& x) {
        const Frame& p = stack.back();
        const auto tag = x.name();
        if (p.tube >= 0 && tag == QLatin1String("OD"))
            d.tubes[size_t(p.tube)].odMm = number(x.readElementText());
        else if (p.partTube >= 0 && tag == QLatin1String("TubeCount"))
            d.tubes[size_t(p.partTube)].parts.back().tubeFins = x.readElementText().toInt();
        else if (p.partTube >= 0 && tag == QLatin1String("Name"))
            d.tubes[size_t(p.partTube)].parts.back().name = x.readElementText();
        else if (p.partTube >= 0 && tag == QLatin1String("OD"))
            d.tubes[size_t(p.partTube)].parts.back().diameterMm = number(x.readElementText());
        else if (p.partTube >= 0 && tag == QLatin1String("RadialAngle"))
            d.tubes[size_t(p.partTube)].parts.back().degrees = degrees(x.readElementText());
        else if (p.fin >= 0)
            return finField(d.finSets[size_t(p.fin)], points[size_t(p.fin)], x);
        else
            return false;
        return true;
    }

    static bool finField(FinSetOnTube& f, Points& pts, QXmlStreamReader& x) {
        const auto tag = x.name();
        if (tag == QLatin1String("Name"))
            f.name = x.readElementText();
        else if (tag == QLatin1String("FinCount"))
            f.count = x.readElementText().trimmed().toInt();
        else if (tag == QLatin1String("RadialAngle"))
            f.degrees = degrees(x.readElementText());
        else if (tag == QLatin1String("RootChord"))
            f.rootMm = number(x.readElementText());
        else if (tag == QLatin1String("PointList"))
            for (const QString& p : x.readElementText().split(u'|', Qt::SkipEmptyParts))
                pts.emplace_back(number(p.section(u',', 0, 0)), number(p.section(u',', 1, 1)));
        else
            return false;
        return true;
    }

    Frame open(const QString& tag) {
        Frame f{tag};
        if (tag == QLatin1String("BodyTube")) {
            f.tube = int(d.tubes.size());
            d.tubes.emplace_back();
        } else if (tag == QLatin1String("FinSet") || tag == QLatin1String("CustomFinSet")) {
            f.fin = int(d.finSets.size());
            d.finSets.emplace_back().tube = carrier();
            points.emplace_back();
        } else if ((tag == QLatin1String("LaunchLug") || tag == QLatin1String("TubeFinSet")) &&
                   carrier() >= 0) {
            f.partTube = carrier();
            d.tubes[size_t(f.partTube)].parts.push_back(
                {false, tag == QLatin1String("TubeFinSet") ? 1 : 0, {}, 0, 5});
        }
        return f;
    }

    int carrier() const {
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            if (it->tag != QLatin1String("AttachedParts") &&
                it->tag != QLatin1String("SubAssembly"))
                return it->tube;
        return -1;
    }

    // A custom fin set written with no root chord has it only in its points.
    void finish() {
        for (size_t i = 0; i < d.finSets.size(); ++i) {
            double from = 0, to = 0;
            bool any = false;
            for (const auto& [x, y] : points[i])
                if (y == 0) {
                    from = any ? std::min(from, x) : x;
                    to = any ? std::max(to, x) : x;
                    any = true;
                }
            if (d.finSets[i].rootMm == 0 && any)
                d.finSets[i].rootMm = to - from;
        }
    }
};

} // namespace detail

inline DesignParts ReadRockSim(const QByteArray& xml) {
    detail::RockSimWalk w;
    return detail::Run(xml, w);
}

} // namespace tube_parts
