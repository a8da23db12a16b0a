#include "Options.h"

#include "model/Conversions.h"
#include "settings/Preferences.h"
#include "settings/SettingsFile.h"
#include "sheets/Paper.h"
#include "ui/FormKit.h"
#include "ui/Platform.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vanecraft {

namespace {
// Inches whatever the case and blanks, as the settings file is read; anything else counts as
// millimetres.
bool isInches(const QString& units) {
    return units.trimmed().compare(QLatin1String("Inches"), Qt::CaseInsensitive) == 0;
}
} // namespace

Options::Options(AppState& state) : QDialog(nullptr), state_(state) {
    setObjectName(QStringLiteral("Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(Px(4440), Px(4275));
    MakeTitle(this, TwRect(0, 0, 4455, 615), 18);
    QLabel* Label1 = MakeLabel(this, "Label1", QStringLiteral("Options"), TwRect(0, 540, 4455, 255),
                               FontOf("Arial", 9.75, true));
    Label1->setAlignment(Qt::AlignCenter);
    const QFont small = FontOf("Arial", 9);
    MakeLabel(this, "Label2", QStringLiteral("Measurement units"), TwRect(120, 960, 2415, 255),
              small);
    Measurement = new QComboBox(this);
    Measurement->setObjectName(QStringLiteral("Measurement"));
    Measurement->setEditable(true);
    Measurement->setInsertPolicy(QComboBox::NoInsert);
    Measurement->setGeometry(TwRect(2520, 960, 1500, 315));
    MakeLine(this, "Line1", 0, 1440, 4440, 1440, Qt::gray);
    MakeLabel(this, "Label3", QStringLiteral("Paper thickness"), TwRect(120, 1680, 2295, 255),
              small);
    PaperTCK = MakeTextBox(this, "PaperTCK", TwRect(2520, 1680, 1335, 285), small);
    MakeLine(this, "Line2", 0, 2400, 4440, 2400, Qt::gray);
    MakeLabel(this, "Label4", QStringLiteral("Paper"), TwRect(120, 2580, 1000, 255), small);
    PaperSize = new QComboBox(this);
    PaperSize->setObjectName(QStringLiteral("PaperSize"));
    PaperSize->setEditable(true);
    PaperSize->setInsertPolicy(QComboBox::NoInsert);
    PaperSize->setGeometry(TwRect(1200, 2520, 3120, 315));
    PaperSize->setToolTip(QStringLiteral("The paper for Export and Preview (Print takes the one "
                                         "chosen in the print dialog): one from the list, or "
                                         "WIDTHxHEIGHT in millimetres"));
    ScaleCheck = new QCheckBox(QStringLiteral("Scale check on every sheet"), this);
    ScaleCheck->setObjectName(QStringLiteral("ScaleCheck"));
    ScaleCheck->setFont(small);
    ScaleCheck->setGeometry(TwRect(120, 2940, 4200, 285));
    MarkParts = new QCheckBox(QStringLiteral("Mark lugs, rail buttons and other fin sets"), this);
    MarkParts->setObjectName(QStringLiteral("MarkParts"));
    MarkParts->setFont(small);
    MarkParts->setGeometry(TwRect(120, 3300, 4200, 285));
    MarkParts->setToolTip(QStringLiteral("Both aids mark every other part on the fin set's tube "
                                         "at its angle to the set's first fin"));
    MakeLine(this, "Line3", 0, 3720, 4440, 3720, Qt::gray);
    cmdOK = MakeOkButton(this, TwRect(2880, 3840, 1467, 345));
    connect(cmdOK, &QPushButton::clicked, this, &Options::cmdOK_Click);
    setTabOrder(PaperTCK, Measurement);
    setTabOrder(Measurement, PaperSize);
    setTabOrder(PaperSize, ScaleCheck);
    setTabOrder(ScaleCheck, MarkParts);
    setTabOrder(MarkParts, cmdOK);
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
    PaperSize->addItem(QStringLiteral("System default (%1)").arg(SystemDefaultPaper().caption));
    for (const Paper& p : StandardPapers())
        PaperSize->addItem(p.caption, p.key);
    const std::optional<Paper> chosen = PaperFromKey(state_.PaperKey);
    const int at = chosen ? PaperSize->findData(chosen->key) : 0;
    if (at >= 0)
        PaperSize->setCurrentIndex(at);
    else
        PaperSize->setEditText(chosen->key);
    ScaleCheck->setChecked(state_.ScaleCheck);
    MarkParts->setChecked(state_.MarkParts);
    boxUnits_ = state_.MeasurementUnits;
    converted_ = {PaperTCK->text(), state_.PaperThickness};
    connect(Measurement, &QComboBox::currentTextChanged, this, &Options::Measurement_Change);
}

bool Options::thicknessInBox(double* millimetres) const {
    // Untouched since the units were switched: the thickness the user had, not its rounding.
    if (PaperTCK->text() == converted_.text) {
        *millimetres = converted_.millimetres;
        return true;
    }
    double v = 0;
    if (!ParseThickness(PaperTCK->text(), &v))
        return false;
    *millimetres = isInches(boxUnits_) ? v / InchesPerMillimetre : v;
    return true;
}

void Options::Measurement_Change(const QString& units) {
    double millimetres = 0;
    const bool known = thicknessInBox(&millimetres);
    const bool wasInches = isInches(boxUnits_);
    boxUnits_ = units;
    // A number stays the same thickness in the new units; anything else is left as typed.
    if (!known || wasInches == isInches(units))
        return;
    PaperTCK->setText(isInches(units) ? QString::number(millimetres * InchesPerMillimetre, 'g', 6)
                                      : QString::number(float(millimetres), 'g', 6));
    converted_ = {PaperTCK->text(), millimetres};
}

bool Options::chosenPaper(QString* key) const {
    const QString text = PaperSize->currentText();
    const int at = PaperSize->findText(text, Qt::MatchFixedString);
    if (at >= 0) {
        *key = PaperSize->itemData(at).toString();
        return true;
    }
    const std::optional<Paper> p = PaperFromKey(text);
    if (p)
        *key = p->key;
    return p.has_value();
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
    const QString units = Measurement->currentText();
    double millimetres = 0;
    if (!thicknessInBox(&millimetres)) {
        CurrentPlatform().message(
            this, QStringLiteral("The paper thickness \"%1\" is not a number. Please enter a "
                                 "number such as 0.381.")
                      .arg(PaperTCK->text()));
        return;
    }
    if (!ThicknessInRange(millimetres)) {
        CurrentPlatform().message(
            this, QStringLiteral("The paper thickness \"%1\" is outside %2%3. Please enter the "
                                 "thickness of the paper you print on.")
                      .arg(PaperTCK->text(), ThicknessRangeText(),
                           isInches(units) ? QStringLiteral(" (0 to 0.118 in)") : QString()));
        return;
    }
    QString paperKey;
    if (!chosenPaper(&paperKey)) {
        CurrentPlatform().message(
            this, QStringLiteral("The paper \"%1\" is not one Vanecraft knows: choose one from "
                                 "the list, or type its width and height in millimetres, such as "
                                 "610x914 (each from %2 to %3 mm).")
                      .arg(PaperSize->currentText())
                      .arg(SmallestPaperMm)
                      .arg(LargestPaperMm));
        return;
    }
    state_.PaperKey = paperKey;
    state_.ScaleCheck = ScaleCheck->isChecked();
    state_.MarkParts = MarkParts->isChecked();
    WritePreferences(state_);
    // Units are written as one of the two the file knows, whatever was typed.
    state_.MeasurementUnits =
        isInches(units) ? QStringLiteral("Inches") : QStringLiteral("Millimeters");
    state_.PaperThickness = static_cast<float>(millimetres);
    QString problem;
    if (!WriteSettingsFile(state_.PaperThickness, state_.MeasurementUnits, &problem))
        CurrentPlatform().message(this, problem);
    state_.SettingsSaved = true;
    emit saved();
    close();
}

} // namespace vanecraft
