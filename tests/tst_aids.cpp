// The two aids' figures, in millimetres, against the geometry a builder relies on.
#include "aids/Aids.h"

#include <QtTest>
#include <cmath>

using namespace vanecraft;

namespace {

constexpr double Pi = 3.14159265358979;
constexpr double TwipsPerMm = 56.7;

AidValues values(double od, double id, double count, double thickness, double root, double span,
                 double paper = 0.381) {
    AidValues v;
    v.outerDiameter = od;
    v.innerDiameter = id;
    v.finCount = count;
    v.finThickness = thickness;
    v.finRoot = root;
    v.finSpan = span;
    v.paperThickness = paper;
    v.finSetNumber = 2;
    v.finSetName = QStringLiteral("Main fins");
    return v;
}

bool near(double a, double b, double tolerance = 1e-6) {
    return std::abs(a - b) <= tolerance;
}

double length(const Stroke& s) {
    return std::hypot(s.x2 - s.x1, s.y2 - s.y1);
}

// Distance of a point from the line through a stroke.
double offLine(const Stroke& line, double x, double y) {
    const double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    return std::abs(dx * (y - line.y1) - dy * (x - line.x1)) / std::hypot(dx, dy);
}

} // namespace

Q_DECLARE_METATYPE(vanecraft::AidValues)

class TestAids : public QObject {
    Q_OBJECT
private slots:
    void guide_data();
    void guide();
    void guideWorkedExample();
    void wrapper_data();
    void wrapper();
    void wrapperWorkedExample();
    void refusals_data();
    void refusals();
    void paperThicknessBlamesTheSettings_data();
    void paperThicknessBlamesTheSettings();
    void toolTable();
};

void TestAids::guide_data() {
    QTest::addColumn<double>("od");
    QTest::addColumn<double>("id");
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("thickness");
    QTest::addColumn<double>("span");
    QTest::newRow("one fin") << 25.0 << 24.0 << 1.0 << 3.0 << 30.0;
    QTest::newRow("two fins") << 25.0 << 24.0 << 2.0 << 3.0 << 30.0;
    QTest::newRow("three fins") << 41.6 << 40.5 << 3.0 << 3.2 << 50.0;
    QTest::newRow("four fins") << 41.6 << 40.5 << 4.0 << 3.2 << 50.0;
    QTest::newRow("six thin fins") << 66.0 << 64.0 << 6.0 << 0.8 << 120.0;
    QTest::newRow("twelve") << 100.0 << 98.0 << 12.0 << 6.0 << 300.0;
    QTest::newRow("thick fins") << 20.0 << 19.0 << 3.0 << 19.9 << 10.0;
}

