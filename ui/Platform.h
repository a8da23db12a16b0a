#pragma once

#include <QString>
#include <memory>

class QPrinter;

class QWidget;

namespace vanecraft {

// A long task's progress, shown once the task has taken a while.
class Progress {
public:
    virtual ~Progress() = default;
    // How far the task has come; false once the user has asked to stop it.
    virtual bool update(qint64 done, qint64 total) = 0;
};

// Every place where the program asks the desktop for something. Tests install their own, so a
// real window can be driven without a modal box blocking it.
class Platform {
public:
    virtual ~Platform() = default;
    // A box with an OK button only, captioned "Vanecraft".
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A box with Yes and No; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // Empty text when the user cancels. `filter` is in Qt's "Name (*.x);;Other (*)" form.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The system's default printer, or null when none is installed.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
    // The print dialog (printer, paper, copies) for `printer`; false when the user cancels.
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    // Progress with a Cancel button, over `parent`, saying `label`.
    virtual std::unique_ptr<Progress> progress(QWidget* parent, const QString& label) = 0;
};

// The desktop's own dialogs.
class DesktopPlatform : public Platform {
public:
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    std::unique_ptr<QPrinter> defaultPrinter() override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    std::unique_ptr<Progress> progress(QWidget* parent, const QString& label) override;
};

Platform& CurrentPlatform();
// Takes no ownership; nullptr restores the desktop's dialogs.
void SetPlatform(Platform* platform);

extern const char* const ApplicationTitle;

} // namespace vanecraft
