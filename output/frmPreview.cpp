#include "frmPreview.h"

#include "PreviewCanvas.h"
#include "ui/FormKit.h"
#include "ui/Platform.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>

namespace vanecraft {

namespace {
constexpr double ButtonStrip = 345; // twips: the row of the button and the switch
} // namespace

frmPreview::frmPreview(Source source) : QDialog(nullptr), source_(std::move(source)) {
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Preview"));
    setFont(FontOf("Arial", 9.75));
    resize(Px(10890), Px(9150));
    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("area"));
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Dark);
    canvas = new PreviewCanvas;
    area_->setWidget(canvas);
    connect(canvas, &PreviewCanvas::clicked, this, &frmPreview::Form_Click);
    cmdOK = MakeOkButton(this, TwRect(0, 0, 1467, ButtonStrip), QStringLiteral("Close preview"));
    connect(cmdOK, &QPushButton::clicked, this, &frmPreview::cmdOK_Click);
    chkTrueSize = new QCheckBox(QStringLiteral("&True size"), this);
    chkTrueSize->setObjectName(QStringLiteral("chkTrueSize"));
    chkTrueSize->setGeometry(TwRect(1600, 0, 1500, ButtonStrip));
    connect(chkTrueSize, &QCheckBox::toggled, this, &frmPreview::refresh);
    problem = new QLabel(this);
    problem->setObjectName(QStringLiteral("problem"));
    problem->setWordWrap(true);
    problem->hide();
    notice = MakeLabel(this, "notice", QStringLiteral("Click anyware to get the preview ;)"),
                       TwRect(3330, 4320, 4200, 375), FontOf("Arial", 12, false, true));
    setTabOrder(notice, cmdOK);
    setTabOrder(cmdOK, chkTrueSize);
}

void frmPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int top = Px(ButtonStrip);
    area_->setGeometry(0, top, width(), height() - top);
    problem->setGeometry(Px(240), top + Px(240), width() - Px(480), Px(1500));
    if (drawn_ && !chkTrueSize->isChecked())
        redraw();
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
    drawn_ = true;
    redraw();
    if (!shown_.refusal.isEmpty())
        CurrentPlatform().message(this, shown_.refusal);
}

void frmPreview::refresh() {
    if (drawn_)
        redraw();
}

double frmPreview::scale() const {
    if (chkTrueSize->isChecked())
        return logicalDpiX() / 25.4;
    if (!shown_.layout.ok)
        return 1;
    const QSizeF mm = PreviewCanvas::extentMm(shown_.layout);
    const QSize room = area_->maximumViewportSize();
    return std::min(room.width() / mm.width(), room.height() / mm.height());
}

void frmPreview::redraw() {
    shown_ = source_();
    problem->setText(shown_.refusal);
    problem->setVisible(!shown_.refusal.isEmpty());
    canvas->showSheets(&shown_.layout, scale());
}

} // namespace vanecraft
