#pragma once

#include "sheets/SheetLayout.h"

#include <QString>

class QPrinter;

namespace vanecraft {

// The paper the printer holds and the part of it the printer can print on.
SheetOptions PrinterSheetOptions(const QPrinter& printer, bool scaleCheck);

// Prints every sheet at true size, full page, one page each. Returns an empty text, or why the
// printer did not take the job (naming the printer).
QString PrintLayout(const SheetLayout& layout, QPrinter& printer);

} // namespace vanecraft
