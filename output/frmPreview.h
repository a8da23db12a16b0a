#pragma once

#include "sheets/SheetLayout.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vanecraft {

// What the preview shows: the sheets as the printer will get them, or why there are none.
struct PreviewContent {
    SheetLayout layout;
    QString refusal;
};

class PreviewCanvas;

// Shows the previewed aid's sheets: paper, printable area, figure, tile labels. Fitted to the
// window, or at true size. Drawn at the first click into the window, then kept up to date.
class frmPreview : public QDialog {
    Q_OBJECT

public:
    using Source = std::function<PreviewContent()>;
    explicit frmPreview(Source source);

    QPushButton* cmdOK = nullptr;
    QCheckBox* chkTrueSize = nullptr;
    QLabel* notice = nullptr;
    QLabel* problem = nullptr; // why nothing is drawn
    PreviewCanvas* canvas = nullptr;

    // What is drawn now: no sheets before the first click.
    const PreviewContent& shown() const { return shown_; }
    // Pixels per millimetre of paper on the canvas.
    double scale() const;

public slots:
    void Form_Click();
    // Draws again from the current state, once the user has asked for a drawing.
    void refresh();
    void cmdOK_Click() { close(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();
    Source source_;
    PreviewContent shown_;
    bool drawn_ = false;
    QScrollArea* area_ = nullptr;
};

} // namespace vanecraft
