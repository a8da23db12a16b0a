#pragma once

#include "aids/Figure.h"

#include <optional>
#include <vector>

namespace vanecraft {

// The part of a segment inside a closed rectangle, as parameters 0 <= t0 <= t1 <= 1 along it
// (Liang–Barsky). Nothing when the segment misses the rectangle.
struct SegmentSpan {
    double t0 = 0, t1 = 1;
};
std::optional<SegmentSpan> SegmentInside(double x1, double y1, double x2, double y2,
                                         const RectMm& rect);

// Whether some point of the segment, or of the circle's outline, lies in the closed rectangle.
// A rectangle wholly inside a circle, clear of its outline, is not touched.
bool SegmentTouches(double x1, double y1, double x2, double y2, const RectMm& rect);
bool CircleTouches(double cx, double cy, double radius, const RectMm& rect);

// Angles in radians of the point (cx + r cos a, cy + r sin a) with y downwards: a growing angle
// turns clockwise as seen.
struct AngleSpan {
    double start = 0, sweep = 0;
};
// The parts of a circle's outline inside a closed rectangle.
struct CircleClip {
    bool whole = false;
    std::vector<AngleSpan> spans; // when not whole; none when the outline misses the rectangle
};
CircleClip CircleInside(double cx, double cy, double radius, const RectMm& rect);

} // namespace vanecraft
