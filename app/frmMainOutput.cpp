#include "frmMain.h"

#include "AidPages.h"
#include "output/PrintCommand.h"
#include "ui/Platform.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>

// The main window's output commands: Preview, Print and Export.

namespace vanecraft {

// The tool the list names, once what was typed into the boxes is taken; null, after telling
// the user (`noTool` when no tool is chosen), when the command cannot go on.
const Tool* frmMain::toolForCommand(const char* noTool) {
    const Tool* tool = ToolByCaption(Choice->currentText());
    if (!tool) {
        CurrentPlatform().message(this, QString::fromUtf8(noTool));
        return nullptr;
    }
    return commitTypedValues() ? tool : nullptr;
}

void frmMain::mnuFilePreview_Click() {
    if (!toolForCommand(SelectToolToPreviewMessage))
        return;
    state_.PreviewTool = Choice->currentText();
    frmPreview::Source source = [this] { return previewContent(); };
    openOnce(preview_, source);
    preview_->refresh();
}

PreviewContent frmMain::previewContent() const {
    PreviewContent content;
    const Tool* tool = ToolByCaption(state_.PreviewTool);
    if (!tool)
        return content;
    const AidPages pages =
        PagesForFile(*tool, state_, PageFormat::Pdf, ChosenPaper(state_), state_.ScaleCheck);
    content.layout = pages.layout;
    content.refusal = pages.refusal;
    return content;
}

void frmMain::refreshPreview() {
    // The preview follows the tool list once it names a tool.
    if (ToolByCaption(Choice->currentText()))
        state_.PreviewTool = Choice->currentText();
    if (preview_)
        preview_->refresh();
}

QWidget* frmMain::previewWindow() const {
    return preview_;
}

void frmMain::mnuFilePrint_Click() {
    const Tool* tool = toolForCommand(SelectToolToPrintMessage);
    if (!tool)
        return;
    // Values that cannot make the aid are told before any printer is involved.
    const AidResult aid = tool->build(AidValuesOf(state_));
    if (!aid.ok()) {
        CurrentPlatform().message(this, aid.refusal);
        return;
    }
    const std::unique_ptr<QPrinter> printer = CurrentPlatform().defaultPrinter();
    if (!printer) {
        offerPdfInstead(*tool, QStringLiteral("No printer is installed, so the page cannot be "
                                              "printed."));
        return;
    }
    if (!CurrentPlatform().printDialog(this, *printer))
        return;
    const AidPages pages =
        PagesForPrinter(*tool, state_, PrinterSheetOptions(*printer, state_.ScaleCheck));
    if (!pages.ok()) {
        CurrentPlatform().message(this, pages.refusal);
        return;
    }
    const QString problem = PrintLayout(pages.layout, *printer);
    if (!problem.isEmpty()) {
        offerPdfInstead(*tool, problem);
        return;
    }
    tellSheets(pages, QStringLiteral("Printed"));
}

void frmMain::tellSheets(const AidPages& pages, const QString& done) {
    const SheetLayout& layout = pages.layout;
    const int n = int(layout.sheets.size());
    QString text = n == 1 ? QStringLiteral("%1 on one sheet of %2.").arg(done, layout.paper.caption)
                          : QStringLiteral("%1 on %2 sheets of %3 (%4 rows, %5 columns): lay them "
                                           "out by their labels and line up the crosses.")
                                .arg(done)
                                .arg(n)
                                .arg(layout.paper.caption)
                                .arg(layout.rows)
                                .arg(layout.columns);
    // What could not be marked is printed under the figure; the status bar points to it.
    if (!pages.notes.isEmpty())
        text += QStringLiteral(" Read the notes under the figure.");
    sbStato->setText(text);
    sbStato->setToolTip(pages.notes.join(u'\n'));
}

void frmMain::offerPdfInstead(const Tool& tool, const QString& reason) {
    if (!CurrentPlatform().question(
            this, reason + QStringLiteral(" Do you want to save the page as a PDF file instead?")))
        return;
    const QString path = CurrentPlatform().saveFileName(
        this, QStringLiteral("Save the page as PDF"), QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty())
        savePages(tool, path);
}

bool frmMain::savePages(const Tool& tool, QString path) {
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const AidPages pages =
        PagesForFile(tool, state_, FormatOfPath(path), ChosenPaper(state_), state_.ScaleCheck);
    QString error = pages.refusal;
    if (error.isEmpty())
        WriteLayout(pages.layout, path, &error);
    if (!error.isEmpty()) {
        CurrentPlatform().message(this, error);
        return false;
    }
    tellSheets(pages, QStringLiteral("Exported"));
    return true;
}

void frmMain::mnuFileExport_Click() {
    // Without a tool there is nothing to export: say so before asking for a file.
    const Tool* tool = toolForCommand(SelectToolToPrintMessage);
    if (!tool)
        return;
    const QString filter = QStringLiteral("PDF (*.pdf);;SVG (*.svg)");
    const QString path = CurrentPlatform().saveFileName(this, QStringLiteral("Export"), filter);
    if (!path.isEmpty())
        savePages(*tool, path);
}

} // namespace vanecraft
