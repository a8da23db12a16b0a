#include "Options.h"

#include "SettingsFile.h"
#include "app/FormKit.h"
#include "app/Platform.h"
#include "app/Twips.h"
#include "model/Conversions.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vanecraft {

Options::Options(AppState& state) : QDialog(nullptr), state_(state) {
    setObjectName(QStringLiteral("Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(Px(4440), Px(3195));
    MakeTitle(this, TwRect(0, 0, 4455, 615), 18);
    QLabel* Label1 = MakeLabel(this, "Label1", QStringLiteral("Options"), TwRect(0, 480, 4455, 255),
                               FontOf("Arial", 9.75, true));
    Label1->setAlignment(Qt::AlignCenter);
    const QFont small = FontOf("Arial", 9);
    MakeLabel(this, "Label2", QStringLiteral("Measurement units"), TwRect(120, 960, 2415, 255),
              small);
    Measurement = new QComboBox(this);
    Measurement->setObjectName(QStringLiteral("Measurement"));
    Measurement->setEditable(true);
    Measurement->setInsertPolicy(QComboBox::NoInsert);
    Measurement->setGeometry(TwRect(2520, 960, 1335, 315));
    MakeLine(this, "Line1", 0, 1440, 4440, 1440, Qt::gray);
    MakeLabel(this, "Label3", QStringLiteral("Paper thickness"), TwRect(120, 1680, 2295, 255),
              small);
    PaperTCK = MakeTextBox(this, "PaperTCK", TwRect(2520, 1680, 1335, 285), small);
    MakeLine(this, "Line2", 0, 2400, 4440, 2400, Qt::gray);
    cmdOK = MakeOkButton(this, TwRect(2880, 2760, 1467, 345));
    connect(cmdOK, &QPushButton::clicked, this, &Options::cmdOK_Click);
    setTabOrder(PaperTCK, Measurement);
    setTabOrder(Measurement, cmdOK);
    Form_Load();
    PaperTCK->setFocus();
}

void Options::Form_Load() {
    Measurement->addItem(QStringLiteral("Millimeters"));
    Measurement->addItem(QStringLiteral("Inches"));
    Measurement->setEditText(state_.MeasurementUnits);
    if (state_.MeasurementUnits == QStringLiteral("Inches"))
        PaperTCK->setText(NumberText(double(state_.PaperThickness) * InchesPerMillimetre));
    else
        PaperTCK->setText(ThicknessText(state_.PaperThickness));
}

void Options::keyPressEvent(QKeyEvent* event) {
    // Esc confirms, as OK does; only the close box leaves without saving.
    if (event->key() == Qt::Key_Escape) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Options::cmdOK_Click() {
    QString text = PaperTCK->text();
    text.replace(u'.', u',');
    PaperTCK->setText(text);
    double v = 0;
    const QString units = Measurement->currentText();
    if (!ParseThickness(text, &v)) {
        CurrentPlatform().message(
            this, QStringLiteral("The paper thickness \"%1\" is not a number. Please enter a "
                                 "number such as 0,381.")
                      .arg(text));
        return;
    }
    state_.MeasurementUnits = units;
    state_.PaperThickness =
        static_cast<float>(units == QStringLiteral("Inches") ? v / InchesPerMillimetre : v);
    QString problem;
    if (!WriteSettingsFile(state_.PaperThickness, state_.MeasurementUnits, &problem))
        CurrentPlatform().message(this, problem);
    state_.SettingsSaved = true;
    emit saved();
    close();
}

} // namespace vanecraft
