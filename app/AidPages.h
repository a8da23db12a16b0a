#pragma once

#include "aids/Aids.h"
#include "render/PageFiles.h"
#include "sheets/SheetLayout.h"

namespace vanecraft {

// The paper Export and Preview use: the one chosen in the options, else the system's.
Paper ChosenPaper(const AppState& state);

// An aid's sheets, or the user's message why there are none.
struct AidPages {
    SheetLayout layout;
    QString refusal;
    QStringList notes; // what the figure says beneath it of parts it could not mark
    bool ok() const { return refusal.isEmpty(); }
};

// The aid laid out for a file: a PDF gets the sheets on the paper (the export's margins); an
// SVG gets the one sheet when the figure fits it, else one canvas holding the whole figure.
AidPages PagesForFile(const Tool& tool, const AppState& state, PageFormat format,
                      const Paper& paper, bool scaleCheck);

// The aid laid out on the printer's paper and printable area.
AidPages PagesForPrinter(const Tool& tool, const AppState& state, const SheetOptions& options);

} // namespace vanecraft
