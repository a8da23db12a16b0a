// Papers by name and from the system, and what any layout must keep: sheets that put back
// together give the whole figure, crosses that line up, a true scale check clear of the figure.
#include "sheets/SheetLayout.h"

#include <QPointF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <numbers>

using namespace vanecraft;

namespace {

constexpr double Eps = 0.01;
constexpr double Deg = 180 / std::numbers::pi;

bool Near(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

Figure Wheel(double radius, double cx = 0, double cy = 0) {
    Figure f;
    f.add(Stroke::circle(StrokeRole::Outline, cx, cy, radius));
    for (int k = 0; k < 5; ++k) {
        const double a = 0.3 + k * 0.4 * std::numbers::pi, c = std::cos(a), s = std::sin(a);
        f.add(Stroke::line(StrokeRole::CentreLine, cx, cy, cx + radius * c, cy + radius * s));
        f.add(Stroke::circle(StrokeRole::Mark, cx + radius * c / 2, cy + radius * s / 2, 12));
    }
    return f;
}

// A rectangle's outline and one diagonal.
Figure Box(double w, double h, double cx = 0, double cy = 0) {
    Figure f;
    const double x[] = {cx - w / 2, cx + w / 2, cx + w / 2, cx - w / 2, cx - w / 2, cx + w / 2};
    const double y[] = {cy - h / 2, cy - h / 2, cy + h / 2, cy + h / 2, cy - h / 2, cy + h / 2};
    for (int i = 0; i < 5; ++i)
        f.add(Stroke::line(StrokeRole::Outline, x[i], y[i], x[i + 1], y[i + 1]));
    return f;
}

SheetLayout Lay(const Figure& f, const QString& key, bool check = true, double margin = 6) {
    const Paper paper = *PaperFromKey(key);
    return LayOutFigure(f, {paper, InsetArea(paper, margin), check});
}

// Points along a stroke at most 0.05 mm apart; arcs turn as QPainterPath::arcTo does.
std::vector<QPointF> Samples(const SheetStroke& s) {
    const bool line = s.kind == SheetStroke::Line;
    const double sweep = s.kind == SheetStroke::Arc ? s.sweepDeg / Deg : 2 * std::numbers::pi;
    const int n = 1 + int((line ? std::hypot(s.x2 - s.x1, s.y2 - s.y1) : s.r * sweep) / 0.05);
    std::vector<QPointF> points;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n, a = s.startDeg / Deg + t * sweep;
        points.push_back(line ? QPointF(s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1))
                              : QPointF(s.x1 + s.r * std::cos(a), s.y1 - s.r * std::sin(a)));
    }
    return points;
}

double Distance(QPointF p, const RectMm& r) {
    return std::hypot(std::max({r.left - p.x(), 0.0, p.x() - r.right}),
                      std::max({r.top - p.y(), 0.0, p.y() - r.bottom}));
}

using Spans = std::vector<std::pair<double, double>>;

bool Covers(Spans spans, double end, double tolerance) {
    std::sort(spans.begin(), spans.end());
    double reach = 0;
    for (const auto& [from, to] : spans) {
        if (from > reach + tolerance)
            return false;
        reach = std::max(reach, to);
    }
    return reach >= end - tolerance;
}

// What the sheets hold of a figure's stroke, moved back to figure mm: along a line from 0 to 1,
// around a circle in degrees.
Spans Pieces(const Stroke& f, const SheetLayout& layout) {
    Spans spans;
    const double dx = f.x2 - f.x1, dy = f.y2 - f.y1, length = std::hypot(dx, dy);
    const auto along = [&](double x, double y) {
        return std::abs((x - f.x1) * dy - (y - f.y1) * dx) / length < Eps
                   ? ((x - f.x1) * dx + (y - f.y1) * dy) / length / length
                   : NAN;
    };
    for (const Sheet& sheet : layout.sheets) {
        for (const SheetStroke& s : sheet.figure) {
            const double x1 = s.x1 - sheet.offsetX, y1 = s.y1 - sheet.offsetY;
            const double a = along(x1, y1), b = along(s.x2 - sheet.offsetX, s.y2 - sheet.offsetY);
            const bool arc = s.kind == SheetStroke::Arc;
            const double from = arc ? s.startDeg : 0, to = from + (arc ? s.sweepDeg : 360);
            if (f.kind == Stroke::Line && s.kind == SheetStroke::Line && !std::isnan(a + b)) {
                spans.push_back(std::minmax(a, b));
            } else if (f.kind == Stroke::Circle && s.kind != SheetStroke::Line &&
                       std::hypot(x1 - f.x1, y1 - f.y1) < Eps && std::abs(s.r - f.r) < Eps) {
                spans.emplace_back(from, std::min(to, 360.0));
                spans.emplace_back(0, std::max(to - 360, 0.0));
            }
        }
    }
    return spans;
}

