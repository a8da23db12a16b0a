#include "PainterSurface.h"

#include <QPainter>

namespace vanecraft {

namespace {
// The dashes of a centre line, whatever the device: 2 mm drawn, 1 mm left out.
constexpr double DashMillimetres = 2.0;
constexpr double GapMillimetres = 1.0;
} // namespace

double DeviceUnitsPerTwip(double dpi) {
    return dpi / (567.0 * 2.54);
}

PainterSurface::PainterSurface(std::function<QPainter*()> start, double dpi,
                               double penUnitsPerPixel)
    : start_(std::move(start)), scale_(DeviceUnitsPerTwip(dpi)), dpi_(dpi),
      penUnits_(penUnitsPerPixel) {}

QPainter* PainterSurface::painter() {
    if (!painter_ && !failed_) {
        painter_ = start_();
        failed_ = painter_ == nullptr;
        if (painter_) {
            painter_->setRenderHint(QPainter::Antialiasing);
            painter_->setBrush(Qt::NoBrush);
            applyPen();
        }
    }
    return painter_;
}

void PainterSurface::applyPen() {
    if (!painter_)
        return;
    const double width = std::max(1, width_) * penUnits_;
    QPen pen(colour_, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (style_ == Dashed) {
        // Qt counts dash lengths in pen widths; the device unit per millimetre does not depend
        // on the pen.
        const double unitsPerMm = dpi_ / 25.4;
        pen.setDashPattern(
            {DashMillimetres * unitsPerMm / width, GapMillimetres * unitsPerMm / width});
    }
    painter_->setPen(pen);
}

void PainterSurface::BeginDrawing() {
    style_ = Solid;
    applyPen();
}

void PainterSurface::DrawLine(float x1, float y1, float x2, float y2) {
    if (QPainter* p = painter())
        p->drawLine(QPointF(x1 * scale_, y1 * scale_), QPointF(x2 * scale_, y2 * scale_));
}

void PainterSurface::DrawCircle(float cx, float cy, float r) {
    if (QPainter* p = painter())
        p->drawEllipse(QPointF(cx * scale_, cy * scale_), r * scale_, r * scale_);
}

void PainterSurface::SetLineStyle(int style) {
    style_ = style;
    applyPen();
}

void PainterSurface::SetLineWidth(int width) {
    width_ = width;
    applyPen();
}

bool PainterSurface::EndDocument() {
    if (!painter_)
        return !failed_;
    const bool ok = painter_->end();
    painter_ = nullptr;
    failed_ = failed_ || !ok;
    return ok;
}

} // namespace vanecraft