void TestAids::guide() {
    QFETCH(double, od);
    QFETCH(double, id);
    QFETCH(double, count);
    QFETCH(double, thickness);
    QFETCH(double, span);
    const AidResult r = DrawFinAlignmentGuide(values(od, id, count, thickness, 60, span));
    QVERIFY2(r.ok(), qPrintable(r.refusal));
    const std::vector<Stroke>& s = r.figure.strokes();
    const int n = int(count);
    QCOMPARE(int(s.size()), 2 + 4 * n);
    QCOMPARE(s[0], Stroke::circle(StrokeRole::Mark, 0, 0, od / 2));
    QCOMPARE(s[1], Stroke::circle(StrokeRole::Mark, 0, 0, id / 2));
    const double outer = od / 2, tip = od / 2 + span, h = thickness / 2;
    for (int i = 0; i < n; ++i) {
        const Stroke& centre = s[2 + 4 * i];
        const Stroke& side1 = s[3 + 4 * i];
        const Stroke& side2 = s[4 + 4 * i];
        const Stroke& across = s[5 + 4 * i];
        // Every fin at 360/N from the last, turned 0.36/N degrees, counter-clockwise as seen.
        const double a = (360 / count * (i + 0.001)) * Pi / 180;
        QCOMPARE(centre.role, StrokeRole::CentreLine);
        QVERIFY(near(centre.x1, 0) && near(centre.y1, 0));
        QVERIFY(near(centre.x2, -tip * std::sin(a)) && near(centre.y2, -tip * std::cos(a)));
        // The sides run parallel to the centre line, half a thickness off it, from the tube's
        // wall to the tip circle; the tip joins them across one thickness.
        for (const Stroke* side : {&side1, &side2}) {
            QCOMPARE(side->role, StrokeRole::Mark);
            QVERIFY(near(offLine(centre, side->x1, side->y1), h));
            QVERIFY(near(offLine(centre, side->x2, side->y2), h));
            QVERIFY(near(std::hypot(side->x1, side->y1), outer));
            QVERIFY(near(std::hypot(side->x2, side->y2), tip));
        }
        QVERIFY(near(std::hypot(side1.x1 - side2.x1, side1.y1 - side2.y1), thickness));
        QVERIFY(near(across.x1, side1.x2) && near(across.y1, side1.y2));
        QVERIFY(near(across.x2, side2.x2) && near(across.y2, side2.y2));
        // The first side lies on the fin's left, seen from the centre.
        const double cross = centre.x2 * side1.y2 - centre.y2 * side1.x2;
        QVERIFY(cross < 0); // y grows downwards
    }
    const RectMm b = r.figure.bounds();
    QVERIFY(near(b.top, -tip, 1e-3) && b.left >= -tip - 1e-9 && b.bottom <= tip + 1e-9);
}

void TestAids::guideWorkedExample() {
    // Fin 0 of a known guide, in twips from the centre, to 0.01 twip.
    const AidResult r = DrawFinAlignmentGuide(values(41.6, 40.5, 4, 3.2, 60, 50));
    const std::vector<Stroke>& s = r.figure.strokes();
    auto twips = [](double mm) { return mm * TwipsPerMm; };
    auto at = [&](double x, double y, double ex, double ey) {
        return std::abs(twips(x) - ex) < 0.01 && std::abs(twips(y) - ey) < 0.01;
    };
    QVERIFY(near(twips(s[0].r), 1179.36, 1e-9));
    QVERIFY(near(twips(s[1].r), 1148.175, 1e-9));
    QVERIFY(at(s[2].x2, s[2].y2, -6.31, -4014.36));
    QVERIFY(at(s[3].x1, s[3].y1, -92.57, -1175.72));
    QVERIFY(at(s[3].x2, s[3].y2, -97.02, -4013.19));
    QVERIFY(at(s[4].x1, s[4].y1, 88.87, -1176.01));
    QVERIFY(at(s[4].x2, s[4].y2, 84.42, -4013.47));
}

void TestAids::wrapper_data() {
    QTest::addColumn<double>("od");
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("thickness");
    QTest::addColumn<double>("root");
    QTest::addColumn<double>("paper");
    QTest::newRow("three fins") << 25.0 << 3.0 << 3.0 << 60.0 << 0.381;
    QTest::newRow("one fin") << 25.0 << 1.0 << 3.0 << 60.0 << 0.381;
    QTest::newRow("four, no paper") << 41.6 << 4.0 << 3.2 << 75.5 << 0.0;
    QTest::newRow("eight, thick card") << 101.6 << 8.0 << 6.35 << 406.0 << 3.0;
    QTest::newRow("narrow root") << 18.0 << 3.0 << 1.5 << 20.0 << 0.1;
}