// The crosses' middles, figure mm, found by their 8 mm level arms.
std::vector<QPointF> Crosses(const Sheet& sheet) {
    std::vector<QPointF> found;
    for (const SheetStroke& a : sheet.marks) {
        if (a.y1 == a.y2 && Near(std::abs(a.x2 - a.x1), 8))
            found.emplace_back((a.x1 + a.x2) / 2 - sheet.offsetX, a.y1 - sheet.offsetY);
    }
    return found;
}

bool HasCross(const Sheet& sheet, QPointF p) {
    return std::ranges::any_of(
        Crosses(sheet), [p](QPointF q) { return std::hypot(p.x() - q.x(), p.y() - q.y()) < 1e-6; });
}

// The bar is as long as its caption says, with a 3 mm tick at each end, all clear of the figure.
void VerifyScaleCheck(const Sheet& sheet, double length) {
    static const QRegularExpression stated("^Scale check: ([0-9.]+) (mm|in)$");
    const auto caption = std::ranges::find_if(
        sheet.texts, [](const SheetText& t) { return t.text.contains(stated); });
    QVERIFY(caption != sheet.texts.end());
    const auto m = stated.match(caption->text);
    QCOMPARE(m.captured(1).toDouble() * (m.captured(2) == "in" ? 25.4 : 1), length);
    const auto bar = std::ranges::find_if(
        sheet.marks, [&](auto& s) { return s.y1 == s.y2 && Near(s.x2 - s.x1, length); });
    QVERIFY(bar != sheet.marks.end());
    QCOMPARE(std::ranges::count_if(sheet.marks,
                                   [&](auto& s) {
                                       return (s.x1 == bar->x1 || s.x1 == bar->x2) &&
                                              s.x2 == s.x1 && Near(std::abs(s.y2 - s.y1), 3) &&
                                              Near((s.y1 + s.y2) / 2, bar->y1);
                                   }),
             2);
    const RectMm block{std::min(caption->box.left, bar->x1), caption->box.top,
                       std::max(caption->box.right, bar->x2), bar->y1 + 1.5};
    for (const SheetStroke& s : sheet.figure)
        for (QPointF p : Samples(s))
            QVERIFY(Distance(p, block) > 1.9);
}

} // namespace

