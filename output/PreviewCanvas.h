#pragma once

#include "sheets/SheetLayout.h"

#include <QWidget>

namespace vanecraft {

// Paints sheets side by side as they come out of the printer, at a given scale.
class PreviewCanvas : public QWidget {
    Q_OBJECT

public:
    explicit PreviewCanvas(QWidget* parent = nullptr);

    void showSheets(const SheetLayout* layout, double pixelsPerMm);
    double pixelsPerMm() const { return scale_; }
    // The size the sheets need at a scale, gaps included, in millimetres of paper.
    static QSizeF extentMm(const SheetLayout& layout);
    // Where a sheet's top-left corner lies on the canvas, in pixels.
    QPointF sheetOrigin(const Sheet& sheet) const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const SheetLayout* layout_ = nullptr;
    double scale_ = 1;
};

} // namespace vanecraft
