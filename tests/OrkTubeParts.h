#pragma once

// The tubes and parts of an OpenRocket design (see TubeParts.h), from the XML inside its ZIP or
// gzip container. A fin set, lug or button sits on the body tube whose subcomponents hold it;
// angles and radii as OpenRocket writes them, in degrees and metres; a later element of a pair
// (fincount and instancecount, rotation and angleoffset) wins, as in OpenRocket's loader.

#include "TubeParts.h"

#include <QStringList>
#include <archive.h>
#include <archive_entry.h>
#include <optional>

namespace tube_parts {

// The design's XML: the bytes themselves, the gzip's content, or the ZIP's first .ork entry.
inline QByteArray OrkXml(const QByteArray& bytes) {
    if (!bytes.startsWith("PK") && !bytes.startsWith("\x1f\x8b"))
        return bytes;
    archive* a = archive_read_new();
    archive_read_support_filter_all(a);
    archive_read_support_format_zip(a);
    archive_read_support_format_raw(a);
    QByteArray xml;
    archive_entry* e = nullptr;
    if (archive_read_open_memory(a, bytes.constData(), size_t(bytes.size())) == ARCHIVE_OK)
        while (xml.isEmpty() && archive_read_next_header(a, &e) == ARCHIVE_OK) {
            if (bytes.startsWith("PK") && !QByteArray(archive_entry_pathname(e)).endsWith(".ork"))
                continue;
            char buffer[65536];
            for (la_ssize_t n; (n = archive_read_data(a, buffer, sizeof buffer)) > 0;)
                xml.append(buffer, qsizetype(n));
        }
    archive_read_free(a);
    return xml;
}

namespace detail {

struct Body {
    QString kind, radius, fore, aft;
    bool flipped = false;
    bool inStage = false; // directly in a stage, not in a pod set or booster set
    int container = -1, tube = -1;
};

// A radius as a number, or "auto X" taken as X; nothing for a bare "auto" (or none written).
inline std::optional<double> given(const QString& text) {
    const QStringList parts = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || (parts[0] == QLatin1String("auto") && parts.size() < 2))
        return std::nullopt;
    return number(parts.back());
}

// What a neighbour gives an automatic tube: `ends` when the walk stops there, with or without
// a radius; an automatic tube passes the walk on.
struct Offer {
    bool ends = false;
    std::optional<double> radius;
};

inline Offer offer(const Body& b, bool fromBehind) {
    if (b.kind == QLatin1String("bodytube"))
        return {given(b.radius).has_value(), given(b.radius)};
    const bool cone = b.kind == QLatin1String("nosecone");
    const bool aftEnd = fromBehind != (cone && b.flipped); // a flipped cone faces the other way
    if (cone && !aftEnd)
        return {true, 0.0}; // its tip
    if (cone && b.aft.trimmed().isEmpty())
        return {true, 0.025}; // OpenRocket's fixed default base
    return {true, given(aftEnd ? b.aft : b.fore)};
}

struct OrkWalk {
    DesignParts d;
    std::vector<Frame> stack;
    std::vector<Body> bodies;
    std::vector<Points> points;
    std::vector<bool> containerIsStage;

    bool field(QXmlStreamReader& x) {
        const Frame& p = stack.back();
        if (p.body >= 0)
            return bodyField(bodies[size_t(p.body)], x);
        if (p.partTube >= 0)
            return partField(d.tubes[size_t(p.partTube)].parts.back(), x);
        if (p.fin >= 0)
            return finField(d.finSets[size_t(p.fin)], x);
        const bool point = x.name() == QLatin1String("point") &&
                           p.tag == QLatin1String("finpoints") && stack.size() >= 2 &&
                           stack[stack.size() - 2].fin >= 0;
        if (!point)
            return false;
        const QXmlStreamAttributes at = x.attributes();
        points[size_t(stack[stack.size() - 2].fin)].emplace_back(
            number(at.value(QLatin1String("x")).toString()),
            number(at.value(QLatin1String("y")).toString()));
        x.skipCurrentElement();
        return true;
    }

    static bool bodyField(Body& b, QXmlStreamReader& x) {
        const auto tag = x.name();
        if (tag == QLatin1String("radius"))
            b.radius = x.readElementText();
        else if (tag == QLatin1String("foreradius"))
            b.fore = x.readElementText();
        else if (tag == QLatin1String("aftradius"))
            b.aft = x.readElementText();
        else if (tag == QLatin1String("isflipped"))
            b.flipped = x.readElementText().trimmed() == QLatin1String("true");
        else
            return false;
        return true;
    }

