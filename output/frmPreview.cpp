#include "frmPreview.h"

#include "app/FormKit.h"
#include "app/Platform.h"
#include "app/Twips.h"
#include "output/Aids.h"
#include "output/PainterSurface.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace vanecraft {

frmPreview::frmPreview(const AppState& state) : QDialog(nullptr), state_(state) {
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Preview"));
    setFont(FontOf("Arial", 9.75));
    resize(Px(10890), Px(9150));
    cmdOK = MakeOkButton(this, TwRect(0, 0, 1467, 345), QStringLiteral("Close preview"));
    connect(cmdOK, &QPushButton::clicked, this, &frmPreview::cmdOK_Click);
    notice = MakeLabel(this, "notice", QStringLiteral("Click anyware to get the preview ;)"),
                       TwRect(3720, 4320, 3615, 375), FontOf("Arial", 12, false, true));
    setTabOrder(notice, cmdOK);
}

void frmPreview::mousePressEvent(QMouseEvent* event) {
    // A click on the hint itself does not draw.
    QWidget* hit = childAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || (hit == notice && notice->isVisible()))
        return;
    Form_Click();
}

void frmPreview::Form_Click() {
    notice->hide();
    drawing_.clear();
    drawing_.ClearSurface();
    // The figure's centre is half the window's outer size, frame and title bar included.
    const double twipsPerPixel = 1.0 / DeviceUnitsPerTwip(logicalDpiX());
    const QRect outer = frameGeometry();
    const float centreX = static_cast<float>(outer.width() * twipsPerPixel / 2);
    const float centreY = static_cast<float>(outer.height() * twipsPerPixel / 2);
    drawing_.BeginDrawing();
    const Frame frame = ComputeFrame(state_, centreX, centreY);
    const DrawResult r = DrawTool(state_.PreviewTool, drawing_, frame, 5, state_);
    update();
    if (r == DrawResult::Refused)
        CurrentPlatform().message(this, QString::fromUtf8(WrongValueMessage));
}

void frmPreview::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    PainterSurface surface([&]() { return &painter; }, logicalDpiX());
    surface.setColour(palette().color(QPalette::WindowText));
    drawing_.ReplayOn(surface);
}

} // namespace vanecraft
