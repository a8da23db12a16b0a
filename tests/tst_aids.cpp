// The two aids against their closed forms, on the recording surface.
#include "output/Aids.h"
#include "output/PageOutput.h"

#include <QtTest>
#include <cmath>

using namespace vanecraft;

namespace {

struct Pt {
    double x, y;
};

AppState designState(const QString& od, const QString& id, const QString& count,
                     const QString& thickness, const QString& root, const QString& span,
                     float paper = 0.381f) {
    AppState s;
    s.design = Design::emptyForLoad();
    s.design.FinSetTubeOD[1] = od;
    s.design.FinSetTubeID[1] = id;
    s.design.FinSetCount[1] = count;
    s.design.FinSetThickness[1] = thickness;
    s.design.FinSetRoot[1] = root;
    s.design.FinSetSpan[1] = span;
    s.selectFinSet(1);
    s.PaperThickness = paper;
    return s;
}

void compareLine(const DrawingOp& op, Pt a, Pt b, int style, int width = 1) {
    QCOMPARE(op.kind, DrawingOp::Line);
    QVERIFY2(std::abs(op.a - a.x) < 0.01 && std::abs(op.b - a.y) < 0.01 &&
                 std::abs(op.c - b.x) < 0.01 && std::abs(op.d - b.y) < 0.01,
             qPrintable(QStringLiteral("(%1, %2)-(%3, %4) instead of (%5, %6)-(%7, %8)")
                            .arg(op.a)
                            .arg(op.b)
                            .arg(op.c)
                            .arg(op.d)
                            .arg(a.x)
                            .arg(a.y)
                            .arg(b.x)
                            .arg(b.y)));
    QCOMPARE(op.style, style);
    QCOMPARE(op.width, width);
}

} // namespace

class TestAids : public QObject {
    Q_OBJECT
private slots:
    void frameValues();
    void guide_data();
    void guide();
    void guideWorkedExample();
    void guideRefuses_data();
    void guideRefuses();
    void wrapper_data();
    void wrapper();
    void wrapperWorkedExample();
    void wrapperRefuses_data();
    void wrapperRefuses();
    void printedPageOrder();
};

void TestAids::frameValues() {
    const AppState s = designState("25", "24", "3", "3", "60", "30");
    const Frame f = ComputeFrame(s, PageCentreX, PageCentreY);
    QCOMPARE(f.CentreX, 5953.5);
    QCOMPARE(f.CentreY, 8419.9501953125f);
    QCOMPARE(f.OuterRadius, 708.75);
    QCOMPARE(f.HalfFinThickness, 85.05);
    QCOMPARE(f.Circumference, float(708.75 * 2 * 3.14159265358979));
    QVERIFY(std::abs(f.Circumference - 4453.2f) < 0.01f);
}

void TestAids::guide_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<int>("fins"); // fins drawn
    QTest::newRow("N = 1") << "1"
                           << "3.2" << 1;
    QTest::newRow("N = 2") << "2"
                           << "3.2" << 2;
    QTest::newRow("N = 3") << "3"
                           << "3.2" << 3;
    QTest::newRow("N = 4") << "4"
                           << "3.2" << 4;
    QTest::newRow("N = 3.5: three fins") << "3.5"
                                         << "3.2" << 3;
    QTest::newRow("N = 0.5: the circles only") << "0.5"
                                               << "3.2" << 0;
    QTest::newRow("N = 12, thin fins") << "12"
                                       << "0.4" << 12;
    QTest::newRow("N = 7") << "7"
                           << "6" << 7;
}

