// The other parts on a fin set's tube: which are marked, at what angle to the set's first fin,
// and what the user is told of those that cannot be.
#include "aids/Aids.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace vanecraft;

namespace {

Angle degrees(double d) {
    return {d, std::nullopt};
}

Angle unreadable(const QString& text) {
    return {0, text};
}

FinSet finSet(const QString& name, int count, Angle rotation, int tube = 0) {
    FinSet f;
    f.Name = name;
    f.Count = Value::of(QString::number(count));
    f.Root = Value::of(QStringLiteral("60"));
    f.Span = Value::of(QStringLiteral("40"));
    f.Thickness = Value::of(QStringLiteral("3"));
    f.Tube.OD = Value::of(QStringLiteral("41.6"));
    f.Tube.ID = Value::of(QStringLiteral("40.5"));
    f.Tube.Len = Value::of(QStringLiteral("400"));
    f.Tube.Index = tube;
    f.HeldByTube = true;
    f.Rotation = rotation;
    return f;
}

TubeMark lug(Angle a, const QString& name = QStringLiteral("Lug")) {
    return {TubeMark::Kind::LaunchLug, a, name, Value::of(QStringLiteral("6")), {}};
}

TubeMark button(Angle a) {
    return {TubeMark::Kind::RailButton, a, QStringLiteral("Button"), {}, {}};
}

TubeMark tubeFins(Angle a, const QString& count) {
    return {TubeMark::Kind::TubeFins, a, QStringLiteral("Tubes"), {}, Value::of(count)};
}

// Fin sets as given, every one on tube 0 carrying the same lugs and buttons.
Design designOf(std::vector<FinSet> sets, const std::vector<TubeMark>& marks = {},
                int leftOut = 0) {
    Design d;
    for (FinSet& f : sets) {
        if (f.Tube.Index == 0) {
            f.Tube.Marks = marks;
            f.Tube.MarksLeftOut = leftOut;
        }
    }
    d.FinSets = std::move(sets);
    d.FinSetsInFile = int(d.FinSets.size());
    return d;
}

// Marks as "kind angle label" words, angles to 1e-6 degrees, sorted.
QStringList words(const std::vector<PartMark>& marks) {
    QStringList out;
    for (const PartMark& m : marks) {
        const char* kind = m.kind == PartMark::Kind::Fin         ? "fin"
                           : m.kind == PartMark::Kind::LaunchLug ? "lug"
                                                                 : "rail";
        out << QStringLiteral("%1 %2 %3").arg(kind, QString::number(m.degrees, 'f', 6), m.label);
    }
    out.sort();
    return out;
}

AppState stateOf(const Design& d, int n, bool markParts = true) {
    AppState s;
    s.adoptDesign(d);
    s.selectFinSet(n);
    s.PaperThickness = 0.381f;
    s.MarkParts = markParts;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(vanecraft::Design)

class TestPartMarks : public QObject {
    Q_OBJECT
private slots:
    void marks_data();
    void marks();
    void nothingElseOnTheTubeDrawsTodaysFigures_data();
    void nothingElseOnTheTubeDrawsTodaysFigures();
    void wrapperMarksStayOnTheStrip();
    void cantIsTold();
};

void TestPartMarks::marks_data() {
    QTest::addColumn<Design>("design");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("note"); // a note that must be among the notes; empty: none at all
    const FinSet main = finSet(QStringLiteral("Main"), 4, degrees(0));
    QTest::newRow("a lug opposite the first fin") << designOf({main}, {lug(degrees(180))}) << 1
                                                  << QStringList{"lug 180.000000 lug"} << QString();
    QTest::newRow("negative angles and angles past a turn")
        << designOf({finSet(QStringLiteral("Main"), 3, degrees(-30))},
                    {lug(degrees(725)), button(degrees(-45))})
        << 1 << QStringList{"lug 35.000000 lug", "rail 345.000000 rail"} << QString();
    QTest::newRow("measured from a turned fin set")
        << designOf({finSet(QStringLiteral("Main"), 4, degrees(45))}, {lug(degrees(0))}) << 1
        << QStringList{"lug 315.000000 lug"} << QString();
    QTest::newRow("another fin set on the tube, every fin of it")
        << designOf({main, finSet(QStringLiteral("Canards"), 3, degrees(10))}) << 1
        << QStringList{"fin 10.000000 Canards", "fin 130.000000 Canards", "fin 250.000000 Canards"}
        << QString();
    QTest::newRow("the other way round: the main fins on the canards' aid")
        << designOf({main, finSet(QStringLiteral("Canards"), 3, degrees(10))}) << 2
        << QStringList{"fin 170.000000 Main", "fin 260.000000 Main", "fin 350.000000 Main",
                       "fin 80.000000 Main"}
        << QString();
    QTest::newRow("fin sets on another tube or on a transition are not marked") << [&] {
        FinSet onTransition = finSet(QStringLiteral("T"), 3, degrees(5));
        onTransition.Tube.Carrier = QStringLiteral("a transition");
        onTransition.HeldByTube = false;
        return designOf({main, finSet(QStringLiteral("Pod"), 3, degrees(7), 1), onTransition});
    }() << 1 << QStringList{} << QString();
    QTest::newRow("fins that only borrow the tube's values neither mark nor are marked") << [&] {
        FinSet onPod = finSet(QStringLiteral("Pod fins"), 3, degrees(5));
        onPod.HeldByTube = false;
        return designOf({main, onPod}, {lug(degrees(90))});
    }() << 1 << QStringList{"lug 90.000000 lug"} << QString();
    QTest::newRow("and on their own aid nothing is marked, and that is told")
        <<
        [&] {
            FinSet onPod = finSet(QStringLiteral("Pod fins"), 3, degrees(5));
            onPod.HeldByTube = false;
            return designOf({main, onPod}, {lug(degrees(90))});
        }()
        << 2 << QStringList{}
        << QStringLiteral("No other part on the tube is marked: fin set 2 (\"Pod fins\") sits on a "
                          "pod, a transition or a nose cone, not on the tube.");
    QTest::newRow("tube fins: every one of them, as fins")
        << designOf({main}, {tubeFins(degrees(30), QStringLiteral("3"))}) << 1
        << QStringList{"fin 150.000000 Tubes", "fin 270.000000 Tubes", "fin 30.000000 Tubes"}
        << QString();
    QTest::newRow("tube fins without a count")
        << designOf({main}, {tubeFins(degrees(30), QString())}) << 1 << QStringList{}
        << QStringLiteral("The tube fin set \"Tubes\" is not marked: the design gives no count of "
                          "its fins.");
    QTest::newRow("two buttons at one angle are one mark")
        << designOf({main}, {button(degrees(90)), button(degrees(450)), button(degrees(-270))}) << 1
        << QStringList{"rail 90.000000 rail"} << QString();
    QTest::newRow("a lug and a button at one angle are two marks")
        << designOf({main}, {lug(degrees(45)), button(degrees(45))}) << 1
        << QStringList{"lug 45.000000 lug", "rail 45.000000 rail"} << QString();
    QTest::newRow("an angle just inside a billion degrees")
        << designOf({main}, {lug(degrees(999999990))}) << 1 << QStringList{"lug 270.000000 lug"}
        << QString();
    QTest::newRow("an angle that is no number")
        << designOf({main}, {lug(unreadable(QStringLiteral("abc")), QStringLiteral("Aft lug")),
                             button(degrees(90))})
        << 1 << QStringList{"rail 90.000000 rail"}
        << QStringLiteral("The launch lug \"Aft lug\" is not marked: its angle \"abc\" is not a "
                          "usable number.");
    QTest::newRow("an angle past a billion degrees")
        << designOf({main}, {button(degrees(-1e12))}) << 1 << QStringList{}
        << QStringLiteral("The rail button \"Button\" is not marked: its angle is more than a "
                          "billion degrees.");
    QTest::newRow("the selected set's own angle unknown")
        << designOf({finSet(QStringLiteral("Main"), 4, unreadable(QStringLiteral("inf")))},
                    {lug(degrees(45))})
        << 1 << QStringList{}
        << QStringLiteral("No other part on the tube is marked: the angle of fin set 1 "
                          "(\"Main\") is unknown (its angle \"inf\" is not a usable number).");
    QTest::newRow("another set's angle unknown")
        << designOf({main, finSet(QStringLiteral("Canards"), 3, unreadable(QStringLiteral("x")))},
                    {lug(degrees(45))})
        << 1 << QStringList{"lug 45.000000 lug"}
        << QStringLiteral("Fin set 2 (\"Canards\") is not marked: its angle \"x\" is not a usable "
                          "number.");
    QTest::newRow("another set's fin count unusable")
        << designOf({main, finSet(QStringLiteral("Canards"), 0, degrees(0))}) << 1 << QStringList{}
        << QStringLiteral("Fin set 2 (\"Canards\") is not marked: its fin count \"0\" is not a "
                          "whole number from 1 to 1000.");
    QTest::newRow("names too long for a line are cut short")
        << designOf({main, finSet(QString(100000, u'N'), 3, unreadable(QString(100000, u'7')))})
        << 1 << QStringList{}
        << QStringLiteral("Fin set 2 (\"NNNNNNNNNNNNNNNNNNNNNNN…\") is not marked: its angle "
                          "\"77777777777777777777777…\" is not a usable number.");
    QTest::newRow("control characters in a label are shown, not sent")
        << designOf({main, finSet(QStringLiteral("A\x1b[2J"), 1, degrees(90))}) << 1
        << QStringList{"fin 90.000000 A\\x1B[2J"} << QString();
    QTest::newRow("a cut never splits a character or an escape")
        << designOf({main, finSet(QStringLiteral("\x01") + QString(18, u'A') +
                                      QString::fromUtf16(u"\U0001F680B\u202E"),
                                  1, degrees(90))})
        << 1 << QStringList{"fin 90.000000 \\x01AAAAAAAAAAAAAAAAAA…"} << QString();
    QTest::newRow("notes past a few are counted, not listed") << [&] {
        std::vector<FinSet> sets{main};
        for (int i = 0; i < 20; ++i)
            sets.push_back(finSet(QStringLiteral("Bad"), 3, unreadable(QStringLiteral("x"))));
        return designOf(sets);
    }() << 1 << QStringList{} << QStringLiteral("13 more notes like these are left out.");
    QTest::newRow("lugs past the tube's hundred are told")
        << designOf({main}, {lug(degrees(90))}, 3) << 1 << QStringList{"lug 90.000000 lug"}
        << QStringLiteral("3 more launch lugs or rail buttons on this tube were not read: a tube "
                          "keeps at most 100.");
}

void TestPartMarks::marks() {
    QFETCH(Design, design);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QFETCH(QString, note);
    QCOMPARE(words(PartMarksOf(design, selected).marks), expected);
    // The aids carry the notes beneath the figure, and the marks with them.
    const AidValues values = AidValuesOf(stateOf(design, selected));
    QCOMPARE(words(values.parts), expected);
    const QStringList& notes = values.notes;
    QVERIFY(notes.size() <= 8);
    if (note.isEmpty())
        QVERIFY2(notes.isEmpty(), qPrintable(notes.join(u'\n')));
    else
        QVERIFY2(notes.contains(note), qPrintable(notes.join(u'\n')));
    const AidResult guide = DrawFinAlignmentGuide(values);
    QVERIFY(guide.ok());
    const auto& texts = guide.figure.texts();
    for (const QString& n : notes)
        QVERIFY(std::any_of(texts.begin(), texts.end(),
                            [&](const FigureText& t) { return t.text == n; }));
}

void TestPartMarks::nothingElseOnTheTubeDrawsTodaysFigures_data() {
    QTest::addColumn<Design>("design");
    const FinSet main = finSet(QStringLiteral("Main"), 4, degrees(30));
    QTest::newRow("a lone fin set") << designOf({main});
    QTest::newRow("parts on other tubes only")
        << designOf({main, finSet(QStringLiteral("Pod"), 3, degrees(7), 1)});
}

void TestPartMarks::nothingElseOnTheTubeDrawsTodaysFigures() {
    QFETCH(Design, design);
    for (const Tool& tool : Tools()) {
        const AidResult marked = tool.build(AidValuesOf(stateOf(design, 1, true)));
        const AidResult plain = tool.build(AidValuesOf(stateOf(design, 1, false)));
        QVERIFY(marked.ok() && plain.ok());
        QVERIFY(marked.figure.strokes() == plain.figure.strokes());
        QVERIFY(marked.figure.texts().empty());
    }
    // With the marks turned off, a tube full of parts draws the same as an empty one.
    Design busy = designOf({finSet(QStringLiteral("Main"), 4, degrees(30)),
                            finSet(QStringLiteral("Canards"), 3, degrees(0))},
                           {lug(degrees(45))});
    for (const Tool& tool : Tools())
        QVERIFY(tool.build(AidValuesOf(stateOf(busy, 1, false))).figure.strokes() ==
                tool.build(AidValuesOf(stateOf(design, 1, false))).figure.strokes());
}

void TestPartMarks::wrapperMarksStayOnTheStrip() {
    // Angles all round, and either side of a whole turn: every line across lies on the strip.
    std::vector<TubeMark> marks;
    for (double a : {0.0, 1e-9, 90.0, 179.99, 359.0, 359.9999, 360.0, -1e-9, -0.5, 3600.25})
        marks.push_back(button(degrees(a)));
    const Design d = designOf({finSet(QStringLiteral("Main"), 3, degrees(0))}, marks);
    const AidResult wrapper = DrawBodyTubeWrapper(AidValuesOf(stateOf(d, 1)));
    QVERIFY(wrapper.ok());
    const Stroke& left = wrapper.figure.strokes()[0]; // the strip's nose edge, end to end
    int across = 0;
    for (const Stroke& s : wrapper.figure.strokes()) {
        if (s.role != StrokeRole::PartLine)
            continue;
        ++across;
        QVERIFY2(s.y1 >= left.y1 && s.y1 <= left.y2, qPrintable(QString::number(s.y1)));
    }
    QCOMPARE(across, 7); // 0, 360, 1e-9 and -1e-9 are one angle
}

void TestPartMarks::cantIsTold() {
    FinSet canted = finSet(QStringLiteral("Main"), 4, degrees(0));
    canted.Cant = degrees(2.5);
    FinSet unknown = canted;
    unknown.Cant = unreadable(QStringLiteral("?"));
    const struct {
        FinSet set;
        QString note;
    } cases[] = {
        {canted, QStringLiteral("Fin set 1 (\"Main\") is canted 2.5°: its fins are drawn "
                                "straight.")},
        {unknown, QStringLiteral("The cant of fin set 1 (\"Main\") reads \"?\", no number: its "
                                 "fins are drawn straight.")},
    };
    for (const auto& c : cases) {
        const Design d = designOf({c.set});
        for (bool markParts : {true, false}) {
            const AidResult guide = DrawFinAlignmentGuide(AidValuesOf(stateOf(d, 1, markParts)));
            QCOMPARE(guide.notes, QStringList{c.note});
            QCOMPARE(guide.figure.texts().back().text, c.note);
        }
    }
}

QTEST_GUILESS_MAIN(TestPartMarks)
#include "tst_partmarks.moc"