Q_DECLARE_METATYPE(Figure)

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void paperKeys_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QString>("key"); // empty: refused
        QTest::newRow("A4") << " A4 " << QSizeF(210, 297) << "a4";
        QTest::newRow("Letter") << "LeTTer\n" << QSizeF(215.9, 279.4) << "letter";
        QTest::newRow("custom") << "610x914" << QSizeF(610, 914) << "610x914";
        QTest::newRow("capital X") << " 210.504X297 " << QSizeF(210.5, 297) << "210.5x297";
        QTest::newRow("times sign") << "300×400.25" << QSizeF(300, 400.25) << "300x400.25";
        QTest::newRow("smallest, largest") << "50x5080" << QSizeF(50, 5080) << "50x5080";
        for (const char* bad : {"", "a6", "49.9x100", "100x10000.5", "nanx100", "infx300", "100x",
                                "x100", "1,5x100", "100x200x300", "-210x297", "a4x297"})
            QTest::newRow(bad) << bad << QSizeF() << QString();
    }

    void paperKeys() {
        QFETCH(QString, text);
        QFETCH(QSizeF, size);
        QFETCH(QString, key);
        const std::optional<Paper> paper = PaperFromKey(text);
        QCOMPARE(paper ? paper->key : QString(), key);
        if (paper) {
            QCOMPARE(QSizeF(paper->widthMm, paper->heightMm), size);
            QCOMPARE(*PaperFromKey(paper->key), *paper);
        }
    }

    void defaultPaper_data() {
        // $PAPERSIZE, what /etc/papersize holds ("<dir>": a folder there), the locale.
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QString>("key");
        QTest::newRow("variable first") << QStringList{"Letter", "a3", "de_DE"} << "letter";
        QTest::newRow("unknown variable") << QStringList{"b7", "a3\n", "en_US"} << "a3";
        QTest::newRow("file comments") << QStringList{"", "# size\n\n  A5 \nletter", ""} << "a5";
        QTest::newRow("unknown file") << QStringList{"", "executive", "en_US.UTF-8"} << "letter";
        QTest::newRow("file a folder") << QStringList{"", "<dir>", "es_MX"} << "letter";
        QTest::newRow("fr_CA@euro") << QStringList{"", "", "fr_CA@euro"} << "letter";
        QTest::newRow("de_DE") << QStringList{"", "", "de_DE.UTF-8"} << "a4";
        QTest::newRow("C") << QStringList{"", "", "C.UTF-8"} << "a4";
        QTest::newRow("nothing") << QStringList{"", "", ""} << "a4";
    }

    void defaultPaper() {
        QFETCH(QStringList, sources);
        QFETCH(QString, key);
        QTemporaryDir dir;
        QFile file(dir.filePath("papersize"));
        if (sources[1] == "<dir>")
            QVERIFY(QDir(dir.path()).mkdir("papersize"));
        else
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sources[1].toUtf8()) >= 0);
        file.close();
        QCOMPARE(DefaultPaper({sources[0], file.fileName(), sources[2]}).key, key);
    }

    void oneSheetOrTiles_data() {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<double>("bar"); // the scale check's, mm; 0: none asked for
        QTest::addColumn<bool>("oneSheet");
        QTest::addColumn<double>("moved"); // the one sheet's figure, down from the centre
        // Uprights as high as the printable area leave 36 mm at each side: room for a caption,
        // not for the longest bar.
        Figure narrowA4, narrowLetter, corner = Wheel(80);
        for (double x : {-60.0, 60.0}) {
            narrowA4.add(Stroke::line(StrokeRole::Outline, x, -142, x, 142));
            narrowLetter.add(Stroke::line(StrokeRole::Outline, x, -133, x, 133));
        }
        corner.add(Stroke::line(StrokeRole::Mark, -95, 140, -60, 100));
        QTest::newRow("wheel on A4") << Wheel(60, 10, -30) << "a4" << 50.0 << true << 0.0;
        QTest::newRow("wheel on A5") << Wheel(60, -5, 20) << "a5" << 50.0 << true << 0.0;
        QTest::newRow("box on Letter") << Box(180, 150, 8, 40) << "letter" << 50.8 << true << 0.0;
        QTest::newRow("bottom-left taken") << corner << "a4" << 50.0 << true << 0.0;
        QTest::newRow("narrow corners A4") << narrowA4 << "a4" << 20.0 << true << 0.0;
        QTest::newRow("narrow corners Letter") << narrowLetter << "letter" << 25.4 << true << 0.0;
        QTest::newRow("fills A4, no check") << Box(197, 284) << "a4" << 0.0 << true << 0.0;
        QTest::newRow("fills A4") << Box(197, 284) << "a4" << 50.0 << false << 0.0;
        QTest::newRow("over A4") << Box(199, 100) << "a4" << 0.0 << false << 0.0;
        // Longer below its centre than above, as the wrapper is: it fits only when moved up.
        QTest::newRow("moved to fit") << Box(100, 280, 0, 5) << "a4" << 0.0 << true << -5.0;
        QTest::newRow("tiles Legal") << Box(400, 150) << "legal" << 50.8 << false << 0.0;
    }

    void oneSheetOrTiles() {
        QFETCH(Figure, figure);
        QFETCH(QString, paper);
        QFETCH(double, bar);
        QFETCH(bool, oneSheet);
        QFETCH(double, moved);
        const SheetLayout layout = Lay(figure, paper, bar > 0);
        QVERIFY(layout.ok);
        QCOMPARE(!layout.tiled(), oneSheet);
        for (size_t i = 0; bar > 0 && i < layout.sheets.size(); ++i)
            VerifyScaleCheck(layout.sheets[i], bar);
        if (!oneSheet)
            return;
        const Sheet& s = layout.sheets[0];
        QCOMPARE(s.offsetX, layout.paper.widthMm / 2);
        QCOMPARE(s.offsetY, layout.paper.heightMm / 2 + moved);
        QCOMPARE(s.window, layout.printable.translated(-s.offsetX, -s.offsetY));
        QCOMPARE(s.figure.size(), figure.strokes().size());
        for (size_t i = 0; i < s.figure.size(); ++i) {
            const Stroke& f = figure.strokes()[i];
            const SheetStroke& g = s.figure[i];
            QCOMPARE(g.kind == SheetStroke::Circle, f.kind == Stroke::Circle);
            QVERIFY(g.role == f.role && g.x1 == f.x1 + s.offsetX && g.y1 == f.y1 + s.offsetY &&
                    g.x2 == f.x2 + s.offsetX && g.y2 == f.y2 + s.offsetY && g.r == f.r);
        }
        QCOMPARE(s.texts.size(), size_t(bar > 0));
    }

    void tiles_data() {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<double>("bar"); // the scale check's length
        QTest::newRow("wheel on A4") << Wheel(160) << "a4" << 50.0;
        QTest::newRow("wheel on Letter") << Wheel(160) << "letter" << 50.8;
        QTest::newRow("far wheel on A3") << Wheel(300, 500, -300) << "a3" << 50.0;
        QTest::newRow("strip on Letter") << Box(700, 60, 0, 30) << "letter" << 50.8;
        QTest::newRow("tall box on A5") << Box(120, 500) << "a5" << 50.0;
        // Too narrow for the label and the scale check side by side: one line each.
        QTest::newRow("wheel on a postcard") << Wheel(60) << "60x90" << 20.0;
    }

    void tiles() {
        QFETCH(Figure, figure);
        QFETCH(QString, paper);
        QFETCH(double, bar);
        const SheetLayout layout = Lay(figure, paper);
        QVERIFY(layout.ok && layout.tiled());
        QCOMPARE(layout.sheets.size(), size_t(layout.rows * layout.columns));
        for (const Sheet& a : layout.sheets) {
            const RectMm window = a.window.translated(a.offsetX, a.offsetY);
            QVERIFY(layout.printable.contains(window));
            VerifyScaleCheck(a, bar);
            QCOMPARE(a.texts.size(), size_t(2)); // the label and the scale check's caption
            QVERIFY(!a.texts[0].box.intersects(a.texts[1].box));
            for (const SheetStroke& s : a.figure)
                for (QPointF p : Samples(s))
                    QVERIFY(Distance(p, window) < Eps);
            for (const SheetText& t : a.texts)
                QVERIFY(layout.printable.contains(t.box) && !t.box.intersects(window));
            for (QPointF p : Crosses(a))
                QVERIFY(std::ranges::count_if(layout.sheets,
                                              [p](auto& b) { return HasCross(b, p); }) > 1);
            for (const Sheet& b : layout.sheets) {
                const bool right = b.row == a.row && b.column == a.column + 1;
                const bool below = b.column == a.column && b.row == a.row + 1;
                QVERIFY(!right || a.window.right - b.window.left >= TileOverlapMm - 1e-9);
                QVERIFY(!below || a.window.bottom - b.window.top >= TileOverlapMm - 1e-9);
                QVERIFY(!(right || below) || std::ranges::count_if(Crosses(a), [&](QPointF p) {
                                                 return HasCross(b, p);
                                             }) > 1);
            }
        }
        for (const Stroke& f : figure.strokes()) {
            const bool line = f.kind == Stroke::Line;
            QVERIFY(Covers(Pieces(f, layout), line ? 1 : 360,
                           line ? Eps / std::hypot(f.x2 - f.x1, f.y2 - f.y1) : 1e-6));
        }
        // The grid is centred on the figure.
        const RectMm b = figure.bounds(), first = layout.sheets.front().window,
                     last = layout.sheets.back().window;
        QVERIFY(std::abs((b.left - first.left) - (last.right - b.right)) < 1e-6);
        QVERIFY(std::abs((b.top - first.top) - (last.bottom - b.bottom)) < 1e-6);
    }

    void labels_data() {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label"); // %1: how many rows
        QTest::newRow("B2") << Box(300, 600) << 3 << "B2 — row 2 of 3, column 2 of 2";
        QTest::newRow("Z1") << Box(5, 7500) << 25 << "Z1 — row 26 of %1, column 1 of 1";
        QTest::newRow("AA1") << Box(5, 7500) << 26 << "AA1 — row 27 of %1, column 1 of 1";
    }

    void labels() {
        QFETCH(Figure, figure);
        QFETCH(int, index);
        QFETCH(QString, label);
        const SheetLayout layout = Lay(figure, "a4");
        QVERIFY(layout.ok && size_t(index) < layout.sheets.size());
        const QString want = label.contains("%1") ? label.arg(layout.rows) : label;
        QVERIFY(std::ranges::any_of(layout.sheets[size_t(index)].texts, [&](const SheetText& t) {
            return t.text == want && t.box.width() >= 0.6 * t.heightMm * double(want.size()) - 1e-9;
        }));
    }

    void refused_data() {
        QTest::addColumn<Figure>("figure");
        QTest::addColumn<QString>("paper");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QStringList>("says");
        Figure nan = Wheel(20);
        nan.add(Stroke::line(StrokeRole::Mark, 0, 0, std::nan(""), 1));
        QTest::newRow("empty") << Figure() << "a4" << 6.0 << QStringList{"empty"};
        QTest::newRow("not a number") << nan << "a4" << 6.0 << QStringList{"not a number"};
        QTest::newRow("too many") << Box(3000, 2000) << "a4" << 6.0
                                  << QStringList{"3000 × 2000 mm", "of A4", "more than 100"};
        QTest::newRow("small printable")
            << Wheel(40) << "60x60" << 22.0 << QStringList{"too small"};
        QTest::newRow("no printable")
            << Wheel(10) << "60x60" << 30.0 << QStringList{"no printable"};
        // Tiles that could not carry the scale check are refused, not printed without it.
        QTest::newRow("too narrow for the check")
            << Wheel(60) << "50x300" << 9.0 << QStringList{"too narrow for the scale check"};
    }

    void refused() {
        QFETCH(Figure, figure);
        QFETCH(QString, paper);
        QFETCH(double, margin);
        QFETCH(QStringList, says);
        const SheetLayout layout = Lay(figure, paper, true, margin);
        QVERIFY(!layout.ok && layout.sheets.empty());
        for (const QString& part : says)
            QVERIFY2(layout.message.contains(part), qPrintable(layout.message));
    }

    void canvas() {
        const Figure figure = Wheel(30, 100, -40);
        const SheetLayout layout = CanvasFor(figure, 5);
        QVERIFY(layout.ok && !layout.tiled() && layout.paper.caption == "70 × 70 mm");
        const Sheet& sheet = layout.sheets[0];
        QCOMPARE(sheet.figure.size(), figure.strokes().size());
        const SheetStroke& rim = sheet.figure[0];
        QVERIFY(rim.kind == SheetStroke::Circle && rim.x1 - rim.r == 5 && rim.y1 + rim.r == 65);
        QVERIFY(sheet.marks.empty() && sheet.texts.empty());
    }
};

QTEST_APPLESS_MAIN(TestSheets)
#include "tst_sheets.moc"
