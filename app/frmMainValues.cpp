#include "frmMain.h"

#include "model/Conversions.h"
#include "ui/Platform.h"

#include <QLineEdit>
#include <QLocale>

#include <cmath>

// The main window's value boxes: what they show, and what the user types into them.

namespace vanecraft {

const char* const MainCaption = "Vanecraft For RockSim";
const char* const IdleStatus = "Stato";

namespace {

// Where a box's value lives: in the fin set, or in the tube that carries it.
struct BoxOf {
    QLineEdit* frmMain::*box;
    Value FinSet::*finSetValue; // null for a tube's value
    Value TubeValues::*tubeValue;
    bool length;
    const char* what;
};

const BoxOf Boxes[] = {
    {&frmMain::OD, nullptr, &TubeValues::OD, true, "outer diameter"},
    {&frmMain::ID, nullptr, &TubeValues::ID, true, "inner diameter"},
    {&frmMain::BLength, nullptr, &TubeValues::Len, true, "length"},
    {&frmMain::FinsNumber, &FinSet::Count, nullptr, false, "number of fins"},
    {&frmMain::Span, &FinSet::Span, nullptr, true, "semi span"},
    {&frmMain::Thickness, &FinSet::Thickness, nullptr, true, "thickness"},
    {&frmMain::Root, &FinSet::Root, nullptr, true, "root chord"},
};

bool inInches(const AppState& s) {
    return s.MeasurementUnits == QLatin1String("Inches");
}

const Value& valueOf(const BoxOf& b, const FinSet& f) {
    return b.finSetValue ? f.*b.finSetValue : f.Tube.*b.tubeValue;
}

// Fins on a nose cone or a transition have no tube: its boxes show nothing, in any units.
bool noTube(const BoxOf& b, const FinSet& f) {
    return !b.finSetValue && !f.Tube.Carrier.isEmpty();
}

// A value as the box shows it, and with its unit for the tool tip.
QString shown(const BoxOf& b, const Value& v, const AppState& s) {
    return b.length ? DisplayLength(v.text, s.MeasurementUnits) : v.text;
}

QString withUnit(const BoxOf& b, const QString& text, const AppState& s) {
    if (!b.length)
        return text;
    return text + (inInches(s) ? QStringLiteral(" in") : QStringLiteral(" mm"));
}

// A number typed with "." or "," as the decimal point, blanks around it ignored.
bool typedNumber(const QString& text, double* value) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    *value = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(*value);
}

void setValue(Value& v, double number) {
    if (!v.asRead)
        v.asRead = v.text;
    v.text = NumberText(number, QStringLiteral("."));
    v.number = number;
}

} // namespace

// Writes the boxes for a fin set, in the units in force; with `all` the rocket name, the fin
// count and the fin-set name too (counts and names are never converted). Each box shows its
// value from the start, whole in its tool tip; a value typed over the file's says so.
void frmMain::showBoxes(int slot, bool all) {
    const FinSet& f = state_.design.finSet(slot);
    boxesShow_ = slot;
    if (all) {
        RName->setText(state_.design.RocketName);
        FName->setText(f.Name);
        for (QLineEdit* name : {RName, FName}) {
            name->setCursorPosition(0);
            name->setToolTip(name->text());
        }
    }
    for (const BoxOf& b : Boxes) {
        if (!all && !b.length)
            continue;
        QLineEdit* box = this->*b.box;
        const Value& v = valueOf(b, f);
        box->setText(noTube(b, f) ? QString() : shown(b, v, state_));
        box->setCursorPosition(0);
        QString tip = withUnit(b, box->text(), state_);
        if (v.asRead)
            tip += QStringLiteral(" (typed in; the design says %1)")
                       .arg(withUnit(b, shown(b, Value::of(*v.asRead), state_), state_));
        box->setToolTip(tip);
        QFont font = box->font();
        font.setItalic(v.asRead.has_value());
        box->setFont(font);
    }
}

void frmMain::connectValueBoxes() {
    // Names only label the design and its messages: they are shown, not edited.
    RName->setReadOnly(true);
    FName->setReadOnly(true);
    for (const BoxOf& b : Boxes) {
        QLineEdit* box = this->*b.box;
        connect(box, &QLineEdit::editingFinished, this, [this, box] { commitBox(box); });
    }
}

void frmMain::disconnectValueBoxes() {
    for (const BoxOf& b : Boxes)
        disconnect(this->*b.box, &QLineEdit::editingFinished, this, nullptr);
}

bool frmMain::commitTypedValues() {
    for (const BoxOf& b : Boxes)
        if (!commitBox(this->*b.box))
            return false;
    return true;
}

bool frmMain::commitBox(QLineEdit* box) {
    const BoxOf* b = nullptr;
    for (const BoxOf& each : Boxes)
        b = this->*each.box == box ? &each : b;
    // What the boxes hold belongs to the fin set they show.
    const int n = boxesShow_;
    const FinSet& f = state_.design.finSet(n);
    if (!b || box->text() == (noTube(*b, f) ? QString() : shown(*b, valueOf(*b, f), state_)))
        return true; // nothing typed
    double typed = 0;
    QString problem;
    if (n < 1 || n > int(state_.design.FinSets.size()))
        problem = QStringLiteral("There is no fin set %1 in a loaded design to give the %2 \"%3\": "
                                 "load a design first.")
                      .arg(n)
                      .arg(QString::fromLatin1(b->what), box->text());
    else if (noTube(*b, f))
        problem = QStringLiteral("The fins of fin set %1 sit on %2, which has no %3 to give.")
                      .arg(n)
                      .arg(f.Tube.Carrier, QString::fromLatin1(b->what));
    else if (!typedNumber(box->text(), &typed))
        problem = QStringLiteral("The %1 \"%2\" is not a number. Please type a number such as "
                                 "41.6.")
                      .arg(QString::fromLatin1(b->what), box->text());
    if (!problem.isEmpty()) {
        showBoxes(n, true);
        CurrentPlatform().message(this, problem);
        return false;
    }
    const double number = b->length && inInches(state_) ? typed / InchesPerMillimetre : typed;
    FinSet& changed = state_.design.FinSets[size_t(n) - 1];
    if (b->finSetValue) {
        setValue(changed.*b->finSetValue, number);
    } else {
        // Every fin set on the same tube sees the tube as measured.
        const int tube = changed.Tube.Index;
        for (FinSet& other : state_.design.FinSets)
            if (&other == &changed || (tube >= 0 && other.Tube.Index == tube))
                setValue(other.Tube.*b->tubeValue, number);
    }
    showBoxes(n, true);
    refreshPreview();
    return true;
}

} // namespace vanecraft
