#pragma once

#include "model/Design.h"

#include <QString>

namespace vanecraft {

extern const char* const MissingFolderMessage;

// Error numbers shown after "Error:". 62 and 13 are the long-standing ones; the rest are ours.
enum SettingsError {
    ErrorReadPastEnd = 62,  // a line is missing
    ErrorTypeMismatch = 13, // line 1 is not a number
    ErrorPermissionDenied = 70,
    ErrorPathAccess = 75, // the file is a folder or not a regular file
    ErrorDeviceIO = 57,   // reading failed
};

// Reads the paper thickness and the units into `state`, creating the file with its defaults when
// it is missing. Returns what the user must be told, or an empty text.
QString ReadSettingsFile(AppState& state);

// Writes both settings atomically. On failure returns false and the user's message in *error.
bool WriteSettingsFile(float paperThickness, const QString& units, QString* error);

// Whether a paper thickness is one the wrapper can allow for, and that range in words.
bool ThicknessInRange(double millimetres);
QString ThicknessRangeText();

// The thickness as line 1 holds it: the shortest text that reads back to the same number.
QString ThicknessText(float millimetres);

// Reads a thickness written with "." or "," as the separator, blanks around it ignored.
bool ParseThickness(const QString& text, double* value);

} // namespace vanecraft
