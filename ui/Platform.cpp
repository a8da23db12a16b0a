#include "Platform.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vanecraft {

const char* const ApplicationTitle = "Vanecraft";

namespace {
Platform* installed = nullptr;
} // namespace

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
