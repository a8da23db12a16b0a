#include "frmMain.h"

#include "PlacementStore.h"
#include "aids/Aids.h"
#include "import/DesignFile.h"
#include "info/InfoWindows.h"
#include "model/Conversions.h"
#include "options/Options.h"
#include "output/frmPreview.h"
#include "settings/Preferences.h"
#include "settings/SettingsFile.h"
#include "ui/FormKit.h"
#include "ui/NamedNumberDelegate.h"
#include "ui/Platform.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>

// The toolbar images live in a static library, whose resources must be registered by hand.
static void initToolbarImages() {
    Q_INIT_RESOURCE(icons);
}

namespace vanecraft {

namespace {

// The layout's twips count from the client area's top, whose first strip holds the toolbar.
constexpr double ToolbarStrip = 420;

QRect at(double left, double top, double width, double height) {
    return TwRect(left, top - ToolbarStrip, width, height);
}

void bracket(QWidget* c, const char* name, double x1, double y1, double x2, double y2) {
    MakeLine(c, name, x1, y1 - ToolbarStrip, x2, y2 - ToolbarStrip, Qt::black);
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    initToolbarImages();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(MainCaption));
    setFont(FontOf("MS Sans Serif", 9.75));
    buildMenus();
    buildLayout();
    Form_Load();
}

frmMain::~frmMain() {
    disconnectValueBoxes();
    for (auto it = openOrder_.rbegin(); it != openOrder_.rend(); ++it)
        delete it->data();
}

void frmMain::buildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuFileOpen =
        add(mnuFile, "mnuFileOpen", QStringLiteral("&Load..."), &frmMain::mnuFileOpen_Click);
    mnuFileRecent = mnuFile->addMenu(QStringLiteral("Recent &designs"));
    mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
    mnuFilePreview = add(mnuFile, "mnuFilePreview", QStringLiteral("P&review..."),
                         &frmMain::mnuFilePreview_Click);
    mnuFilePrint =
        add(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."), &frmMain::mnuFilePrint_Click);
    mnuFileExport =
        add(mnuFile, "mnuFileExport", QStringLiteral("E&xport..."), &frmMain::mnuFileExport_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    mnuFileOptions =
        add(mnuFile, "mnuFileOptions", QStringLiteral("&Options"), &frmMain::mnuFileOptions_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar2"));
    mnuFileExit = add(mnuFile, "mnuFileExit", QStringLiteral("&Exit"), &frmMain::mnuFileExit_Click);
    // Fixed keys rather than the platform's standard ones, so they read the same everywhere.
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFilePrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* mnuInt = menuBar()->addMenu(QStringLiteral("&?"));
    mnuInt->setObjectName(QStringLiteral("mnuInt"));
    mnuHelp = add(mnuInt, "mnuHelp", QStringLiteral("&Help..."), &frmMain::mnuHelp_Click);
    mnuReports = add(mnuInt, "mnuReports", QStringLiteral("&New versions, bug reports..."),
                     &frmMain::mnuReports_Click);
    mnuAbout = add(mnuInt, "mnuAbout", QStringLiteral("&About..."), &frmMain::mnuAbout_Click);

    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    for (const char* key : {"Open", "Print"}) {
        const QString k = QString::fromLatin1(key);
        QAction* a = tbToolBar->addAction(QIcon(QStringLiteral(":/toolbar/") + k), k);
        a->setObjectName(k);
        a->setToolTip(k);
        connect(a, &QAction::triggered, this, [this, k] { tbToolBar_ButtonClick(k); });
    }
}

void frmMain::buildLayout() {
    auto* c = new QWidget(this);
    c->setObjectName(QStringLiteral("client"));
    setCentralWidget(c);
    c->setMinimumSize(Px(4665), Px(7020 - ToolbarStrip - 300));
    setAcceptDrops(true);

    const QFont small = FontOf("Arial", 9);
    auto* Shape1 = new QFrame(c);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    Shape1->setGeometry(at(120, 480, 4455, 1455));

    MakeTitle(c, at(120, 480, 4335, 615), 20.25);
    QLabel* Label14 =
        MakeLabel(c, "Label14", QStringLiteral("The Vanecraft project and contributors"),
                  at(240, 960, 4215, 375), FontOf("Arial", 11.25));
    // Kept to the foot of its line, clear of the title above it.
    Label14->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label14->setWordWrap(false);
    MakeBlue(Label14);
    QLabel* Label12 = MakeLabel(
        c, "Label12", QStringLiteral("An add-on software for the new xml RockSim file format"),
        at(960, 1320, 2775, 495), FontOf("Comic Sans MS", 9.75, false, true));
    Label12->setWordWrap(true);
    Label12->setAlignment(Qt::AlignCenter);
    MakeBlue(Label12);

    MakeLabel(c, "Label13", QStringLiteral("Tool:"), at(120, 2040, 495, 255),
              FontOf("Arial", 9.75, true));
    Choice = new QComboBox(c);
    Choice->setObjectName(QStringLiteral("Choice"));
    Choice->setEditable(true);
    Choice->setInsertPolicy(QComboBox::NoInsert);
    Choice->setGeometry(at(720, 2040, 3735, 360));
    Choice->setFont(FontOf("Arial", 9.75));

    MakeLabel(c, "Label1", QStringLiteral("Rocket name"), at(120, 2640, 1575, 255), small);
    RName = MakeTextBox(c, "RName", at(1800, 2640, 2655, 285), small);
    MakeLabel(c, "Label3", QStringLiteral("Outer diameter"), at(120, 3240, 1575, 255), small);
    OD = MakeTextBox(c, "OD", at(1800, 3240, 855, 330), small);
    MakeLabel(c, "Label2", QStringLiteral("Inner diameter"), at(120, 3600, 1575, 255), small);
    ID = MakeTextBox(c, "ID", at(1800, 3600, 855, 330), small);
    MakeLabel(c, "Label6", QStringLiteral("Length"), at(120, 3960, 1575, 255), small);
    BLength = MakeTextBox(c, "BLength", at(1800, 3960, 855, 330), small);
    MakeLabel(c, "Label9", QStringLiteral("Body Tube"), at(3000, 3600, 1215, 255),
              FontOf("Arial", 9.75, true));
    MakeLabel(c, "Label15", QStringLiteral("Name"), at(120, 4560, 1575, 255), small);
    FName = MakeTextBox(c, "FName", at(1800, 4560, 855, 330), small);
    MakeLabel(c, "Label8", QStringLiteral("Number"), at(120, 4920, 1575, 255), small);
    FinsNumber = MakeTextBox(c, "FinsNumber", at(1800, 4920, 855, 330), small);
    MakeLabel(c, "Label4", QStringLiteral("Semi span"), at(120, 5280, 1575, 255), small);
    Span = MakeTextBox(c, "Span", at(1800, 5280, 855, 330), small);
    MakeLabel(c, "Label10", QStringLiteral("Fins Set #"), at(3000, 5400, 975, 255),
              FontOf("Arial", 9.75, true));
    FinSetNumber = new QComboBox(c);
    FinSetNumber->setObjectName(QStringLiteral("FinSetNumber"));
    FinSetNumber->setEditable(true);
    FinSetNumber->setInsertPolicy(QComboBox::NoInsert);
    FinSetNumber->setItemDelegate(new NamedNumberDelegate(FinSetNumber));
    FinSetNumber->setGeometry(at(4080, 5400, 575, 360));
    MakeLabel(c, "Label5", QStringLiteral("Thickness"), at(120, 5640, 1575, 255), small);
    Thickness = MakeTextBox(c, "Thickness", at(1800, 5640, 855, 330), small);
    MakeLabel(c, "Label7", QStringLiteral("Root"), at(120, 6000, 1575, 255), small);
    Root = MakeTextBox(c, "Root", at(1800, 6000, 855, 330), small);

    bracket(c, "Line1", 2760, 3360, 2880, 3360);
    bracket(c, "Line2", 2880, 3360, 2880, 4200);
    bracket(c, "Line3", 2760, 4200, 2880, 4200);
    bracket(c, "Line4", 2760, 4680, 2880, 4680);
    bracket(c, "Line5", 2880, 4680, 2880, 6240);
    bracket(c, "Line6", 2760, 6240, 2880, 6240);

    // A file dropped anywhere on the window loads it, rather than its path landing in a box.
    for (QLineEdit* box : c->findChildren<QLineEdit*>())
        box->setAcceptDrops(false);
    connectValueBoxes();

    connect(FinSetNumber, &QComboBox::activated, this, [this] { FinSetNumber_Click(); });
    connect(Choice, &QComboBox::currentTextChanged, this, &frmMain::refreshPreview);

    QStatusBar* sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setFont(FontOf("Arial", 9.75));
    sbStato = new QLabel(QString::fromUtf8(IdleStatus));
    sbDate = new QLabel;
    sbClock = new QLabel;
    sbStatusBar->addWidget(sbStato, 1);
    sbStatusBar->addPermanentWidget(sbDate);
    sbStatusBar->addPermanentWidget(sbClock);
    updateClock();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &frmMain::updateClock);
    clock->start(1000);
}

void frmMain::updateClock() {
    const QLocale locale;
    sbDate->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    sbClock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

void frmMain::Form_Load() {
    if (UsableStorePath().isEmpty())
        CurrentPlatform().message(
            this, QStringLiteral("The window's placement, the recent designs and the paper "
                                 "cannot be kept in \"%1\": it is not a regular file of a "
                                 "sensible size. They are not saved this time.")
                      .arg(QDir::toNativeSeparators(PlacementStorePath())));
    restorePlacement();
    for (const Tool& tool : Tools())
        Choice->addItem(QString::fromUtf8(tool.caption));
    Choice->setCurrentIndex(-1);
    Choice->setEditText(QStringLiteral("Select the tool you need."));
    FinSetNumber->addItem(QStringLiteral("1"));
    FinSetNumber->setCurrentIndex(0);
    rebuildRecentMenu();
    ReadPreferences(state_);
    if (!state_.SettingsSaved) {
        const QString problem = ReadSettingsFile(state_);
        if (!problem.isEmpty())
            CurrentPlatform().message(this, problem);
    }
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmMain::Form_Activate() {
    showBoxes(state_.CurrentFinSet, false);
}

void frmMain::FinSetNumber_Click() {
    // Only a fin set the list offers can be picked; typed text naming none changes nothing.
    const QString text = FinSetNumber->currentText().trimmed();
    if (FinSetNumber->findText(text, Qt::MatchExactly) < 0)
        return;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || !state_.selectFinSet(n))
        return;
    showBoxes(n, true);
    refreshPreview();
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    if (key == QStringLiteral("Open"))
        mnuFileOpen_Click();
    else if (key == QStringLiteral("Print"))
        mnuFilePrint_Click();
}

void frmMain::OpenWindow(QWidget* window) {
    std::erase_if(openOrder_, [](const QPointer<QWidget>& w) { return w.isNull(); });
    bool known = false;
    for (const auto& w : openOrder_)
        known = known || w == window;
    if (!known)
        openOrder_.emplace_back(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (activeLoad_) { // stop the load first; the window closes once it has ended
        activeLoad_->cancel = true;
        closeAfterLoad_ = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload() {
    disconnectValueBoxes();
    for (auto it = openOrder_.rbegin(); it != openOrder_.rend(); ++it)
        if (*it)
            (*it)->close();
    openOrder_.clear();
    if (isMinimized())
        return;
    savePlacement();
}

void frmMain::mnuFileOptions_Click() {
    const bool fresh = !options_;
    Options* o = openOnce(options_, state_);
    if (fresh)
        connect(o, &Options::saved, this, [this] {
            Form_Activate();
            refreshPreview();
        });
}

void frmMain::mnuHelp_Click() {
    openOnce(help_);
}

void frmMain::mnuReports_Click() {
    openOnce(report_);
}

void frmMain::mnuAbout_Click() {
    openOnce(about_);
}

QWidget* frmMain::optionsWindow() const {
    return options_;
}
QWidget* frmMain::helpWindow() const {
    return help_;
}
QWidget* frmMain::reportWindow() const {
    return report_;
}
QWidget* frmMain::aboutWindow() const {
    return about_;
}

} // namespace vanecraft