void TestAids::guide() {
    QFETCH(QString, count);
    QFETCH(QString, thickness);
    QFETCH(int, fins);
    const AppState s = designState("41.6", "40.5", count, thickness, "75.5", "50");
    const Frame f = ComputeFrame(s, PageCentreX, PageCentreY);
    RecordingSurface r;
    QVERIFY(DrawFinAlignmentGuide(r, f, s));
    const std::vector<DrawingOp> m = r.marks();
    QCOMPARE(int(m.size()), 2 + 4 * fins);
    const Pt M{5953.5, 8419.9501953125};
    QCOMPARE(m[0], (DrawingOp{DrawingOp::Circle, 5953.5f, PageCentreY, 1179.36f, 0, 0, 1}));
    QCOMPARE(m[1].c, 1148.175f);
    const double N = count.toDouble();
    const double R = 41.6 * 56.7 / 2, T = R + 50 * 56.7, H = thickness.toDouble() * 56.7 / 2;
    for (int i = 0; i < fins; ++i) {
        const double a = M_PI * (360 / N) * (i + 0.001) / 180;
        const Pt d{-std::sin(a), -std::cos(a)}, e{-std::cos(a), std::sin(a)};
        auto at = [&](double side, double along) {
            return Pt{M.x + side * e.x + along * d.x, M.y + side * e.y + along * d.y};
        };
        const Pt P = at(0, T);
        const Pt A1 = at(H, std::sqrt(R * R - H * H)), B1 = at(H, std::sqrt(T * T - H * H));
        const Pt A2 = at(-H, std::sqrt(R * R - H * H)), B2 = at(-H, std::sqrt(T * T - H * H));
        const size_t k = 2 + 4 * size_t(i);
        compareLine(m[k], M, P, Dashed);
        compareLine(m[k + 1], A1, B1, Solid);
        compareLine(m[k + 2], A2, B2, Solid);
        compareLine(m[k + 3], B1, B2, Solid);
    }
    // The guide leaves the surface solid and never touches the width.
    QCOMPARE(r.ops().back().style, int(Solid));
    for (const DrawingOp& op : r.ops())
        QVERIFY(op.kind != DrawingOp::Width);
}

void TestAids::guideWorkedExample() {
    const AppState s = designState("41.6", "40.5", "4", "3.2", "75.5", "50");
    RecordingSurface r;
    QVERIFY(DrawFinAlignmentGuide(r, ComputeFrame(s, PageCentreX, PageCentreY), s));
    const std::vector<DrawingOp> m = r.marks();
    const double cx = 5953.5, cy = 8419.9501953125;
    auto near = [&](float x, float y, double ex, double ey) {
        return std::abs(x - cx - ex) < 0.006 && std::abs(y - cy - ey) < 0.006;
    };
    QVERIFY(near(m[2].c, m[2].d, -6.31, -4014.36));  // P
    QVERIFY(near(m[3].a, m[3].b, -92.57, -1175.72)); // A1
    QVERIFY(near(m[3].c, m[3].d, -97.02, -4013.19)); // B1
    QVERIFY(near(m[4].a, m[4].b, 88.87, -1176.01));  // A2
    QVERIFY(near(m[4].c, m[4].d, 84.42, -4013.47));  // B2
    // With four fins they point up, left, down and right.
    QVERIFY(m[6].c < cx - 4000 && std::abs(m[6].d - cy) < 10);
    QVERIFY(m[10].d > cy + 4000);
    QVERIFY(m[14].c > cx + 4000);
}

void TestAids::guideRefuses_data() {
    QTest::addColumn<QStringList>("values"); // od, id, count, thickness, root, span
    QTest::newRow("no design") << QStringList{"", "", "", "", "", ""};
    QTest::newRow("root chord 0") << QStringList{"41.6", "40.5", "4", "3.2", "0", "50"};
    QTest::newRow("inner diameter missing") << QStringList{"41.6", "", "4", "3.2", "75", "50"};
    QTest::newRow("negative span") << QStringList{"41.6", "40.5", "4", "3.2", "75", "-50"};
    QTest::newRow("not numbers") << QStringList{"abc", "40.5", "4", "3.2", "75", "50"};
    QTest::newRow("fins as thick as the tube") << QStringList{"10", "9", "3", "10", "75", "50"};
    QTest::newRow("a billion fins") << QStringList{"41.6", "40.5", "1e9", "3.2", "75", "50"};
    QTest::newRow("tube of 1e6 mm") << QStringList{"1e6", "40.5", "4", "3.2", "75", "50"};
    QTest::newRow("infinite span") << QStringList{"41.6", "40.5", "4", "3.2", "75", "1e999"};
}

