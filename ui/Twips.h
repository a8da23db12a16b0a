#pragma once

#include <QRect>
#include <QtGlobal>

namespace vanecraft {

// Layout twips are 1/1440 inch: 15 make a device-independent pixel at 96 dpi, and Qt scales
// those on HiDPI screens.
constexpr double TwipsPerPixel = 15.0;

inline int Px(double twips) {
    return qRound(twips / TwipsPerPixel);
}

inline QRect TwRect(double left, double top, double width, double height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

} // namespace vanecraft
