#include "Aids.h"

#include "model/Conversions.h"

#include <cmath>

namespace vanecraft {

const char* const GuideToolName = "Fins alignment guide";
const char* const WrapperToolName = "Body tube wrapper";
const char* const WrongValueMessage = "Sorry ... wrong or missing value. Try to load another file";
const char* const SelectToolToPrintMessage =
    "First select a tool. After that you could print anything you want ;)";
const char* const SelectToolToPreviewMessage =
    "First select a tool. After that you could preview anything you want ;)";

namespace {

constexpr double Pi = 3.14159265358979;
// The aids' fixed details were laid out in twips, 567 to the centimetre.
constexpr double TwipsPerMm = 56.7;
constexpr double mmOfTwips(double twips) {
    return twips / TwipsPerMm;
}
// Nothing a sheet of paper, or a run of sheets, can hold: 10 m.
constexpr double LongestLength = 10000;

QString shown(double v) {
    return std::isfinite(v) ? NumberText(v, QStringLiteral(".")) : QStringLiteral("not a number");
}

QString finSetWords(const AidValues& v) {
    return FinSetWords(v.finSetNumber, v.finSetName);
}

QString refused(const QString& detail) {
    return QString::fromUtf8(WrongValueMessage) + QStringLiteral("\n\n") + detail;
}

QString lengthProblem(const QString& what, double mm) {
    if (std::isfinite(mm) && mm > 0 && mm <= LongestLength)
        return QString();
    return QStringLiteral("%1 is %2 mm: it must be more than 0 and at most 10 m.")
        .arg(what, shown(mm));
}

QString paperProblem(double mm) {
    if (std::isfinite(mm) && mm >= ThinnestPaper && mm <= ThickestPaper)
        return QString();
    return QStringLiteral("The paper thickness set in File → Options is %1 mm: the wrapper needs "
                          "a thickness from %2 to %3 mm. Please set it again there.")
        .arg(shown(mm), shown(ThinnestPaper), shown(ThickestPaper));
}

// The figure with its notes beneath it, and the way round it is meant when it marks other parts.
AidResult withNotes(AidResult result, const AidValues& v, const char* convention) {
    QStringList lines = v.notes;
    if (!v.parts.empty())
        lines.prepend(QString::fromUtf8(convention));
    AddNotes(result.figure, lines);
    result.notes = v.notes;
    return result;
}

} // namespace

AidValues AidValuesOf(const AppState& s) {
    const FinSet& f = s.currentFinSet();
    AidValues v;
    v.outerDiameter = f.Tube.OD.number;
    v.innerDiameter = f.Tube.ID.number;
    v.finCount = f.Count.number;
    v.finThickness = f.Thickness.number;
    v.finSpan = f.Span.number;
    v.finRoot = f.Root.number;
    v.paperThickness = s.PaperThickness;
    v.finSetNumber = s.CurrentFinSet;
    v.finSetName = f.Name;
    v.carrier = f.Tube.Carrier;
    if (s.MarkParts) {
        PartMarks marks = PartMarksOf(s.design, s.CurrentFinSet);
        v.parts = std::move(marks.marks);
        v.notes = marks.notes;
    }
    if (const QString cant = CantNote(f, s.CurrentFinSet); !cant.isEmpty())
        v.notes.prepend(cant);
    v.notes = CappedNotes(v.notes);
    return v;
}

QString CheckDesignValues(const AidValues& v) {
    const QString fins = finSetWords(v);
    const QString tube = QStringLiteral("the body tube of ") + fins;
    // Both aids are drawn around a tube; fins on a transition or a nose cone have none.
    if (!v.carrier.isEmpty())
        return refused(QStringLiteral("The fins of %1 sit on %2, not on a body tube: neither aid "
                                      "can be drawn for them.")
                           .arg(fins, v.carrier));
    const double n = v.finCount;
    if (!(n >= 1 && n <= MostFinsPerSet && n == std::floor(n)))
        return refused(QStringLiteral("The number of fins of %1 is %2: it must be a whole number "
                                      "from 1 to %3.")
                           .arg(fins, shown(n), shown(MostFinsPerSet)));
    const QString lengths[] = {
        lengthProblem(QStringLiteral("The outer diameter of ") + tube, v.outerDiameter),
        lengthProblem(QStringLiteral("The inner diameter of ") + tube, v.innerDiameter),
        lengthProblem(QStringLiteral("The fin thickness of ") + fins, v.finThickness),
        lengthProblem(QStringLiteral("The semi span of ") + fins, v.finSpan),
        lengthProblem(QStringLiteral("The root chord of ") + fins, v.finRoot),
    };
    for (const QString& problem : lengths)
        if (!problem.isEmpty())
            return refused(problem);
    if (v.innerDiameter > v.outerDiameter)
        return refused(QStringLiteral("The inner diameter of %1 (%2 mm) is larger than its outer "
                                      "diameter (%3 mm).")
                           .arg(tube, shown(v.innerDiameter), shown(v.outerDiameter)));
    // Sides half a thickness off the centre line would never meet the tube.
    if (v.finThickness >= v.outerDiameter)
        return refused(QStringLiteral("The fins of %1 are %2 mm thick, as thick as their body "
                                      "tube (%3 mm) or thicker.")
                           .arg(fins, shown(v.finThickness), shown(v.outerDiameter)));
    if (v.outerDiameter + 2 * v.finSpan > LongestLength)
        return refused(QStringLiteral("The fins of %1 reach %2 mm across, more than 10 m.")
                           .arg(fins, shown(v.outerDiameter + 2 * v.finSpan)));
    return QString();
}

AidResult DrawFinAlignmentGuide(const AidValues& v) {
    AidResult result;
    result.refusal = CheckDesignValues(v);
    if (!result.ok())
        return result;
    const double N = v.finCount;
    const double outer = v.outerDiameter / 2;
    const double tip = outer + v.finSpan;
    const double H = v.finThickness / 2;
    Figure& f = result.figure;
    f.add(Stroke::circle(StrokeRole::Mark, 0, 0, outer));
    f.add(Stroke::circle(StrokeRole::Mark, 0, 0, v.innerDiameter / 2));
    const double alongOuter = std::sqrt(outer * outer - H * H);
    const double alongTip = std::sqrt(tip * tip - H * H);
    for (int i = 0; i < N; ++i) {
        // Each fin is turned by 0.36 / N degrees, so none lies exactly on an axis.
        const double a = Pi * ((360 / N) * (i + 0.001)) / 180;
        const double dx = -std::sin(a), dy = -std::cos(a); // outwards
        const double ex = -std::cos(a), ey = std::sin(a);  // towards the first side
        f.add(Stroke::line(StrokeRole::CentreLine, 0, 0, tip * dx, tip * dy));
        for (double side : {H, -H}) {
            const double ax = side * ex + alongOuter * dx, ay = side * ey + alongOuter * dy;
            const double bx = side * ex + alongTip * dx, by = side * ey + alongTip * dy;
            f.add(Stroke::line(StrokeRole::Mark, ax, ay, bx, by));
        }
        const Stroke& first = f.strokes()[f.strokes().size() - 2];
        const Stroke& second = f.strokes().back();
        f.add(Stroke::line(StrokeRole::Mark, first.x2, first.y2, second.x2, second.y2));
    }
    if (!v.parts.empty())
        MarkGuide(f, {outer, (360 / N) * 0.001}, v.parts);
    return withNotes(std::move(result), v, GuideConvention);
}

AidResult DrawBodyTubeWrapper(const AidValues& v) {
    AidResult result;
    result.refusal = CheckDesignValues(v);
    if (result.ok())
        result.refusal = paperProblem(v.paperThickness);
    if (!result.ok())
        return result;
    // The strip's length is held in single precision, as the printed strip always was.
    const float circumference = static_cast<float>(v.outerDiameter * 567 / 10 / 2 * (Pi * 2));
    const double L =
        static_cast<float>(double(circumference) + v.paperThickness * 567 / 10) / TwipsPerMm;
    if (L > LongestLength) {
        result.refusal = refused(QStringLiteral("The body tube of %1 is %2 mm around, more "
                                                "than 10 m.")
                                     .arg(finSetWords(v), shown(L)));
        return result;
    }
    const double h = v.finThickness / 2;
    const double Xl = -v.finRoot / 2, Xr = v.finRoot / 2;
    const double Yt = -L / 2, Yb = L / 2;
    const double flap = mmOfTwips(700), inset = mmOfTwips(400), tab = mmOfTwips(300);
    const double cross = mmOfTwips(150), firstMark = mmOfTwips(200);
    Figure& f = result.figure;
    auto line = [&f](StrokeRole role, double x1, double y1, double x2, double y2) {
        f.add(Stroke::line(role, x1, y1, x2, y2));
    };
    const StrokeRole edge = StrokeRole::Outline, mark = StrokeRole::Mark;
    line(edge, Xl, Yt, Xl, Yb);
    line(edge, Xr, Yt, Xr, Yb);
    line(edge, Xr, Yt, Xl, Yt);
    line(edge, Xr, Yb, Xl, Yb);
    line(mark, Xl, Yt, Xl, Yt - flap); // the flap above the strip
    line(mark, Xr, Yt, Xr, Yt - flap);
    line(mark, Xl, Yt - flap, Xr, Yt - flap);
    line(mark, Xl + inset, Yb, Xl + inset, Yb + tab); // the tab below it
    line(mark, Xr - inset, Yb, Xr - inset, Yb + tab);
    line(mark, Xl + inset, Yb + tab, Xr - inset, Yb + tab);
    line(mark, Xl + inset, Yt - cross, Xl + inset, Yt + cross); // the cross over the top edge
    line(mark, Xr - inset, Yt - cross, Xr - inset, Yt + cross);
    line(mark, Xl + inset, Yt - cross, Xr - inset, Yt + cross);
    line(mark, Xl + inset, Yt + cross, Xr - inset, Yt - cross);
    for (int i = 0; i < v.finCount; ++i) {
        const double y = Yt + firstMark + i * (L / v.finCount);
        line(StrokeRole::CentreLine, Xl, y, Xr, y);
        line(mark, Xl, y - h, Xr, y - h);
        line(mark, Xl, y + h, Xr, y + h);
    }
    if (!v.parts.empty())
        MarkWrapper(f, {Xl, Xr, Yt, Yb, Yt + firstMark, int(v.finCount), h}, v.parts);
    return withNotes(std::move(result), v, WrapperConvention);
}

const std::vector<Tool>& Tools() {
    static const std::vector<Tool> tools{
        {GuideToolName, "guide", &DrawFinAlignmentGuide},
        {WrapperToolName, "wrapper", &DrawBodyTubeWrapper},
    };
    return tools;
}

const Tool* ToolByCaption(const QString& caption) {
    for (const Tool& t : Tools())
        if (caption == QLatin1String(t.caption))
            return &t;
    return nullptr;
}

const Tool* ToolByCommandName(const QString& name) {
    for (const Tool& t : Tools())
        if (name == QLatin1String(t.commandName))
            return &t;
    return nullptr;
}

} // namespace vanecraft
