#pragma once

#include "DrawingSurface.h"

#include <QColor>
#include <functional>

class QPainter;

namespace vanecraft {

// Draws on any Qt paint device: a printer, a PDF or SVG file, a window. The painter is started
// only at the first mark, so a drawing that draws nothing never opens a print job.
class PainterSurface : public DrawingSurface {
public:
    // `start` returns an active painter on the device, or null when the device refuses.
    // `dpi` is the device's resolution; `penUnitsPerPixel` turns a width in pixels into the
    // device's units (1 for real pixels).
    PainterSurface(std::function<QPainter*()> start, double dpi, double penUnitsPerPixel = 1);

    void BeginDrawing() override;
    void DrawLine(float x1, float y1, float x2, float y2) override;
    void DrawCircle(float cx, float cy, float r) override;
    void SetLineStyle(int style) override;
    void SetLineWidth(int width) override;
    bool EndDocument() override;

    void setColour(const QColor& c) { colour_ = c; }
    bool started() const { return painter_ != nullptr; }
    bool failed() const { return failed_; }

private:
    QPainter* painter();
    void applyPen();

    std::function<QPainter*()> start_;
    QPainter* painter_ = nullptr;
    bool failed_ = false;
    double scale_;
    double dpi_;
    double penUnits_;
    int style_ = Solid;
    int width_ = 1;
    QColor colour_ = Qt::black;
};

// Device units per twip at a resolution: twips x dpi / (567 x 2.54).
double DeviceUnitsPerTwip(double dpi);

} // namespace vanecraft
