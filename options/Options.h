#pragma once

#include "model/Design.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vanecraft {

// The Options dialog: measurement units and paper thickness. OK (or Enter, or Esc) applies and
// saves; the close box leaves everything as it was.
class Options : public QDialog {
    Q_OBJECT

public:
    explicit Options(AppState& state);

    QComboBox* Measurement = nullptr;
    QLineEdit* PaperTCK = nullptr;
    QComboBox* PaperSize = nullptr;  // the paper for Export and Preview
    QCheckBox* ScaleCheck = nullptr; // a scale check on every sheet
    QCheckBox* MarkParts = nullptr;  // the tube's other parts marked on the aids
    QPushButton* cmdOK = nullptr;

public slots:
    void cmdOK_Click();
    // Keeps the thickness in the box the same thickness in the units just chosen.
    void Measurement_Change(const QString& units);

signals:
    void saved(); // the settings changed; the main window shows its lengths anew

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    // The paper key the box names ("" for the system's), or false when it names none.
    bool chosenPaper(QString* key) const;
    // The thickness the box stands for, in millimetres; false when it holds no number.
    bool thicknessInBox(double* millimetres) const;
    QString boxUnits_; // the units the number in the box is in
    // What the box showed after the last switch of units, and the thickness it stood for.
    struct {
        QString text;
        double millimetres = 0;
    } converted_;
    AppState& state_;
};

} // namespace vanecraft
