// Every caption of every window is shown whole, with the fonts the README installs: checked
// against each widget with the widget's own font metrics. CTest runs it at 96 dpi and again at
// 1.5 times that.
#include "FakePlatform.h"
#include "app/frmMain.h"
#include "info/InfoWindows.h"
#include "options/Options.h"
#include "output/frmPreview.h"
#include "settings/AppPaths.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vanecraft;

namespace {

// Where a widget's text is drawn, in its window's coordinates; empty for no text.
QRect textRect(QWidget* w, QString* problem) {
    const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return {};
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        const QFontMetrics fm(label->font());
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed =
            fm.boundingRect(QRect(0, 0, room.width(), 100000), flags, label->text());
        if (needed.width() > room.width() || needed.height() > room.height())
            *problem = QStringLiteral("needs %1 x %2, has %3 x %4")
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());
        return QStyle::alignedRect(label->layoutDirection(), label->alignment(), needed.size(),
                                   room)
            .translated(at);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text().isEmpty())
            return {};
        // The style's own width for the text (with a check box's box), and a line of it.
        const QFontMetrics fm(button->font());
        const int width = button->sizeHint().width();
        if (width > button->width() || fm.height() > button->height())
            *problem = QStringLiteral("needs %1 x %2, has %3 x %4")
                           .arg(width)
                           .arg(fm.height())
                           .arg(button->width())
                           .arg(button->height());
        return QRect(at, button->size());
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        const QFontMetrics fm(combo->font());
        for (int i = 0; i < combo->count(); ++i)
            if (fm.horizontalAdvance(combo->itemText(i)) > field.width() - 4)
                *problem = QStringLiteral("\"%1\" needs %2, has %3")
                               .arg(combo->itemText(i))
                               .arg(fm.horizontalAdvance(combo->itemText(i)))
                               .arg(field.width() - 4);
        return QRect(at, combo->size());
    }
    return {};
}

// Every caption fits its widget and its window, and no two captions overlap.
QStringList misfits(QWidget* window) {
    QStringList found;
    std::vector<std::pair<QWidget*, QRect>> drawn;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || qobject_cast<QLineEdit*>(w) || w->window() != window)
            continue;
        QString problem;
        const QRect r = textRect(w, &problem);
        if (r.isEmpty())
            continue;
        if (!QRect(QPoint(0, 0), window->size()).contains(r))
            problem = QStringLiteral("runs past the window's edge");
        if (!problem.isEmpty())
            found << w->objectName() + QStringLiteral(": ") + problem;
        for (const auto& [other, o] : drawn)
            if (o.intersects(r) && !w->isAncestorOf(other) && !other->isAncestorOf(w))
                found << w->objectName() + QStringLiteral(" overlaps ") + other->objectName() +
                             QStringLiteral(" (%1,%2 %3x%4 and %5,%6 %7x%8)")
                                 .arg(r.x())
                                 .arg(r.y())
                                 .arg(r.width())
                                 .arg(r.height())
                                 .arg(o.x())
                                 .arg(o.y())
                                 .arg(o.width())
                                 .arg(o.height());
        drawn.emplace_back(w, r);
    }
    return found;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captionsFit_data();
    void captionsFit();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmMain> main;
};

void TestLayout::init() {
    dir = std::make_unique<QTemporaryDir>();
    SetConfigDirOverride(dir->filePath(QStringLiteral("config")));
    fake = std::make_unique<FakePlatform>();
    main = std::make_unique<frmMain>();
    main->show();
}

void TestLayout::cleanup() {
    main.reset();
    fake.reset();
    SetConfigDirOverride(QString());
    dir.reset();
}

void TestLayout::captionsFit_data() {
    QTest::addColumn<QString>("window");
    for (const char* name : {"frmMain", "Options", "frmAbout", "Help", "Report", "frmPreview"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestLayout::captionsFit() {
    QFETCH(QString, window);
    QWidget* w = main.get();
    if (window == QLatin1String("Options")) {
        main->mnuFileOptions->trigger();
        w = main->optionsWindow();
    } else if (window == QLatin1String("frmAbout")) {
        main->mnuAbout->trigger();
        w = main->aboutWindow();
    } else if (window == QLatin1String("Help")) {
        main->mnuHelp->trigger();
        w = main->helpWindow();
    } else if (window == QLatin1String("Report")) {
        main->mnuReports->trigger();
        w = main->reportWindow();
    } else if (window == QLatin1String("frmPreview")) {
        main->Choice->setCurrentIndex(0);
        main->mnuFilePreview->trigger();
        w = main->previewWindow();
    }
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // For looking at by eye: VANECRAFT_SCREENSHOTS=FOLDER keeps a picture of each window.
    const QString shots = qEnvironmentVariable("VANECRAFT_SCREENSHOTS");
    if (!shots.isEmpty())
        w->grab().save(QDir(shots).filePath(window + QStringLiteral(".png")));
    const QStringList found = misfits(w);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