void TestAids::wrapper() {
    QFETCH(double, od);
    QFETCH(double, count);
    QFETCH(double, thickness);
    QFETCH(double, root);
    QFETCH(double, paper);
    const AidResult r = DrawBodyTubeWrapper(values(od, od - 1, count, thickness, root, 40, paper));
    QVERIFY2(r.ok(), qPrintable(r.refusal));
    const std::vector<Stroke>& s = r.figure.strokes();
    const int n = int(count);
    QCOMPARE(int(s.size()), 4 + 3 + 3 + 4 + 3 * n);
    // The strip: as wide as the root chord, as long as the tube is round plus one paper
    // thickness (the strip length is single precision in twips: 1e-4 mm).
    const double L = Pi * od + paper;
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s[i].role, StrokeRole::Outline);
    QVERIFY(near(s[0].x1, -root / 2) && near(s[1].x1, root / 2));
    QVERIFY(near(length(s[0]), L, 1e-4) && near(length(s[2]), root));
    const double top = s[0].y1;
    QVERIFY(near(top, -L / 2, 1e-4));
    // The marks: L/N apart, the first 200 twips below the top edge, each across the whole strip
    // with its sides half a thickness either way.
    for (int i = 0; i < n; ++i) {
        const Stroke& centre = s[14 + 3 * i];
        QCOMPARE(centre.role, StrokeRole::CentreLine);
        QVERIFY(near(centre.y1, top + 200 / TwipsPerMm + i * L / n, 1e-4));
        QVERIFY(near(centre.y1, centre.y2) && near(length(centre), root));
        QVERIFY(near(s[15 + 3 * i].y1, centre.y1 - thickness / 2));
        QVERIFY(near(s[16 + 3 * i].y1, centre.y1 + thickness / 2));
    }
    // Every mark lies on the strip; the flap and the tab lie off it.
    const RectMm b = r.figure.bounds();
    QVERIFY(near(b.top, top - 700 / TwipsPerMm) && near(b.bottom, -top + 300 / TwipsPerMm, 1e-4));
    QVERIFY(near(b.width(), root));
}

void TestAids::wrapperWorkedExample() {
    // OD 25, paper 0.381, root 60, thickness 3, three fins, in twips from the centre.
    const AidResult r = DrawBodyTubeWrapper(values(25, 24, 3, 3, 60, 30, 0.381f));
    const std::vector<Stroke>& s = r.figure.strokes();
    auto twips = [](double mm) { return mm * TwipsPerMm; };
    const double cx = 5953.5, cy = 8419.95;
    QVERIFY(std::abs(twips(s[0].x1) + cx - 4252.5) < 0.001);
    QVERIFY(std::abs(twips(s[1].x1) + cx - 7654.5) < 0.001);
    QVERIFY(std::abs(twips(s[0].y1) + cy - 6182.545) < 0.001);
    QVERIFY(std::abs(twips(s[0].y2) + cy - 10657.355) < 0.001);
    QVERIFY(std::abs(twips(s[6].y1) + cy - 5482.545) < 0.001);  // the flap's top
    QVERIFY(std::abs(twips(s[9].y1) + cy - 10957.355) < 0.001); // the tab's bottom
    QVERIFY(std::abs(twips(s[9].x1) + cx - 4652.5) < 0.001);
    for (int i = 0; i < 3; ++i)
        QVERIFY(std::abs(twips(s[14 + 3 * i].y1) + cy - (6382.545 + i * 1491.6033)) < 0.001);
}

