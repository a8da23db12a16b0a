#include "PreviewCanvas.h"

#include "render/SheetPainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace vanecraft {

namespace {
// Room around and between the sheets on screen, in millimetres of paper.
constexpr double GapMm = 8;
} // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("canvas"));
}

QSizeF PreviewCanvas::extentMm(const SheetLayout& l) {
    return {l.columns * (l.paper.widthMm + GapMm) + GapMm,
            l.rows * (l.paper.heightMm + GapMm) + GapMm};
}

void PreviewCanvas::showSheets(const SheetLayout* layout, double pixelsPerMm) {
    layout_ = layout;
    scale_ = pixelsPerMm;
    const QSizeF mm = layout && layout->ok ? extentMm(*layout) : QSizeF(0, 0);
    resize(std::max(1, qRound(mm.width() * scale_)), std::max(1, qRound(mm.height() * scale_)));
    update();
}

QPointF PreviewCanvas::sheetOrigin(const Sheet& s) const {
    if (!layout_)
        return {};
    return {(GapMm + s.column * (layout_->paper.widthMm + GapMm)) * scale_,
            (GapMm + s.row * (layout_->paper.heightMm + GapMm)) * scale_};
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
    if (!layout_ || !layout_->ok)
        return;
    QPainter p(this);
    const Paper& paper = layout_->paper;
    const RectMm& area = layout_->printable;
    PaintStyle style;
    style.unitsPerMm = scale_;
    style.outlineWidth = 5;
    for (const Sheet& s : layout_->sheets) {
        const QPointF o = sheetOrigin(s);
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(o, QSizeF(paper.widthMm * scale_, paper.heightMm * scale_)));
        p.setPen(QPen(QColor(160, 190, 230), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(o.x() + area.left * scale_, o.y() + area.top * scale_,
                          area.width() * scale_, area.height() * scale_));
        style.origin = o;
        PaintSheet(p, s, style);
    }
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

} // namespace vanecraft
