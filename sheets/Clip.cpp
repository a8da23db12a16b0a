#include "Clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vanecraft {

namespace {

constexpr double FullTurn = 2 * std::numbers::pi;
// Cuts closer than this are one cut; a midpoint this far outside an edge is still on it.
constexpr double AngleEpsilon = 1e-12;
constexpr double EdgeEpsilon = 1e-9;

double Turned(double a) {
    if (a < 0)
        a += FullTurn;
    return a >= FullTurn ? a - FullTurn : a;
}

// Where the circle crosses the lines through the rectangle's edges; extra cuts where a line
// crosses outside the edge itself only split a span, which merging joins again.
std::vector<double> EdgeCuts(double cx, double cy, double radius, const RectMm& rect) {
    std::vector<double> cuts;
    for (double x : {rect.left, rect.right}) {
        const double d = (x - cx) / radius;
        if (std::abs(d) <= 1) {
            cuts.push_back(Turned(std::acos(d)));
            cuts.push_back(Turned(-std::acos(d)));
        }
    }
    for (double y : {rect.top, rect.bottom}) {
        const double d = (y - cy) / radius;
        if (std::abs(d) <= 1) {
            cuts.push_back(Turned(std::asin(d)));
            cuts.push_back(Turned(std::numbers::pi - std::asin(d)));
        }
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

bool PointInside(double x, double y, const RectMm& rect) {
    return x >= rect.left - EdgeEpsilon && x <= rect.right + EdgeEpsilon &&
           y >= rect.top - EdgeEpsilon && y <= rect.bottom + EdgeEpsilon;
}

void Extend(std::vector<AngleSpan>& spans, double from, double to) {
    if (!spans.empty() && std::abs(spans.back().start + spans.back().sweep - from) < AngleEpsilon)
        spans.back().sweep = to - spans.back().start;
    else
        spans.push_back({from, to - from});
}

} // namespace

std::optional<SegmentSpan> SegmentInside(double x1, double y1, double x2, double y2,
                                         const RectMm& rect) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - rect.left, rect.right - x1, y1 - rect.top, rect.bottom - y1};
    SegmentSpan span;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
        } else if (p[i] < 0) {
            span.t0 = std::max(span.t0, q[i] / p[i]);
        } else {
            span.t1 = std::min(span.t1, q[i] / p[i]);
        }
    }
    if (span.t0 > span.t1)
        return std::nullopt;
    return span;
}

bool SegmentTouches(double x1, double y1, double x2, double y2, const RectMm& rect) {
    return SegmentInside(x1, y1, x2, y2, rect).has_value();
}

bool CircleTouches(double cx, double cy, double radius, const RectMm& rect) {
    const double nearX = std::clamp(cx, rect.left, rect.right) - cx;
    const double nearY = std::clamp(cy, rect.top, rect.bottom) - cy;
    const double farX = std::max(std::abs(cx - rect.left), std::abs(cx - rect.right));
    const double farY = std::max(std::abs(cy - rect.top), std::abs(cy - rect.bottom));
    return std::hypot(nearX, nearY) <= radius && std::hypot(farX, farY) >= radius;
}

CircleClip CircleInside(double cx, double cy, double radius, const RectMm& rect) {
    CircleClip clip;
    clip.whole = rect.contains({cx - radius, cy - radius, cx + radius, cy + radius});
    if (clip.whole || !(radius > 0) || !CircleTouches(cx, cy, radius, rect))
        return clip;
    const std::vector<double> cuts = EdgeCuts(cx, cy, radius, rect);
    for (size_t i = 0; i < cuts.size(); ++i) {
        const double from = cuts[i];
        const double to = i + 1 < cuts.size() ? cuts[i + 1] : cuts.front() + FullTurn;
        const double mid = (from + to) / 2;
        if (to - from > AngleEpsilon &&
            PointInside(cx + radius * std::cos(mid), cy + radius * std::sin(mid), rect))
            Extend(clip.spans, from, to);
    }
    // A span running on past the last cut into the first is one span.
    if (clip.spans.size() > 1 && clip.spans.front().start == cuts.front() &&
        std::abs(clip.spans.back().start + clip.spans.back().sweep - cuts.front() - FullTurn) <
            AngleEpsilon) {
        clip.spans.back().sweep += clip.spans.front().sweep;
        clip.spans.erase(clip.spans.begin());
    }
    return clip;
}

} // namespace vanecraft
