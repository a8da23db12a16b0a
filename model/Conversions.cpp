#include "Conversions.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace vanecraft {

namespace {

bool isIgnored(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// strtod follows LC_NUMERIC, which QCoreApplication sets from the environment; the file format
// always uses ".", so parse in the C locale.
double parseCNumber(const std::string& s) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(s.c_str(), nullptr, cLocale);
}

} // namespace

double Val(const QString& text) {
    std::string number;
    int i = 0;
    const int n = static_cast<int>(text.size());
    auto next = [&]() -> QChar {
        while (i < n && isIgnored(text[i]))
            ++i;
        return i < n ? text[i] : QChar();
    };
    QChar c = next();
    if (c == u'+' || c == u'-') {
        if (c == u'-')
            number += '-';
        ++i;
        c = next();
    }
    bool digits = false;
    std::string mantissa;
    while (isDigit(c = next())) {
        mantissa += static_cast<char>(c.unicode());
        digits = true;
        ++i;
    }
    std::string fraction;
    if (c == u'.') {
        ++i;
        while (isDigit(c = next())) {
            fraction += static_cast<char>(c.unicode());
            digits = true;
            ++i;
        }
    }
    if (!digits)
        return 0.0;
    number += mantissa.empty() ? "0" : mantissa;
    if (!fraction.empty())
        number += "." + fraction;
    if (c == u'e' || c == u'E') {
        const int save = i;
        ++i;
        std::string exponent;
        QChar s = next();
        if (s == u'+' || s == u'-') {
            if (s == u'-')
                exponent += '-';
            ++i;
        }
        bool expDigits = false;
        while (isDigit(c = next())) {
            exponent += static_cast<char>(c.unicode());
            expDigits = true;
            ++i;
        }
        if (expDigits)
            number += "e" + exponent;
        else
            i = save;
    }
    return parseCNumber(number);
}

QString NumberText(double value, const QString& decimalPoint) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0.0)
        return QStringLiteral("0"); // also -0: a sign on nothing helps no one
    QString g = QString::number(value, 'g', 15);
    const qsizetype e = g.indexOf(u'e');
    if (e >= 0) {
        // Rewrite d.ddde±x as a plain decimal with the same digits.
        const bool negative = g.startsWith(u'-');
        QString mantissa = g.left(e);
        const int exponent = g.mid(e + 1).toInt();
        if (negative)
            mantissa.remove(0, 1);
        QString digits = mantissa;
        digits.remove(u'.');
        const qsizetype intDigits = 1 + exponent; // digits before the point
        QString plain;
        if (intDigits <= 0)
            plain = QStringLiteral("0.") + QString(-intDigits, u'0') + digits;
        else if (intDigits >= digits.size())
            plain = digits + QString(intDigits - digits.size(), u'0');
        else
            plain = digits.left(intDigits) + u'.' + digits.mid(intDigits);
        g = negative ? u'-' + plain : plain;
    }
    if (decimalPoint != QStringLiteral("."))
        g.replace(u'.', decimalPoint);
    return g;
}

QString NumberText(double value) {
    return NumberText(value, QLocale().decimalPoint());
}

QString DisplayLength(const QString& text, const QString& measurementUnits) {
    if (measurementUnits == QStringLiteral("Inches"))
        return NumberText(Val(text) * InchesPerMillimetre);
    return text;
}

double LengthToTwips(const QString& text) {
    return Val(text) * TwipsPerCentimetre / 10.0;
}

QString ShownText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool turnsText = u == 0x061C || u == 0x200E || u == 0x200F ||
                               (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QStringLiteral("\\x") +
                   QString::number(uint(u), 16).rightJustified(2, u'0').toUpper();
        else if (turnsText)
            out += QStringLiteral("\\u") + QString::number(uint(u), 16).toUpper();
        else
            out += c;
    }
    return out;
}

} // namespace vanecraft
