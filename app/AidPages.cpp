#include "AidPages.h"

namespace vanecraft {

namespace {

// Room left around the figure on an SVG canvas.
constexpr double CanvasMarginMm = ExportMarginMm;

AidPages laidOut(const AidResult& aid, const SheetOptions& options) {
    AidPages pages;
    pages.refusal = aid.refusal;
    pages.notes = aid.notes;
    if (!aid.ok())
        return pages;
    pages.layout = LayOutFigure(aid.figure, options);
    if (!pages.layout.ok)
        pages.refusal = pages.layout.message;
    return pages;
}

} // namespace

Paper ChosenPaper(const AppState& state) {
    if (const std::optional<Paper> p = PaperFromKey(state.PaperKey))
        return *p;
    return SystemDefaultPaper();
}

AidPages PagesForFile(const Tool& tool, const AppState& state, PageFormat format,
                      const Paper& paper, bool scaleCheck) {
    const AidResult aid = tool.build(AidValuesOf(state));
    AidPages pages = laidOut(aid, {paper, InsetArea(paper, ExportMarginMm), scaleCheck});
    // Cutters and engravers want the figure whole, not in tiles, whatever its size.
    if (aid.ok() && format == PageFormat::Svg && (!pages.ok() || pages.layout.tiled())) {
        pages.layout = CanvasFor(aid.figure, CanvasMarginMm);
        pages.refusal = pages.layout.ok ? QString() : pages.layout.message;
    }
    return pages;
}

AidPages PagesForPrinter(const Tool& tool, const AppState& state, const SheetOptions& options) {
    return laidOut(tool.build(AidValuesOf(state)), options);
}

} // namespace vanecraft
