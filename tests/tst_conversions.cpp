#include "model/Conversions.h"

#include <QtTest>
#include <cmath>

using namespace vanecraft;

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void val_data();
    void val();
    void numberText_data();
    void numberText();
    void displayLength_data();
    void displayLength();
    void twips();
    void shownText_data();
    void shownText();
};

void TestConversions::val_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("plain") << "41.6" << 41.6;
    QTest::newRow("trailing dot") << "75." << 75.0;
    QTest::newRow("leading dot") << ".5" << 0.5;
    QTest::newRow("decimal comma ends the number") << "12,7" << 12.0;
    QTest::newRow("blanks inside are ignored") << " 4 1.\t6 " << 41.6;
    QTest::newRow("line feed ignored") << "\n3\n" << 3.0;
    QTest::newRow("sign") << "-3.5" << -3.5;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("exponent") << "2.5e2" << 250.0;
    QTest::newRow("negative exponent") << "5.59555776063408e-002" << 0.0559555776063408;
    QTest::newRow("java exponent") << "2.7098958420476207E-6" << 2.7098958420476207e-6;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("hex is not read") << "0x1A" << 0.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("unit after number") << "41.6mm" << 41.6;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("tiny") << "1e-320" << 1e-320;
    QTest::newRow("huge") << "1e308" << 1e308;
}

void TestConversions::val() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val(text), expected);
}

void TestConversions::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("41.6 mm in inches") << 41.6 * InchesPerMillimetre << "1.637790336";
    QTest::newRow("25.4 mm in inches") << 25.4 * InchesPerMillimetre << "0.999996984";
    QTest::newRow("12 mm in inches") << 12 * InchesPerMillimetre << "0.47243952";
    QTest::newRow("whole") << 250.0 << "250";
    QTest::newRow("15 digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("small, no exponent") << 1e-7 << "0.0000001";
    QTest::newRow("large, no exponent") << 1.5e20 << "150000000000000000000";
    QTest::newRow("negative small") << -2.5e-6 << "-0.0000025";
    QTest::newRow("negative zero") << -0.0 << "0";
}

void TestConversions::numberText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(value, QStringLiteral(".")), expected);
}

void TestConversions::displayLength_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("expected");
    QTest::newRow("millimetres as stored") << " 41.6 "
                                           << "Millimeters"
                                           << " 41.6 ";
    QTest::newRow("empty in millimetres") << ""
                                          << "Millimeters"
                                          << "";
    QTest::newRow("empty in inches") << ""
                                     << "Inches"
                                     << "0";
    QTest::newRow("inches") << "41.6"
                            << "Inches"
                            << "1.637790336";
    QTest::newRow("decimal comma in inches") << "12,7"
                                             << "Inches"
                                             << "0.47243952";
    QTest::newRow("lower-case inches is not Inches") << "41.6"
                                                     << "inches"
                                                     << "41.6";
    QTest::newRow("other units count as millimetres") << "41.6"
                                                      << "cm"
                                                      << "41.6";
    QTest::newRow("no units yet") << "41.6"
                                  << ""
                                  << "41.6";
}

void TestConversions::displayLength() {
    QFETCH(QString, text);
    QFETCH(QString, units);
    QFETCH(QString, expected);
    QCOMPARE(DisplayLength(text, units), expected);
}

void TestConversions::twips() {
    // 567 twips per centimetre, multiplied before dividing.
    QCOMPARE(LengthToTwips(QStringLiteral("25")), 1417.5);
    QCOMPARE(LengthToTwips(QStringLiteral("41.6")), 41.6 * 567 / 10);
    QCOMPARE(LengthToTwips(QString()), 0.0);
}

void TestConversions::shownText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Main fins"
                           << "Main fins";
    QTest::newRow("letters past ASCII") << "Fusée № 5"
                                        << "Fusée № 5";
    QTest::newRow("a forged line") << "F\nOuter diameter: 999"
                                   << "F\\x0AOuter diameter: 999";
    QTest::newRow("a terminal escape") << "\x1b[31mred"
                                       << "\\x1B[31mred";
    QTest::newRow("tab, DEL, C1") << QString::fromUtf16(u"a\tb\x7f\x85"
                                                        u"c")
                                  << "a\\x09b\\x7F\\x85c";
    QTest::newRow("text turned right to left")
        << QString::fromUtf16(u"evil\u202Efdp.exe\u2066x") << "evil\\u202Efdp.exe\\u2066x";
}

void TestConversions::shownText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ShownText(text), shown);
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
