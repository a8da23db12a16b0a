#pragma once

#include "Aids.h"

#include <QString>

namespace vanecraft {

// The printed page of a tool, as the print command draws it: begun, drawn about the A4 centre
// with outline width 3, ended, width set back to 1. Refused or no tool: nothing is recorded
// beyond what the refusal left (no marks, no end of document).
DrawResult RecordPrintedPage(const QString& tool, const AppState& state, RecordingSurface& page);

enum class PageFormat { Pdf, Svg, Unknown };
PageFormat FormatOfPath(const QString& path);

// Writes one A4 portrait page, origin at the paper's corner: PDF (vector, 600 dpi pens) or SVG
// (one user unit per twip). The file appears whole or not at all; on failure *error says why.
bool WritePage(const RecordingSurface& page, const QString& path, QString* error);

} // namespace vanecraft
