#pragma once

#include "model/Design.h"
#include "output/frmPreview.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace vanecraft {

struct AidPages;
struct Tool;
struct LoadResult;
struct LoadControl;
extern const char* const MainCaption; // "Vanecraft For RockSim"
extern const char* const IdleStatus;  // the status bar with nothing to report

// The program's one main window: menus, toolbar, the two lists and the value boxes.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    // The secondary windows work on this window's state: they go with it.
    ~frmMain() override;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }

    // The Load path that the menu, the toolbar and the command line share: all or nothing.
    bool LoadDesign(const QString& path);
    // The designs loaded last, newest first, as kept beside the window placement.
    QStringList RecentDesigns() const;
    // Loads a recent design through the Load path; one that has gone is dropped with a message.
    bool OpenRecentDesign(const QString& path);
    // Shows a secondary window modeless, remembering the order of first opening.
    void OpenWindow(QWidget* window);

    // Controls, by the names the rest of the program knows them by.
    QComboBox* Choice = nullptr;
    QComboBox* FinSetNumber = nullptr;
    QLineEdit* RName = nullptr;
    QLineEdit* OD = nullptr;
    QLineEdit* ID = nullptr;
    QLineEdit* BLength = nullptr;
    QLineEdit* FName = nullptr;
    QLineEdit* FinsNumber = nullptr;
    QLineEdit* Span = nullptr;
    QLineEdit* Thickness = nullptr;
    QLineEdit* Root = nullptr;
    QToolBar* tbToolBar = nullptr;
    QLabel* sbStato = nullptr;
    QLabel* sbDate = nullptr;
    QLabel* sbClock = nullptr;

    QAction* mnuFileOpen = nullptr;
    QAction* mnuFilePreview = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExport = nullptr;
    QAction* mnuFileOptions = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuReports = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* mnuFileRecent = nullptr;

    // The secondary windows while they are open, else null.
    QWidget* optionsWindow() const;
    QWidget* helpWindow() const;
    QWidget* reportWindow() const;
    QWidget* aboutWindow() const;
    QWidget* previewWindow() const;

public slots:
    void mnuFileOpen_Click();
    void mnuFilePreview_Click();
    void mnuFilePrint_Click();
    void mnuFileExport_Click();
    void mnuFileOptions_Click();
    void mnuFileExit_Click();
    void mnuHelp_Click();
    void mnuReports_Click();
    void mnuAbout_Click();
    void tbToolBar_ButtonClick(const QString& key);
    void FinSetNumber_Click();
    void Form_Activate();

protected:
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void Form_Load();
    void Form_Unload();
    void restorePlacement();
    void savePlacement();
    void refreshAfterLoad();
    // Reads on a thread of its own while the window goes on painting; a long load shows its
    // progress and can be cancelled.
    LoadResult readDesign(const QString& path);
    // While a load runs: no other load, drop or command starts, and closing waits for it.
    void setLoading(bool loading);
    LoadControl* activeLoad_ = nullptr;
    bool closeAfterLoad_ = false;
    void showBoxes(int slot, bool all);
    void connectValueBoxes();
    // A box that loses its focus as the window closes has nothing left to change.
    void disconnectValueBoxes();
    // Takes what was typed into the value boxes into the design; false, after telling the
    // user, when a box holds no number.
    bool commitTypedValues();
    bool commitBox(QLineEdit* box);
    int boxesShow_ = 0; // the fin set whose values the boxes show
    void updateClock();
    void rememberDesign(const QString& path);
    void storeRecentDesigns(const QStringList& paths);
    void rebuildRecentMenu();
    void offerPdfInstead(const Tool& tool, const QString& reason);
    bool savePages(const Tool& tool, QString path);
    const Tool* toolForCommand(const char* noTool);
    void tellSheets(const AidPages& pages, const QString& done);
    PreviewContent previewContent() const;
    void refreshPreview();

    AppState state_;
    // Opens the window held in `slot`, creating it first when it is not open.
    template <class W, class... Args> W* openOnce(QPointer<W>& slot, Args&... args) {
        if (!slot)
            slot = new W(args...);
        OpenWindow(slot);
        return slot;
    }

    std::vector<QPointer<QWidget>> openOrder_;
    QPointer<class Options> options_;
    QPointer<class frmAbout> about_;
    QPointer<class Help> help_;
    QPointer<class Report> report_;
    QPointer<class frmPreview> preview_;
    // What start-up set, so an untouched window stores back exactly the twips it was given.
    QPoint placedPos_;
    QSize placedSize_;
    QString placedTwips_[4];
};

} // namespace vanecraft
