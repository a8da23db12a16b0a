#include "PrintCommand.h"

#include "render/SheetPainter.h"

#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>

namespace vanecraft {

namespace {

// The printer's paper as one of ours when it is one (within a millimetre), so the scale check
// and the messages name it as the user knows it.
Paper paperOf(const QPrinter& printer) {
    const QPageSize size = printer.pageLayout().pageSize();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    for (const Paper& p : StandardPapers())
        if (std::abs(p.widthMm - mm.width()) < 1 && std::abs(p.heightMm - mm.height()) < 1)
            return p;
    Paper p;
    p.key = QStringLiteral("%1x%2").arg(mm.width()).arg(mm.height());
    p.caption = size.name();
    p.widthMm = mm.width();
    p.heightMm = mm.height();
    p.inches = size.definitionUnits() == QPageSize::Inch;
    return p;
}

// What CUPS says keeps the queue from printing now; empty when nothing does, or when the
// printer is no CUPS queue. Qt neither asks nor hears when a queue drops a job.
QString queueProblem(const QString& name) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr);
    if (!dest)
        return QString();
    auto option = [dest](const char* key) {
        const char* v = cupsGetOption(key, dest->num_options, dest->options);
        return QByteArray(v ? v : "");
    };
    QString problem;
    if (option("printer-is-accepting-jobs") == "false")
        problem = QStringLiteral("does not accept print jobs");
    else if (option("printer-state") == QByteArray::number(IPP_PSTATE_STOPPED))
        problem = QStringLiteral("is stopped");
    cupsFreeDests(1, dest);
    return problem;
}

// Qt keeps the CUPS options of its print dialog (pages per sheet and the like) under this key.
const auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Takes out whatever would shrink or place the sheets other than at true size.
void keepTrueSize(QPrinter& printer) {
    static const QStringList shrinking{
        QStringLiteral("number-up"),       QStringLiteral("number-up-layout"),
        QStringLiteral("fit-to-page"),     QStringLiteral("fitplot"),
        QStringLiteral("print-scaling"),   QStringLiteral("scaling"),
        QStringLiteral("natural-scaling"), QStringLiteral("ppi"),
    };
    const QStringList options = printer.printEngine()->property(CupsOptions).toStringList();
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (!shrinking.contains(options[i]))
            kept << options[i] << options[i + 1];
    kept << QStringLiteral("print-scaling") << QStringLiteral("none");
    printer.printEngine()->setProperty(CupsOptions, kept);
}

} // namespace

SheetOptions PrinterSheetOptions(const QPrinter& printer, bool scaleCheck) {
    SheetOptions o;
    o.paper = paperOf(printer);
    QPageLayout layout = printer.pageLayout();
    layout.setOrientation(QPageLayout::Portrait);
    layout.setUnits(QPageLayout::Millimeter);
    // The printer's own unprintable edges, or wider margins the user chose in the dialog.
    const QMarginsF least = layout.minimumMargins(), chosen = layout.margins();
    const QMarginsF m(std::max(least.left(), chosen.left()), std::max(least.top(), chosen.top()),
                      std::max(least.right(), chosen.right()),
                      std::max(least.bottom(), chosen.bottom()));
    const QRectF full = layout.fullRect();
    o.printable = {m.left(), m.top(), full.width() - m.right(), full.height() - m.bottom()};
    o.scaleCheck = scaleCheck;
    return o;
}

QString PrintLayout(const SheetLayout& layout, QPrinter& printer) {
    const QString name = printer.printerName();
    if (printer.outputFormat() == QPrinter::NativeFormat && !name.isEmpty()) {
        QString problem = queueProblem(name);
        if (problem.isEmpty() && QPrinterInfo::printerInfo(name).state() == QPrinter::Error)
            problem = QStringLiteral("reports an error");
        if (!problem.isEmpty())
            return QStringLiteral("The printer \"%1\" %2, so nothing was printed.")
                .arg(name, problem);
    }
    // Full page puts the origin at the paper's corner, where the sheets are measured from.
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Vanecraft"));
    if (printer.outputFormat() == QPrinter::NativeFormat)
        keepTrueSize(printer);
    const QString refused =
        QStringLiteral("The printer \"%1\" did not take the print job.").arg(name);
    QPainter painter;
    if (!painter.begin(&printer))
        return refused;
    PaintStyle style;
    style.unitsPerMm = UnitsPerMm(printer.resolution());
    for (size_t i = 0; i < layout.sheets.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort(); // not half a set of tiles
            return refused;
        }
        PaintSheet(painter, layout.sheets[i], style);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return refused;
    return QString();
}

} // namespace vanecraft
