#pragma once

// The scale check a sheet carries: a bar of round, stated length with a caption, and where it
// can go without touching the figure. Used by the sheet layout only.
#include "SheetLayout.h"

#include <optional>

namespace vanecraft {

// The scale check sits this far in from the printable edge and this far clear of the figure.
constexpr double ScaleInsetMm = 1;
constexpr double ScaleClearanceMm = 2;
constexpr double TickMm = 3;
constexpr double CaptionMm = 3;
constexpr double CaptionGapMm = 1;
constexpr double ScaleHeightMm = CaptionMm + CaptionGapMm + TickMm;

struct ScaleSize {
    double mm;
    QString stated;
};

struct ScaleCheck {
    std::vector<SheetStroke> marks;
    SheetText caption;
};

// A round length the builder can lay a ruler against, longest first.
std::vector<ScaleSize> ScaleSizes(bool inches);
QString ScaleCaption(const ScaleSize& size);
// The width of the bar and its caption together.
double ScaleWidth(const ScaleSize& size);
SheetStroke MarkLine(double x1, double y1, double x2, double y2);
// The caption over the bar, the block's top-left corner at (left, top), sheet mm.
ScaleCheck MakeScaleCheck(const ScaleSize& size, double left, double top);
// The first corner of the printable area, with the longest bar, where the scale check keeps clear
// of the figure drawn with its offset (dx, dy).
std::optional<ScaleCheck> CornerScaleCheck(const Figure& figure, double dx, double dy,
                                           const RectMm& p, bool inches);

} // namespace vanecraft