    static bool partField(TubePart& p, QXmlStreamReader& x) {
        const auto tag = x.name();
        if (tag == QLatin1String("radius") && !p.button)
            p.diameterMm = 2000 * number(x.readElementText());
        else if (tag == QLatin1String("radialdirection") || tag == QLatin1String("angleoffset") ||
                 (p.tubeFins > 0 && tag == QLatin1String("rotation")))
            p.degrees = number(x.readElementText());
        else if (p.tubeFins > 0 && tag == QLatin1String("fincount"))
            p.tubeFins = x.readElementText().toInt();
        else if (tag == QLatin1String("name"))
            p.name = x.readElementText();
        else
            return false;
        return true;
    }

    static bool finField(FinSetOnTube& f, QXmlStreamReader& x) {
        const auto tag = x.name();
        if (tag == QLatin1String("name"))
            f.name = x.readElementText();
        else if (tag == QLatin1String("fincount") || tag == QLatin1String("instancecount"))
            f.count = x.readElementText().trimmed().toInt();
        else if (tag == QLatin1String("angleoffset") || tag == QLatin1String("rotation"))
            f.degrees = number(x.readElementText());
        else if (tag == QLatin1String("rootchord"))
            f.rootMm = 1000 * number(x.readElementText());
        else
            return false;
        return true;
    }

    Frame open(const QString& tag) {
        Frame f{tag};
        if (stack.size() < 2 || stack.back().tag != QLatin1String("subcomponents"))
            return f;
        const Frame& owner = stack[stack.size() - 2];
        static const QStringList containers{"stage", "podset", "parallelstage", "boosterset"};
        static const QStringList bodyKinds{"bodytube", "transition", "nosecone"};
        static const QStringList finKinds{"trapezoidfinset", "ellipticalfinset", "freeformfinset"};
        if (containers.contains(tag)) {
            f.container = int(containerIsStage.size());
            containerIsStage.push_back(tag == QLatin1String("stage"));
        } else if (bodyKinds.contains(tag)) {
            f.body = int(bodies.size());
            Body& b = bodies.emplace_back();
            b.kind = tag;
            for (auto it = stack.rbegin(); it != stack.rend() && b.container < 0; ++it)
                b.container = it->container;
            b.inStage = b.container >= 0 && containerIsStage[size_t(b.container)];
            if (tag == QLatin1String("bodytube")) {
                f.tube = b.tube = int(d.tubes.size());
                d.tubes.emplace_back();
            }
        } else if (finKinds.contains(tag)) {
            f.fin = int(d.finSets.size());
            d.finSets.emplace_back().tube = owner.tube;
            points.emplace_back();
        } else if ((tag == QLatin1String("launchlug") || tag == QLatin1String("railbutton") ||
                    tag == QLatin1String("tubefinset")) &&
                   owner.tube >= 0) {
            f.partTube = owner.tube;
            // OpenRocket's lug without a <radius> is 10 mm across.
            const bool tubeFins = tag == QLatin1String("tubefinset");
            d.tubes[size_t(f.partTube)].parts.push_back({tag == QLatin1String("railbutton"),
                                                         tubeFins ? 1 : 0,
                                                         {},
                                                         tubeFins ? 0.0 : 180,
                                                         10});
        }
        return f;
    }

    bool linked(const Body& a, const Body& b) const {
        return a.inStage ? b.inStage : a.container == b.container;
    }

    // A bare "auto": the first radius walking back over automatic tubes, else forward, else
    // OpenRocket's default.
    double radiusOf(size_t i) const {
        if (const auto r = given(bodies[i].radius))
            return *r;
        for (int step : {-1, 1})
            for (auto j = qsizetype(i) + step; j >= 0 && j < qsizetype(bodies.size()); j += step) {
                if (!linked(bodies[i], bodies[size_t(j)]))
                    continue;
                const Offer o = offer(bodies[size_t(j)], step < 0);
                if (o.ends && o.radius)
                    return *o.radius;
                if (o.ends)
                    break;
            }
        return 0.025;
    }

    // A free-form fin's root runs from its first point to its last.
    void finish() {
        for (size_t i = 0; i < d.finSets.size(); ++i)
            if (d.finSets[i].rootMm == 0 && !points[i].empty())
                d.finSets[i].rootMm = 1000 * (points[i].back().first - points[i].front().first);
        for (size_t i = 0; i < bodies.size(); ++i)
            if (bodies[i].tube >= 0)
                d.tubes[size_t(bodies[i].tube)].odMm = 2000 * radiusOf(i);
    }
};

} // namespace detail

inline DesignParts ReadOpenRocket(const QByteArray& fileBytes) {
    detail::OrkWalk w;
    return detail::Run(OrkXml(fileBytes), w);
}

} // namespace tube_parts
