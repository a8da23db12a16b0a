#pragma once

#include <QString>

namespace vanecraft {

constexpr double InchesPerMillimetre = 0.03936996; // the factor in force, not 1/25.4
constexpr double TwipsPerCentimetre = 567.0;

// The number at the start of a text: blanks, tabs and line ends anywhere are ignored, then an
// optional sign, digits, "." and an optional exponent; anything else ends it. No number gives 0.
double Val(const QString& text);

// General decimal form with at most 15 significant digits, never an exponent.
QString NumberText(double value, const QString& decimalPoint);
// The same with the system's decimal separator.
QString NumberText(double value);

// How a stored millimetre text is shown in a box: converted only when the units are exactly
// "Inches".
QString DisplayLength(const QString& text, const QString& measurementUnits);

// A text from a file as it may be shown on a terminal, in a message or on a sheet: control
// characters (C0, DEL, C1) written as \xHH, so a name cannot forge lines or reach the terminal as
// commands, and the marks that turn the direction of text as \uHHHH, so a name cannot reverse
// the words after it.
QString ShownText(const QString& text);

// A stored length in twips: Val(text) x 567 / 10, in that order.
double LengthToTwips(const QString& text);

} // namespace vanecraft
