#include "Platform.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

#include <algorithm>

namespace vanecraft {

const char* const ApplicationTitle = "Vanecraft";

namespace {

Platform* installed = nullptr;

// A progress dialog that shows itself only once the task has run half a second, so quick
// loads never flash a window.
class DialogProgress : public Progress {
public:
    DialogProgress(QWidget* parent, const QString& label)
        : dialog_(label, QStringLiteral("Cancel"), 0, Steps, parent) {
        dialog_.setWindowTitle(QString::fromUtf8(ApplicationTitle));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }
    bool update(qint64 done, qint64 total) override {
        dialog_.setValue(total > 0 ? int(double(std::min(done, total)) / double(total) * Steps)
                                   : 0);
        return !dialog_.wasCanceled();
    }

private:
    static constexpr int Steps = 1000;
    QProgressDialog dialog_;
};

} // namespace

std::unique_ptr<Progress> DesktopPlatform::progress(QWidget* parent, const QString& label) {
    return std::make_unique<DialogProgress>(parent, label);
}

void DesktopPlatform::message(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QString::fromUtf8(ApplicationTitle), text, QMessageBox::Ok);
}

bool DesktopPlatform::question(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QString::fromUtf8(ApplicationTitle), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString DesktopPlatform::openFileName(QWidget* parent, const QString& title,
                                      const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DesktopPlatform::saveFileName(QWidget* parent, const QString& title,
                                      const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

std::unique_ptr<QPrinter> DesktopPlatform::defaultPrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (all.isEmpty())
            return nullptr;
        info = all.first();
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool DesktopPlatform::printDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    // Sheets are printed whole and at true size: page ranges would only lose parts of them.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

Platform& CurrentPlatform() {
    static DesktopPlatform desktop;
    return installed ? *installed : desktop;
}

void SetPlatform(Platform* platform) {
    installed = platform;
}

} // namespace vanecraft
