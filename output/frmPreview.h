#pragma once

#include "model/Design.h"
#include "output/DrawingSurface.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vanecraft {

// Shows the previewed aid at true size, drawn anew at each click into the window.
class frmPreview : public QDialog {
    Q_OBJECT

public:
    explicit frmPreview(const AppState& state);

    QPushButton* cmdOK = nullptr;
    QLabel* notice = nullptr;
    // What the last click drew, kept so the figure survives being covered or resized.
    const RecordingSurface& drawing() const { return drawing_; }

public slots:
    void Form_Click();
    void cmdOK_Click() { close(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const AppState& state_;
    RecordingSurface drawing_;
};

} // namespace vanecraft
