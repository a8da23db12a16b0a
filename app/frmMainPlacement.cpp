#include "frmMain.h"

#include "PlacementStore.h"
#include "model/Conversions.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

// Where the main window opens, and what it keeps of that for the next run.

namespace vanecraft {

namespace {

const char* const PlacementKeys[4] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
constexpr double PlacementDefaults[3] = {1000, 1000, 6500};
constexpr double FixedHeight = 7500;

} // namespace

void frmMain::restorePlacement() {
    PlacementStore store;
    // Every value is brought within the screens before it becomes pixels: a stored 1e10 would
    // overflow, and a width of 1e8 would ask for a gigabyte of window.
    QRect screens(0, 0, 1920, 1080);
    if (!QGuiApplication::screens().isEmpty()) {
        screens = QRect();
        for (QScreen* s : QGuiApplication::screens())
            screens |= s->availableGeometry();
    }
    const double lowest[3] = {(screens.left() - screens.width()) * TwipsPerPixel,
                              (screens.top() - screens.height()) * TwipsPerPixel, TwipsPerPixel};
    const double highest[3] = {(screens.right() + 1) * TwipsPerPixel,
                               (screens.bottom() + 1) * TwipsPerPixel,
                               screens.width() * TwipsPerPixel};
    double v[3];
    for (int i = 0; i < 3; ++i) {
        const QString text = store.value(QString::fromLatin1(PlacementKeys[i])).toString();
        bool ok = false;
        const float f = text.trimmed().toFloat(&ok);
        // A value that is not a number (or no value) falls back to the default.
        v[i] = ok && std::isfinite(f) ? f : PlacementDefaults[i];
        const double bounded = std::clamp(v[i], lowest[i], highest[i]);
        placedTwips_[i] = NumberText(bounded, QStringLiteral("."));
        v[i] = bounded;
    }
    placedTwips_[3] = NumberText(FixedHeight, QStringLiteral("."));
    QPoint pos(Px(v[0]), Px(v[1]));
    const QSize size(std::max(1, Px(v[2])), Px(FixedHeight));

    // A window that would open off every screen comes back onto the primary one.
    const QRect wanted(pos, size);
    bool visible = false;
    for (QScreen* s : QGuiApplication::screens())
        visible = visible || s->availableGeometry().intersects(wanted);
    if (!visible && QGuiApplication::primaryScreen()) {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        pos = avail.topLeft() + QPoint(Px(PlacementDefaults[0]), Px(PlacementDefaults[1]));
        if (!avail.contains(pos))
            pos = avail.topLeft();
        placedTwips_[0] = NumberText(pos.x() * TwipsPerPixel, QStringLiteral("."));
        placedTwips_[1] = NumberText(pos.y() * TwipsPerPixel, QStringLiteral("."));
    }
    move(pos);
    resize(size);
    placedPos_ = pos;
    placedSize_ = size;
}

void frmMain::savePlacement() {
    PlacementStore store;
    const QPoint p = pos();
    const QSize s = size();
    const int now[4] = {p.x(), p.y(), s.width(), s.height()};
    const int then[4] = {placedPos_.x(), placedPos_.y(), placedSize_.width(), placedSize_.height()};
    for (int i = 0; i < 4; ++i) {
        const QString text = now[i] == then[i]
                                 ? placedTwips_[i]
                                 : NumberText(float(now[i] * TwipsPerPixel), QStringLiteral("."));
        store.setValue(QString::fromLatin1(PlacementKeys[i]), text);
    }
}

} // namespace vanecraft
