#pragma once

#include "output/DrawingSurface.h"

class QPrinter;
class QWidget;

namespace vanecraft {

// Sends a recorded page to a printer as one upright A4 sheet whose origin is the paper's
// corner. False when the printer could not start the job.
bool PrintPage(const RecordingSurface& page, QPrinter& printer);

// Asks for a file name (PDF or SVG as `filter` allows) and writes the page there, telling the
// user of any failure. False when nothing was written.
bool SavePageAs(QWidget* parent, const RecordingSurface& page, const QString& title,
                const QString& filter);

} // namespace vanecraft
