#include "PartMarks.h"

#include "model/Conversions.h"

#include <cmath>
#include <set>
#include <tuple>

namespace vanecraft {

const char* const GuideConvention = "The tube as seen from its nose end.";
const char* const WrapperConvention =
    "Wrap it printed side out, the edge marked \"nose\" towards the nose.";

namespace {

constexpr qsizetype MostLabelChars = 24;
// Lines of notes under a figure; the rest are counted in the last.
constexpr qsizetype MostNotes = 8;
// Angles are told apart to a millionth of a degree: under 0.0001 mm round a 10 m tube.
constexpr double AngleSteps = 1e6;

QString capitalised(QString s) {
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

QString markWords(const TubeMark& m) {
    const QString kind = m.kind == TubeMark::Kind::LaunchLug    ? QStringLiteral("launch lug")
                         : m.kind == TubeMark::Kind::RailButton ? QStringLiteral("rail button")
                                                                : QStringLiteral("tube fin set");
    return m.name.isEmpty() ? QStringLiteral("a ") + kind
                            : QStringLiteral("the %1 \"%2\"").arg(kind, ShortName(m.name));
}

// Why an angle cannot be placed, or an empty text.
QString angleProblem(const Angle& a) {
    if (!a.readable())
        return QStringLiteral("its angle \"%1\" is not a usable number")
            .arg(ShortName(*a.unreadable));
    if (!(std::abs(a.degrees) <= MostAngleDegrees))
        return QStringLiteral("its angle is more than a billion degrees");
    return {};
}

double relative(double degrees, double from) {
    double r = std::fmod(degrees - from, 360.0);
    if (r < 0)
        r += 360;
    return r >= 360 ? 0 : r;
}

// The marks gathered so far, one per part and angle (instances of one part share an angle), and
// a count of those past the bound.
struct Gathered {
    PartMarks& out;
    std::set<std::tuple<int, QString, long long>> seen;
    int leftOff = 0;

    void take(const PartMark& m) {
        const long long step = std::llround(m.degrees * AngleSteps) % (360 * (long long)AngleSteps);
        if (!seen.insert({int(m.kind), m.label, step}).second)
            return;
        if (out.marks.size() < size_t(MostPartMarks))
            out.marks.push_back(m);
        else
            ++leftOff;
    }
};

// Why a set of fins cannot be marked, or an empty text.
QString finsProblem(const Angle& rotation, const Value& count) {
    if (QString problem = angleProblem(rotation); !problem.isEmpty())
        return problem;
    const double n = count.number;
    if (count.text.isEmpty())
        return QStringLiteral("the design gives no count of its fins");
    if (!(n >= 1 && n <= MostFinsPerSet && n == std::floor(n)))
        return QStringLiteral("its fin count \"%1\" is not a whole number from 1 to %2")
            .arg(ShortName(count.text))
            .arg(MostFinsPerSet);
    return {};
}

// Every fin of a set, the first at `rotation`, the rest evenly round the tube.
void markFins(Gathered& g, const Angle& rotation, const Value& count, const QString& label,
              double from) {
    const double n = count.number;
    for (int j = 0; j < int(n); ++j)
        g.take({PartMark::Kind::Fin, relative(rotation.degrees + j * (360 / n), from), label, 0});
}

void markFinSet(Gathered& g, const FinSet& f, int k, double from) {
    if (const QString problem = finsProblem(f.Rotation, f.Count); !problem.isEmpty()) {
        g.out.notes << QStringLiteral("%1 is not marked: %2.")
                           .arg(capitalised(FinSetWords(k, f.Name)), problem);
        return;
    }
    markFins(g, f.Rotation, f.Count,
             f.Name.isEmpty() ? QStringLiteral("fin set %1").arg(k) : ShortName(f.Name), from);
}

void markTubePart(Gathered& g, const TubeMark& m, double from) {
    const bool tubeFins = m.kind == TubeMark::Kind::TubeFins;
    if (const QString problem = tubeFins ? finsProblem(m.angle, m.count) : angleProblem(m.angle);
        !problem.isEmpty()) {
        g.out.notes
            << QStringLiteral("%1 is not marked: %2.").arg(capitalised(markWords(m)), problem);
        return;
    }
    if (tubeFins) {
        markFins(g, m.angle, m.count,
                 m.name.isEmpty() ? QStringLiteral("tube fins") : ShortName(m.name), from);
        return;
    }
    const bool lug = m.kind == TubeMark::Kind::LaunchLug;
    const double d = m.diameter.number;
    const bool sized = lug && !m.diameter.text.isEmpty() && std::isfinite(d) && d > 0 && d <= 1000;
    g.take({lug ? PartMark::Kind::LaunchLug : PartMark::Kind::RailButton,
            relative(m.angle.degrees, from), lug ? QStringLiteral("lug") : QStringLiteral("rail"),
            sized ? d : 0});
}

// The other fin sets the tube's own element holds, by number.
std::vector<int> othersOnTube(const Design& design, int n, int tube) {
    std::vector<int> others;
    for (size_t i = 0; i < design.FinSets.size(); ++i) {
        const FinSet& f = design.FinSets[i];
        if (int(i) + 1 != n && f.Tube.Index == tube && f.HeldByTube)
            others.push_back(int(i) + 1);
    }
    return others;
}

} // namespace

QString ShortName(const QString& name) {
    // Whole characters and whole escapes only, and no more of a long name than is shown.
    QString out;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype n =
            name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString piece = ShownText(name.mid(i, n));
        i += n;
        const bool last = i == name.size();
        if (out.size() + piece.size() > MostLabelChars - (last ? 0 : 1))
            return out + u'…';
        out += piece;
    }
    return out;
}

QString FinSetWords(int n, const QString& name) {
    const QString number = QString::number(n);
    return name.isEmpty() ? QStringLiteral("fin set %1").arg(number)
                          : QStringLiteral("fin set %1 (\"%2\")").arg(number, ShortName(name));
}

QString CantNote(const FinSet& f, int n) {
    if (!f.Cant.readable())
        return QStringLiteral("The cant of %1 reads \"%2\", no number: its fins are drawn "
                              "straight.")
            .arg(FinSetWords(n, f.Name), ShortName(*f.Cant.unreadable));
    if (f.Cant.degrees == 0)
        return {};
    return QStringLiteral("%1 is canted %2°: its fins are drawn straight.")
        .arg(capitalised(FinSetWords(n, f.Name)), QString::number(f.Cant.degrees, 'g', 4));
}

QStringList CappedNotes(QStringList notes) {
    if (notes.size() <= MostNotes)
        return notes;
    const qsizetype more = notes.size() - (MostNotes - 1);
    notes.resize(MostNotes - 1);
    notes << QStringLiteral("%1 more notes like these are left out.").arg(more);
    return notes;
}

PartMarks PartMarksOf(const Design& design, int n) {
    PartMarks out;
    const FinSet& selected = design.finSet(n);
    const TubeValues& tube = selected.Tube;
    if (tube.Index < 0 || !tube.Carrier.isEmpty())
        return out; // no tube, so no aid to mark
    const std::vector<int> others = othersOnTube(design, n, tube.Index);
    if (others.empty() && tube.Marks.empty() && tube.MarksLeftOut == 0)
        return out;
    if (!selected.HeldByTube) {
        out.notes << QStringLiteral("No other part on the tube is marked: %1 sits on a pod, a "
                                    "transition or a nose cone, not on the tube.")
                         .arg(FinSetWords(n, selected.Name));
        return out;
    }
    if (tube.MarksLeftOut > 0)
        out.notes << QStringLiteral("%1 more launch lugs or rail buttons on this tube were not "
                                    "read: a tube keeps at most %2.")
                         .arg(tube.MarksLeftOut)
                         .arg(MostMarksPerTube);
    if (const QString problem = angleProblem(selected.Rotation); !problem.isEmpty()) {
        out.notes << QStringLiteral("No other part on the tube is marked: the angle of %1 is "
                                    "unknown (%2).")
                         .arg(FinSetWords(n, selected.Name), problem);
        return out;
    }
    Gathered g{out, {}, 0};
    for (int k : others)
        markFinSet(g, design.finSet(k), k, selected.Rotation.degrees);
    for (const TubeMark& m : tube.Marks)
        markTubePart(g, m, selected.Rotation.degrees);
    if (g.leftOff > 0)
        out.notes << QStringLiteral("%1 more marks are left off: a figure carries at most %2.")
                         .arg(g.leftOff)
                         .arg(MostPartMarks);
    return out;
}

} // namespace vanecraft