void TestAids::guideRefuses() {
    QFETCH(QStringList, values);
    const AppState s =
        designState(values[0], values[1], values[2], values[3], values[4], values[5]);
    RecordingSurface r;
    QVERIFY(!DrawFinAlignmentGuide(r, ComputeFrame(s, PageCentreX, PageCentreY), s));
    QVERIFY(r.ops().empty());
}

void TestAids::wrapper_data() {
    QTest::addColumn<QStringList>("values"); // od, count, thickness, root
    QTest::addColumn<float>("paper");
    QTest::addColumn<int>("marks");
    QTest::newRow("three fins") << QStringList{"25", "3", "3", "60"} << 0.381f << 3;
    QTest::newRow("one fin") << QStringList{"25", "1", "3", "60"} << 0.381f << 1;
    QTest::newRow("2.5 fins: two marks") << QStringList{"41.6", "2.5", "3", "75"} << 0.381f << 2;
    QTest::newRow("no fins") << QStringList{"25", "0", "3", "60"} << 0.381f << 0;
    QTest::newRow("negative count") << QStringList{"25", "-2", "3", "60"} << 0.381f << 0;
    QTest::newRow("no design") << QStringList{"", "", "", ""} << 0.381f << 0;
    QTest::newRow("root chord 0") << QStringList{"25", "4", "3", "0"} << 0.381f << 4;
    QTest::newRow("thickness 0") << QStringList{"25", "4", "0", "60"} << 0.381f << 4;
    QTest::newRow("no paper") << QStringList{"25", "4", "3", "60"} << 0.0f << 4;
    QTest::newRow("empty diameter") << QStringList{"", "4", "3", "60"} << 0.381f << 4;
}

void TestAids::wrapper() {
    QFETCH(QStringList, values);
    QFETCH(float, paper);
    QFETCH(int, marks);
    const AppState s = designState(values[0], "1", values[1], values[2], values[3], "1", paper);
    const Frame f = ComputeFrame(s, PageCentreX, PageCentreY);
    RecordingSurface r;
    QVERIFY(DrawBodyTubeWrapper(r, f, 3, s));
    const std::vector<DrawingOp> m = r.marks();
    QCOMPARE(int(m.size()), 14 + 3 * marks);
    const double Cy = double(PageCentreY);
    const double L = float(double(float(values[0].toDouble() * 56.7 / 2 * 2 * 3.14159265358979)) +
                           paper * 567.0 / 10);
    const double root = values[3].toDouble() * 56.7;
    const double h = values[2].toDouble() * 56.7 / 2;
    const double Xl = 5953.5 - root / 2, Xr = 5953.5 + root / 2;
    const double Yt = float(Cy - L / 2), Yb = float(L / 2 + Cy);
    compareLine(m[0], {Xl, Yt}, {Xl, Yb}, Solid, 3);
    compareLine(m[1], {Xr, Yt}, {Xr, Yb}, Solid, 3);
    compareLine(m[2], {Xr, Yt}, {Xl, Yt}, Solid, 3);
    compareLine(m[3], {Xr, Yb}, {Xl, Yb}, Solid, 3);
    compareLine(m[4], {Xl, Yt}, {Xl, Yt - 700}, Solid);
    compareLine(m[5], {Xr, Yt}, {Xr, Yt - 700}, Solid);
    compareLine(m[6], {Xl, Yt - 700}, {Xr, Yt - 700}, Solid);
    compareLine(m[7], {Xl + 400, Yb}, {Xl + 400, Yb + 300}, Solid);
    compareLine(m[8], {Xr - 400, Yb}, {Xr - 400, Yb + 300}, Solid);
    compareLine(m[9], {Xl + 400, Yb + 300}, {Xr - 400, Yb + 300}, Solid);
    compareLine(m[10], {Xl + 400, Yt - 150}, {Xl + 400, Yt + 150}, Solid);
    compareLine(m[11], {Xr - 400, Yt - 150}, {Xr - 400, Yt + 150}, Solid);
    compareLine(m[12], {Xl + 400, Yt - 150}, {Xr - 400, Yt + 150}, Solid);
    compareLine(m[13], {Xl + 400, Yt + 150}, {Xr - 400, Yt - 150}, Solid);
    const double N = values[1].toDouble();
    for (int i = 0; i < marks; ++i) {
        const double y = Yt + 200 + i * L / N;
        compareLine(m[14 + 3 * i], {Xl, y}, {Xr, y}, Dashed);
        compareLine(m[15 + 3 * i], {Xl, y - h}, {Xr, y - h}, Solid);
        compareLine(m[16 + 3 * i], {Xl, y + h}, {Xr, y + h}, Solid);
    }
    QCOMPARE(r.ops().back().style, int(Solid));
    QCOMPARE(r.ops().back().width, 1);
}

