#include "PageFiles.h"

#include "SheetPainter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

namespace vanecraft {

namespace {

// A PDF prints as a common laser printer would draw it: pen widths are 600-dpi dots.
constexpr int PdfDpi = 600;
constexpr double TwipsPerMm = 56.7;
// The SVG's size is whole tenths of a millimetre: 254 dpi.
constexpr int SvgDpi = 254;

QPageSize pageSizeOf(const Paper& paper) {
    static const std::pair<const char*, QPageSize::PageSizeId> known[] = {
        {"a4", QPageSize::A4},         {"a3", QPageSize::A3},       {"a5", QPageSize::A5},
        {"letter", QPageSize::Letter}, {"legal", QPageSize::Legal}, {"tabloid", QPageSize::Tabloid},
    };
    for (const auto& [key, id] : known)
        if (paper.key == QLatin1String(key))
            return QPageSize(id);
    return QPageSize(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter, paper.caption,
                     QPageSize::ExactMatch);
}

bool paintPdf(const SheetLayout& layout, QIODevice& out) {
    QPdfWriter pdf(&out);
    pdf.setCreator(QStringLiteral("Vanecraft"));
    pdf.setPageSize(pageSizeOf(layout.paper));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(PdfDpi);
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    PaintStyle style;
    style.unitsPerMm = UnitsPerMm(PdfDpi);
    for (size_t i = 0; i < layout.sheets.size(); ++i) {
        if (i > 0 && !pdf.newPage())
            return false;
        PaintSheet(painter, layout.sheets[i], style);
    }
    return painter.end();
}

bool paintSvg(const Sheet& sheet, const Paper& paper, QIODevice& out) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setResolution(SvgDpi);
    const QSize tenths(int(std::ceil(paper.widthMm * 10 - 1e-6)),
                       int(std::ceil(paper.heightMm * 10 - 1e-6)));
    svg.setSize(tenths);
    svg.setViewBox(
        QRectF(0, 0, tenths.width() * TwipsPerMm / 10, tenths.height() * TwipsPerMm / 10));
    svg.setTitle(QStringLiteral("Vanecraft"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    PaintStyle style;
    style.unitsPerMm = TwipsPerMm;
    style.penUnitsPerPixel = TwipsPerMm * 25.4 / PdfDpi;
    PaintSheet(painter, sheet, style);
    return painter.end();
}

} // namespace

PageFormat FormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return PageFormat::Pdf;
    if (suffix == QLatin1String("svg"))
        return PageFormat::Svg;
    return PageFormat::Unknown;
}

bool WriteLayout(const SheetLayout& layout, const QString& path, QString* error) {
    const PageFormat format = FormatOfPath(path);
    auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("The page could not be written to \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    if (format == PageFormat::Unknown)
        return fail(QStringLiteral("only PDF (.pdf) and SVG (.svg) files can be written"));
    if (!layout.ok || layout.sheets.empty())
        return fail(QStringLiteral("there is nothing to draw"));
    if (format == PageFormat::Svg && layout.sheets.size() != 1)
        return fail(QStringLiteral("an SVG file holds one sheet"));
    // A FIFO, a device or a link to one is never replaced by the page.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    // Drawn in memory first: the generators do not report a write that stopped short, a single
    // write of the whole does.
    QByteArray bytes;
    QBuffer memory(&bytes);
    memory.open(QIODevice::WriteOnly);
    const bool drawn = format == PageFormat::Pdf
                           ? paintPdf(layout, memory)
                           : paintSvg(layout.sheets.front(), layout.paper, memory);
    if (!drawn)
        return fail(QStringLiteral("the page could not be drawn"));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace vanecraft
