#include "frmMain.h"

#include "PlacementStore.h"
#include "import/DesignFile.h"
#include "import/FileAccess.h"
#include "ui/Platform.h"

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>

#include <memory>
#include <new>
#include <thread>

// The main window's ways to a design: Load, a drop, the recent designs.

namespace vanecraft {

namespace {

const QString RecentKey = QStringLiteral("RecentDesigns");
constexpr int RecentCount = 5;

// The one local file a drag carries, or empty when it carries anything else.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().first().isLocalFile())
        return QString();
    return data->urls().first().toLocalFile();
}

} // namespace

void frmMain::mnuFileOpen_Click() {
    const QString path = CurrentPlatform().openFileName(
        this, QStringLiteral("Open"),
        QStringLiteral(
            "Rocket designs (*.rkt *.ork);;RockSim (*.rkt);;OpenRocket (*.ork);;All (*.*)"));
    if (path.isEmpty())
        return;
    LoadDesign(path);
}

LoadResult frmMain::readDesign(const QString& path) {
    LoadControl control;
    LoadResult result;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result = ReadDesignFile(path, control);
        } catch (const std::bad_alloc&) {
            // Bounds keep every design far below this; a file past them all is refused, not
            // allowed to end the program.
            result = LoadResult{};
            result.message =
                FileError(path, QStringLiteral("there is not enough memory to read it"));
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    activeLoad_ = &control;
    setLoading(true);
    const std::unique_ptr<Progress> progress = CurrentPlatform().progress(
        this, QStringLiteral("Loading \"%1\"...").arg(QFileInfo(path).fileName()));
    auto report = [&] {
        if (!progress->update(control.done, control.total))
            control.cancel = true;
    };
    report();
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, report);
    tick.start(50);
    loop.exec();
    worker.join();
    activeLoad_ = nullptr;
    setLoading(false);
    return result;
}

void frmMain::setLoading(bool loading) {
    menuBar()->setEnabled(!loading);
    tbToolBar->setEnabled(!loading);
    setAcceptDrops(!loading);
}

bool frmMain::LoadDesign(const QString& path) {
    if (activeLoad_)
        return false; // the menus and drops that lead here are off while a load runs
    const LoadResult result = readDesign(path);
    if (closeAfterLoad_) {
        QTimer::singleShot(0, this, &QWidget::close);
        return false;
    }
    if (result.cancelled) {
        sbStato->setText(QStringLiteral("Loading \"%1\" was cancelled: the design shown is the "
                                        "one before.")
                             .arg(QFileInfo(path).fileName()));
        return false;
    }
    if (!result.ok) {
        CurrentPlatform().message(this, result.message);
        return false;
    }
    state_.adoptDesign(result.design);
    // What the status bar said (a cancelled load, sheets printed) was about the design before.
    sbStato->setText(QString::fromUtf8(IdleStatus));
    sbStato->setToolTip(QString());
    setWindowTitle(
        QStringLiteral("%1 — %2").arg(QString::fromUtf8(MainCaption), QFileInfo(path).fileName()));
    refreshAfterLoad();
    rememberDesign(path);
    if (!result.warning.isEmpty())
        CurrentPlatform().message(this, result.warning);
    return true;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended, so a message box does not hold up the program it came from.
    QTimer::singleShot(0, this, [this, path] { LoadDesign(path); });
}

QStringList frmMain::RecentDesigns() const {
    PlacementStore store;
    QStringList paths;
    // The file may have been edited by hand: skip blanks and repeats, keep the first five.
    for (const QString& p : store.value(RecentKey).toStringList())
        if (!p.trimmed().isEmpty() && !paths.contains(p) && paths.size() < RecentCount)
            paths << p;
    return paths;
}

void frmMain::storeRecentDesigns(const QStringList& paths) {
    {
        PlacementStore store;
        if (paths.isEmpty())
            store.remove(RecentKey);
        else
            store.setValue(RecentKey, paths);
    }
    rebuildRecentMenu();
}

void frmMain::rememberDesign(const QString& path) {
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList paths = RecentDesigns();
    paths.removeAll(full);
    paths.prepend(full);
    storeRecentDesigns(paths.mid(0, RecentCount));
}

bool frmMain::OpenRecentDesign(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QStringList paths = RecentDesigns();
        paths.removeAll(path);
        storeRecentDesigns(paths);
        CurrentPlatform().message(
            this, QStringLiteral("The design \"%1\" is no longer there: it may have been moved, "
                                 "renamed or deleted. It has been taken off the recent designs.")
                      .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return LoadDesign(path);
}

void frmMain::rebuildRecentMenu() {
    // Deleted later: the entry being rebuilt away may be the one whose click got us here.
    for (QAction* old : mnuFileRecent->actions()) {
        mnuFileRecent->removeAction(old);
        old->deleteLater();
    }
    const QStringList paths = RecentDesigns();
    for (int i = 0; i < paths.size(); ++i) {
        QString shown = QDir::toNativeSeparators(paths[i]);
        shown.replace(u'&', QStringLiteral("&&"));
        QAction* a =
            mnuFileRecent->addAction(QStringLiteral("&%1 %2").arg(QString::number(i + 1), shown));
        a->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
        const QString path = paths[i];
        connect(a, &QAction::triggered, this, [this, path] { OpenRecentDesign(path); });
    }
    mnuFileRecent->menuAction()->setEnabled(!paths.isEmpty());
}

void frmMain::refreshAfterLoad() {
    const int held = state_.design.finSetsOffered();
    {
        const QSignalBlocker block(FinSetNumber);
        FinSetNumber->clear();
        for (int i = 1; i <= std::max(1, held); ++i)
            FinSetNumber->addItem(QString::number(i), state_.design.finSet(i).Name);
        FinSetNumber->setCurrentIndex(0);
    }
    showBoxes(1, true);
    refreshPreview();
}

} // namespace vanecraft
