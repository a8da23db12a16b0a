#include "PageOutput.h"

#include "PainterSurface.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <memory>

namespace vanecraft {

namespace {
// A PDF prints as a common laser printer would draw it: pen widths are 600-dpi dots.
constexpr int PdfDpi = 600;
constexpr double TwipsPerInch = 567.0 * 2.54;
} // namespace

DrawResult RecordPrintedPage(const QString& tool, const AppState& state, RecordingSurface& page) {
    if (tool != QLatin1String(GuideToolName) && tool != QLatin1String(WrapperToolName))
        return DrawResult::NoTool;
    page.BeginDrawing();
    const Frame frame = ComputeFrame(state, PageCentreX, PageCentreY);
    const DrawResult r = DrawTool(tool, page, frame, 3, state);
    if (r == DrawResult::Drawn) {
        page.EndDocument();
        page.SetLineWidth(1);
    }
    return r;
}

PageFormat FormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return PageFormat::Pdf;
    if (suffix == QLatin1String("svg"))
        return PageFormat::Svg;
    return PageFormat::Unknown;
}

bool WritePage(const RecordingSurface& page, const QString& path, QString* error) {
    const PageFormat format = FormatOfPath(path);
    auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("The page could not be written to \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    if (format == PageFormat::Unknown)
        return fail(QStringLiteral("only PDF (.pdf) and SVG (.svg) files can be written"));
    if (page.marks().empty())
        return fail(QStringLiteral("there is nothing to draw"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    // The page is drawn in memory first (a few kilobytes): the generators do not report a write
    // that stopped short, a single write of the whole does.
    QByteArray bytes;
    QBuffer memory(&bytes);
    memory.open(QIODevice::WriteOnly);

    QPainter painter;
    std::unique_ptr<PainterSurface> surface;
    std::unique_ptr<QPdfWriter> pdf;
    std::unique_ptr<QSvgGenerator> svg;
    if (format == PageFormat::Pdf) {
        pdf = std::make_unique<QPdfWriter>(&memory);
        pdf->setCreator(QStringLiteral("Vanecraft"));
        pdf->setPageSize(QPageSize(QPageSize::A4));
        pdf->setPageOrientation(QPageLayout::Portrait);
        pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf->setResolution(PdfDpi);
        surface = std::make_unique<PainterSurface>(
            [&]() { return painter.begin(pdf.get()) ? &painter : nullptr; }, PdfDpi);
    } else {
        svg = std::make_unique<QSvgGenerator>();
        svg->setOutputDevice(&memory);
        // 2100 x 2970 at 254 dpi is exactly 210 mm x 297 mm; the view box counts twips.
        svg->setResolution(254);
        svg->setSize(QSize(2100, 2970));
        svg->setViewBox(QRectF(0, 0, 11907, 16839.9));
        svg->setTitle(QStringLiteral("Vanecraft"));
        surface = std::make_unique<PainterSurface>(
            [&]() { return painter.begin(svg.get()) ? &painter : nullptr; }, TwipsPerInch,
            TwipsPerInch / PdfDpi);
    }
    page.ReplayOn(*surface);
    if (!surface->EndDocument() || surface->failed())
        return fail(QStringLiteral("the page could not be drawn"));
    pdf.reset();
    svg.reset();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace vanecraft
