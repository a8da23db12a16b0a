#pragma once

#include "sheets/SheetLayout.h"

#include <QString>

namespace vanecraft {

enum class PageFormat { Pdf, Svg, Unknown };
PageFormat FormatOfPath(const QString& path);

// Writes the sheets to a file: a PDF with one page per sheet, each the paper's size, pens in
// 600-dpi dots; or an SVG of the one sheet (a canvas holding the whole figure when the layout
// tiles), one user unit per twip from its top-left corner. The file appears whole or not at
// all; on failure *error is the user's message.
bool WriteLayout(const SheetLayout& layout, const QString& path, QString* error);

} // namespace vanecraft
