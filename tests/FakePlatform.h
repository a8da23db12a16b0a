#pragma once

#include "ui/Platform.h"

#include <QPrinter>
#include <QStringList>
#include <functional>

// Records what the user would see and answers the dialogs from queues, so a real window can be
// driven without a modal box.
class FakePlatform : public vanecraft::Platform {
public:
    FakePlatform() { vanecraft::SetPlatform(this); }
    ~FakePlatform() override { vanecraft::SetPlatform(nullptr); }

    void message(QWidget*, const QString& text) override { messages << text; }
    bool question(QWidget*, const QString& text) override {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QString openFileName(QWidget*, const QString& title, const QString& filter) override {
        dialogs << title + QStringLiteral(" | ") + filter;
        return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter) override {
        dialogs << title + QStringLiteral(" | ") + filter;
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }

    // A test decides what the "default printer" is; none by default.
    std::unique_ptr<QPrinter> defaultPrinter() override {
        return makePrinter ? makePrinter() : nullptr;
    }
    std::function<std::unique_ptr<QPrinter>()> makePrinter;
    // The print dialog: by default the user accepts what it shows.
    bool printDialog(QWidget*, QPrinter& printer) override {
        ++printDialogs;
        return choosePrint ? choosePrint(printer) : true;
    }
    std::function<bool(QPrinter&)> choosePrint;
    int printDialogs = 0;

    // Progress: each update is passed to `onProgress` (if set), which answers whether to go on.
    struct FakeProgress : vanecraft::Progress {
        FakePlatform& owner;
        explicit FakeProgress(FakePlatform& o) : owner(o) {}
        bool update(qint64 done, qint64 total) override {
            ++owner.progressUpdates;
            return owner.onProgress ? owner.onProgress(done, total) : true;
        }
    };
    std::unique_ptr<vanecraft::Progress> progress(QWidget*, const QString& label) override {
        progressLabels << label;
        return std::make_unique<FakeProgress>(*this);
    }
    std::function<bool(qint64, qint64)> onProgress;
    QStringList progressLabels;
    int progressUpdates = 0;

    QStringList messages, questions, dialogs;
    QStringList openPaths, savePaths;
    QList<bool> answers;
};