void TestAids::wrapperWorkedExample() {
    const AppState s = designState("25", "24", "3", "3", "60", "30", 0.381f);
    RecordingSurface r;
    QVERIFY(DrawBodyTubeWrapper(r, ComputeFrame(s, PageCentreX, PageCentreY), 3, s));
    const std::vector<DrawingOp> m = r.marks();
    auto close = [](float a, double b) { return std::abs(a - b) < 0.002; };
    QVERIFY(close(m[0].a, 4252.5) && close(m[1].a, 7654.5));
    QVERIFY(close(m[0].b, 6182.545) && close(m[0].d, 10657.355));
    QVERIFY(close(m[6].b, 5482.545));  // flap top
    QVERIFY(close(m[9].b, 10957.355)); // tab bottom
    QVERIFY(close(m[10].a, 4652.5) && close(m[11].a, 7254.5));
    QVERIFY(close(m[10].b, 6032.545) && close(m[10].d, 6332.545));
    QVERIFY(close(m[14].b, 6382.545) && close(m[17].b, 7874.148) && close(m[20].b, 9365.752));
    QVERIFY(close(m[15].b, 6382.545 - 85.05) && close(m[16].b, 6382.545 + 85.05));
}

void TestAids::wrapperRefuses_data() {
    QTest::addColumn<QStringList>("values"); // od, count, thickness, root
    QTest::newRow("a billion fins") << QStringList{"25", "1e9", "3", "60"};
    QTest::newRow("tube of 1e6 mm") << QStringList{"1e6", "3", "3", "60"};
    QTest::newRow("infinite root") << QStringList{"25", "3", "3", "1e999"};
}

void TestAids::wrapperRefuses() {
    QFETCH(QStringList, values);
    const AppState s = designState(values[0], "1", values[1], values[2], values[3], "1");
    RecordingSurface r;
    QVERIFY(!DrawBodyTubeWrapper(r, ComputeFrame(s, PageCentreX, PageCentreY), 3, s));
    QVERIFY(r.ops().empty());
}

void TestAids::printedPageOrder() {
    const AppState s = designState("25", "24", "3", "3", "60", "30");
    RecordingSurface page;
    QCOMPARE(RecordPrintedPage(QString::fromLatin1(WrapperToolName), s, page), DrawResult::Drawn);
    QCOMPARE(page.ops().front().kind, DrawingOp::Begin);
    QCOMPARE(page.ops()[1], (DrawingOp{DrawingOp::Width, 0, 0, 0, 0, 0, 3}));
    const auto n = page.ops().size();
    QCOMPARE(page.ops()[n - 2].kind, DrawingOp::End);
    QCOMPARE(page.ops()[n - 1], (DrawingOp{DrawingOp::Width, 0, 0, 0, 0, 0, 1}));

    // A refused guide ends no document.
    RecordingSurface refused;
    QCOMPARE(RecordPrintedPage(QString::fromLatin1(GuideToolName), AppState(), refused),
             DrawResult::Refused);
    for (const DrawingOp& op : refused.ops())
        QVERIFY(op.kind == DrawingOp::Begin);
    RecordingSurface none;
    QCOMPARE(RecordPrintedPage(QStringLiteral("Select the tool you need."), s, none),
             DrawResult::NoTool);
    QVERIFY(none.ops().empty());
}

QTEST_APPLESS_MAIN(TestAids)
#include "tst_aids.moc"
