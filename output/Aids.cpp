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

// Nothing a sheet of paper (or a screen) can show: 10 m across, in twips.
constexpr double LargestFigure = 10000.0 * 567 / 10;
constexpr double MostFins = 1000;

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

Frame ComputeFrame(const AppState& s, double centreX, float centreY) {
    const Design& d = s.design;
    const int n = s.CurrentFinSet;
    Frame f;
    f.CentreX = centreX;
    f.CentreY = centreY;
    f.OuterRadius = LengthToTwips(d.BodyTubeOD) / 2;
    f.InnerRadius = LengthToTwips(d.BodyTubeID) / 2;
    f.FinThickness = LengthToTwips(d.FinSetThickness[n]);
    f.FinSpan = LengthToTwips(d.FinSetSpan[n]);
    f.FinRoot = LengthToTwips(d.FinSetRoot[n]);
    f.HalfFinThickness = f.FinThickness / 2;
    f.Circumference = static_cast<float>(f.OuterRadius * (Pi * 2));
    return f;
}

bool DrawFinAlignmentGuide(DrawingSurface& surface, const Frame& f, const AppState& state) {
    const Design& d = state.design;
    const int slot = state.CurrentFinSet;
    const double N = Val(d.FinSetCount[slot]);
    // `!(v > 0)` also refuses NaN.
    for (double v : {Val(d.BodyTubeOD), Val(d.BodyTubeID), N, Val(d.FinSetThickness[slot]),
                     Val(d.FinSetRoot[slot]), Val(d.FinSetSpan[slot])})
        if (!(v > 0))
            return false;
    const double H = f.HalfFinThickness;
    const double cx = f.CentreX;
    const double cy = f.CentreY;
    const double tipRadius = f.OuterRadius + f.FinSpan;
    // A fin as thick as the tube has sides that never meet it; sizes past any sheet of paper and
    // counts past any real rocket would only draw garbage or take forever.
    if (!finite({cx, cy, f.OuterRadius, f.InnerRadius, H, tipRadius, N, f.FinRoot}) ||
        H >= f.OuterRadius || 2 * tipRadius > LargestFigure || 2 * f.InnerRadius > LargestFigure ||
        f.FinRoot > LargestFigure || N > MostFins)
        return false;

    surface.DrawCircle(float(cx), float(cy), float(f.OuterRadius));
    surface.DrawCircle(float(cx), float(cy), float(f.InnerRadius));

    double k = N / 2 - 1;
    if (k != std::floor(k))
        k += 0.5;
    const double last = N - 1;
    for (double i = 0; i <= last; i += 1) {
        const double a = Pi * ((360 / N) * (i + 0.001)) / 180;
        const double m = std::tan(Pi * 90 / 180 - a);
        const double q0 = cy - cx * m;
        const double s = i > k ? -1 : 1;
        auto lineCirclePoint = [&](double q, double r, float& x, float& y) {
            const double QA = 1 + m * m;
            const double QB = 2 * m * q - 2 * cx - 2 * cy * m;
            const double QC = cy * cy + cx * cx + q * q - 2 * cy * q - r * r;
            const double D = std::sqrt(QB * QB - 4 * QA * QC);
            const double px = (-QB - s * D) / (2 * m * m + 2);
            x = float(px);
            y = float(m * px + q);
        };
        float px, py, a1x, a1y, b1x, b1y, a2x, a2y, b2x, b2y;
        lineCirclePoint(q0, tipRadius, px, py);
        surface.SetLineStyle(Dashed);
        surface.DrawLine(float(cx), float(cy), px, py);
        surface.SetLineStyle(Solid);
        const double q1 =
            q0 + H * std::cos(a - Pi * 90 / 180) - H * m * std::sin(a - Pi * 90 / 180);
        lineCirclePoint(q1, f.OuterRadius, a1x, a1y);
        lineCirclePoint(q1, tipRadius, b1x, b1y);
        surface.DrawLine(a1x, a1y, b1x, b1y);
        const double q2 = 2 * q0 - q1;
        lineCirclePoint(q2, f.OuterRadius, a2x, a2y);
        lineCirclePoint(q2, tipRadius, b2x, b2y);
        surface.DrawLine(a2x, a2y, b2x, b2y);
        surface.DrawLine(b1x, b1y, b2x, b2y);
    }
    return true;
}

bool DrawBodyTubeWrapper(DrawingSurface& surface, const Frame& f, int outlineWidth,
                         const AppState& state) {
    const double p = state.PaperThickness;
    const double N = Val(state.design.FinSetCount[state.CurrentFinSet]);
    const float L = static_cast<float>(f.Circumference + p * 567 / 10);
    const double h = f.HalfFinThickness;
    const double Xl = f.CentreX - f.FinRoot / 2;
    const double Xr = f.CentreX + f.FinRoot / 2;
    const float Yt = static_cast<float>(f.CentreY - L / 2.0);
    const float Yb = static_cast<float>(L / 2.0 + f.CentreY);
    if (!finite({double(L), h, Xl, Xr, double(Yt), double(Yb), N, f.CentreX}) ||
        std::abs(L) > LargestFigure || std::abs(f.FinRoot) > LargestFigure ||
        std::abs(h) > LargestFigure || N > MostFins)
        return false;

    auto line = [&surface](double x1, double y1, double x2, double y2) {
        surface.DrawLine(float(x1), float(y1), float(x2), float(y2));
    };
    surface.SetLineWidth(outlineWidth);
    surface.SetLineStyle(Solid);
    line(Xl, Yt, Xl, Yb);
    line(Xr, Yt, Xr, Yb);
    line(Xr, Yt, Xl, Yt);
    line(Xr, Yb, Xl, Yb);
    surface.SetLineWidth(1);
    // Top flap.
    line(Xl, Yt, Xl, Yt - 700.0);
    line(Xr, Yt, Xr, Yt - 700.0);
    line(Xl, Yt - 700.0, Xr, Yt - 700.0);
    // Bottom tab.
    line(Xl + 400, Yb, Xl + 400, Yb + 300.0);
    line(Xr - 400, Yb, Xr - 400, Yb + 300.0);
    line(Xl + 400, Yb + 300.0, Xr - 400, Yb + 300.0);
    // Cross mark over the top edge.
    line(Xl + 400, Yt - 150.0, Xl + 400, Yt + 150.0);
    line(Xr - 400, Yt - 150.0, Xr - 400, Yt + 150.0);
    line(Xl + 400, Yt - 150.0, Xr - 400, Yt + 150.0);
    line(Xl + 400, Yt + 150.0, Xr - 400, Yt - 150.0);
    double y = Yt + 200.0;
    for (double i = 1; i <= N; i += 1) {
        surface.SetLineStyle(Dashed);
        line(Xl, y, Xr, y);
        surface.SetLineStyle(Solid);
        line(Xl, y - h, Xr, y - h);
        line(Xl, y + h, Xr, y + h);
        y += L / N;
    }
    return true;
}

DrawResult DrawTool(const QString& tool, DrawingSurface& surface, const Frame& frame,
                    int wrapperOutlineWidth, const AppState& state) {
    if (tool == QLatin1String(GuideToolName))
        return DrawFinAlignmentGuide(surface, frame, state) ? DrawResult::Drawn
                                                            : DrawResult::Refused;
    if (tool == QLatin1String(WrapperToolName))
        return DrawBodyTubeWrapper(surface, frame, wrapperOutlineWidth, state)
                   ? DrawResult::Drawn
                   : DrawResult::Refused;
    return DrawResult::NoTool;
}

} // namespace vanecraft
