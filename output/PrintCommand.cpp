#include "PrintCommand.h"

#include "app/Platform.h"
#include "output/PageOutput.h"
#include "output/PainterSurface.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace vanecraft {

bool PrintPage(const RecordingSurface& page, QPrinter& printer) {
    // Portrait is the one printer setting the page needs; full-page mode puts the origin at the
    // paper's corner, so the figure is centred on the sheet, not on its printable area.
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Vanecraft"));
    QPainter painter;
    PainterSurface surface([&]() { return painter.begin(&printer) ? &painter : nullptr; },
                           printer.resolution());
    page.ReplayOn(surface);
    return !surface.failed();
}

bool SavePageTo(QWidget* parent, const RecordingSurface& page, QString path) {
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!WritePage(page, path, &error)) {
        CurrentPlatform().message(parent, error);
        return false;
    }
    return true;
}

} // namespace vanecraft
