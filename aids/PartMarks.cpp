#include "PartMarks.h"

#include "model/Conversions.h"

#include <cmath>

namespace vanecraft {

const char* const GuideConvention = "The tube as seen from its nose end.";
const char* const WrapperConvention =
    "Wrap it printed side out, the edge marked \"nose\" towards the nose.";

namespace {

constexpr qsizetype MostLabelChars = 24;

// A name as a label or a note shows it: control characters escaped, and cut short, so that no
// name can widen the figure past the paper.
QString shortLabel(const QString& name) {
    const QString shown = ShownText(name.left(MostLabelChars)); // a name may be megabytes long
    return shown.size() > MostLabelChars || name.size() > MostLabelChars
               ? shown.left(MostLabelChars - 1) + u'…'
               : shown;
}

QString finSetWords(const FinSet& f, int n) {
    const QString number = QString::number(n);
    return f.Name.isEmpty() ? QStringLiteral("fin set %1").arg(number)
                            : QStringLiteral("fin set %1 (\"%2\")").arg(number, shortLabel(f.Name));
}

QString markWords(const TubeMark& m) {
    const QString kind = m.kind == TubeMark::Kind::LaunchLug ? QStringLiteral("launch lug")
                                                             : QStringLiteral("rail button");
    return m.name.isEmpty() ? QStringLiteral("a ") + kind
                            : QStringLiteral("the %1 \"%2\"").arg(kind, shortLabel(m.name));
}

// Why an angle cannot be placed, or an empty text.
QString angleProblem(const Angle& a) {
    if (!a.readable())
        return QStringLiteral("its angle \"%1\" is not a usable number")
            .arg(shortLabel(*a.unreadable));
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

// One part at one angle: a millionth of a degree is under 0.0001 mm round a 10 m tube.
bool sameMark(const PartMark& a, const PartMark& b) {
    const double d = std::abs(a.degrees - b.degrees);
    return a.kind == b.kind && a.label == b.label && std::min(d, 360 - d) < 1e-6;
}

// Adds a mark unless one like it is there (instances of one part share an angle); counts those
// past the bound.
void take(PartMarks& out, const PartMark& m, int& leftOff) {
    for (const PartMark& held : out.marks)
        if (sameMark(held, m))
            return;
    if (out.marks.size() < size_t(MostPartMarks))
        out.marks.push_back(m);
    else
        ++leftOff;
}

void markFinSet(PartMarks& out, const FinSet& f, int k, double from, int& leftOff) {
    QString problem = angleProblem(f.Rotation);
    const double n = f.Count.number;
    if (problem.isEmpty() && !(n >= 1 && n <= 1000 && n == std::floor(n)))
        problem = QStringLiteral("its fin count \"%1\" is not a whole number from 1 to 1000")
                      .arg(shortLabel(f.Count.text));
    if (!problem.isEmpty()) {
        out.notes << QStringLiteral("%1 is not marked: %2.").arg(finSetWords(f, k), problem);
        return;
    }
    const QString label =
        f.Name.isEmpty() ? QStringLiteral("fin set %1").arg(k) : shortLabel(f.Name);
    for (int j = 0; j < int(n); ++j)
        take(out,
             {PartMark::Kind::Fin, relative(f.Rotation.degrees + j * (360 / n), from), label, 0},
             leftOff);
}

void markTubePart(PartMarks& out, const TubeMark& m, double from, int& leftOff) {
    if (const QString problem = angleProblem(m.angle); !problem.isEmpty()) {
        QString words = markWords(m);
        words[0] = words[0].toUpper();
        out.notes << QStringLiteral("%1 is not marked: %2.").arg(words, problem);
        return;
    }
    const bool lug = m.kind == TubeMark::Kind::LaunchLug;
    const double d = m.diameter.number;
    const bool sized = lug && !m.diameter.text.isEmpty() && std::isfinite(d) && d > 0 && d <= 1000;
    take(out,
         {lug ? PartMark::Kind::LaunchLug : PartMark::Kind::RailButton,
          relative(m.angle.degrees, from), lug ? QStringLiteral("lug") : QStringLiteral("rail"),
          sized ? d : 0},
         leftOff);
}

} // namespace

QString CantNote(const FinSet& f, int n) {
    if (!f.Cant.readable())
        return QStringLiteral("The cant of %1 reads \"%2\", no number: its fins are drawn "
                              "straight.")
            .arg(finSetWords(f, n), shortLabel(*f.Cant.unreadable));
    if (f.Cant.degrees == 0)
        return {};
    QString words = finSetWords(f, n);
    words[0] = words[0].toUpper();
    return QStringLiteral("%1 is canted %2°: its fins are drawn straight.")
        .arg(words, NumberText(f.Cant.degrees, QStringLiteral(".")));
}

PartMarks PartMarksOf(const Design& design, int n) {
    PartMarks out;
    const FinSet& selected = design.finSet(n);
    const TubeValues& tube = selected.Tube;
    if (tube.Index < 0 || !tube.Carrier.isEmpty() || !selected.HeldByTube)
        return out; // on no tube of its own, so nothing of a tube to mark
    std::vector<int> others;
    for (size_t i = 0; i < design.FinSets.size(); ++i) {
        const TubeValues& t = design.FinSets[i].Tube;
        if (int(i) + 1 != n && t.Index == tube.Index && design.FinSets[i].HeldByTube)
            others.push_back(int(i) + 1);
    }
    if (tube.MarksLeftOut > 0)
        out.notes << QStringLiteral("%1 more launch lugs or rail buttons on this tube were not "
                                    "read: a tube keeps at most 100.")
                         .arg(tube.MarksLeftOut);
    if (others.empty() && tube.Marks.empty())
        return out;
    if (const QString problem = angleProblem(selected.Rotation); !problem.isEmpty()) {
        out.notes << QStringLiteral("No other part on the tube is marked: the angle of %1 is "
                                    "unknown (%2).")
                         .arg(finSetWords(selected, n), problem);
        return out;
    }
    const double from = selected.Rotation.degrees;
    int leftOff = 0;
    for (int k : others)
        markFinSet(out, design.finSet(k), k, from, leftOff);
    for (const TubeMark& m : tube.Marks)
        markTubePart(out, m, from, leftOff);
    if (leftOff > 0)
        out.notes << QStringLiteral("%1 more marks are left off: a figure carries at most %2.")
                         .arg(leftOff)
                         .arg(MostPartMarks);
    return out;
}

} // namespace vanecraft
