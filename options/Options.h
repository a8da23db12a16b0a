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
    QPushButton* cmdOK = nullptr;

public slots:
    void cmdOK_Click();

signals:
    void saved(); // the settings changed; the main window shows its lengths anew

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    // The paper key the box names ("" for the system's), or false when it names none.
    bool chosenPaper(QString* key) const;
    AppState& state_;
};

} // namespace vanecraft
