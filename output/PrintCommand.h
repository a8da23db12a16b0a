#pragma once

#include "output/DrawingSurface.h"

class QPrinter;
class QWidget;

namespace vanecraft {

// Sends a recorded page to a printer as one upright A4 sheet whose origin is the paper's
// corner. False when the printer could not start the job.
bool PrintPage(const RecordingSurface& page, QPrinter& printer);

// Writes the page to `path` (a name without an extension becomes a PDF), telling the user of
// any failure. False when nothing was written.
bool SavePageTo(QWidget* parent, const RecordingSurface& page, QString path);

} // namespace vanecraft