void TestAids::refusals_data() {
    QTest::addColumn<AidValues>("v");
    QTest::addColumn<QString>("named"); // what the message must point at
    QTest::newRow("no design") << values(0, 0, 0, 0, 0, 0) << "number of fins of fin set 2";
    QTest::newRow("no fins") << values(25, 24, 0, 3, 60, 30) << "number of fins";
    QTest::newRow("half a fin") << values(25, 24, 3.5, 3, 60, 30) << "is 3.5";
    QTest::newRow("fins past any rocket") << values(25, 24, 1001, 1, 60, 30) << "1 to 1000";
    QTest::newRow("no outer diameter") << values(0, 24, 3, 3, 60, 30) << "outer diameter";
    QTest::newRow("no inner diameter") << values(25, 0, 3, 3, 60, 30) << "inner diameter";
    QTest::newRow("no root chord") << values(25, 24, 3, 3, 0, 30) << "root chord";
    QTest::newRow("no semi span") << values(25, 24, 3, 3, 60, 0) << "semi span";
    QTest::newRow("no thickness") << values(25, 24, 3, 0, 60, 30) << "fin thickness";
    QTest::newRow("negative root") << values(25, 24, 3, 3, -60, 30) << "-60 mm";
    QTest::newRow("infinite root") << values(25, 24, 3, 3, INFINITY, 30) << "not a number";
    QTest::newRow("not a number") << values(NAN, 24, 3, 3, 60, 30) << "outer diameter";
    QTest::newRow("inner past outer") << values(25, 26, 3, 3, 60, 30) << "larger than its outer";
    QTest::newRow("fins as thick as the tube") << values(25, 24, 3, 25, 60, 30) << "25 mm thick";
    QTest::newRow("root over 10 m") << values(25, 24, 3, 3, 10001, 30) << "root chord";
    QTest::newRow("span past 10 m") << values(25, 24, 3, 3, 60, 4990) << "more than 10 m";
    AidValues onCone = values(25, 24, 3, 3, 60, 30);
    onCone.carrier = QStringLiteral("a nose cone");
    QTest::newRow("fins on a nose cone") << onCone << "sit on a nose cone, not on a body tube";
}

void TestAids::refusals() {
    QFETCH(AidValues, v);
    QFETCH(QString, named);
    // Both aids refuse the same values with the same message, and draw nothing.
    const AidResult guide = DrawFinAlignmentGuide(v);
    const AidResult wrapper = DrawBodyTubeWrapper(v);
    QVERIFY(!guide.ok() && guide.figure.isEmpty());
    QCOMPARE(wrapper.refusal, guide.refusal);
    QVERIFY(wrapper.figure.isEmpty());
    QVERIFY(guide.refusal.startsWith(QString::fromUtf8(WrongValueMessage)));
    QVERIFY2(guide.refusal.contains(named), qPrintable(guide.refusal));
    QVERIFY(guide.refusal.contains(QLatin1String("fin set 2")));
}

void TestAids::paperThicknessBlamesTheSettings_data() {
    QTest::addColumn<double>("paper");
    QTest::addColumn<bool>("usable");
    QTest::newRow("none") << 0.0 << true;
    QTest::newRow("card") << 3.0 << true;
    QTest::newRow("negative") << -0.1 << false;
    QTest::newRow("a board") << 3.5 << false;
    QTest::newRow("overflowed") << double(INFINITY) << false;
}

void TestAids::paperThicknessBlamesTheSettings() {
    QFETCH(double, paper);
    QFETCH(bool, usable);
    const AidValues v = values(25, 24, 3, 3, 60, 30, paper);
    const AidResult wrapper = DrawBodyTubeWrapper(v);
    QCOMPARE(wrapper.ok(), usable);
    QVERIFY(DrawFinAlignmentGuide(v).ok()); // the guide has no paper in it
    if (!usable) {
        QVERIFY(wrapper.figure.isEmpty());
        QVERIFY(wrapper.refusal.contains(QStringLiteral("File → Options")));
        QVERIFY(!wrapper.refusal.contains(QLatin1String("load another file")));
    }
}

void TestAids::toolTable() {
    QCOMPARE(int(Tools().size()), 2);
    QCOMPARE(ToolByCaption(QStringLiteral("Fins alignment guide"))->commandName, "guide");
    QCOMPARE(ToolByCommandName(QStringLiteral("wrapper"))->caption, "Body tube wrapper");
    QVERIFY(!ToolByCaption(QStringLiteral("fins alignment guide"))); // exact text only
    QVERIFY(!ToolByCaption(QStringLiteral("Select the tool you need.")));
}

QTEST_APPLESS_MAIN(TestAids)
#include "tst_aids.moc"
