#include "RockSimReader.h"

#include <algorithm>

namespace vanecraft {

QString UnescapeXmlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (QStringView(text).sliced(i).startsWith(u"<![CDATA[")) {
            const qsizetype end = text.indexOf(QLatin1String("]]>"), i + 9);
            const qsizetype stop = end < 0 ? n : end;
            out += text.mid(i + 9, stop - i - 9);
            i = end < 0 ? n : end + 3;
            continue;
        }
        if (text[i] == u'&') {
            // A reference is short: look for its ';' only that far, so a name of many '&'
            // costs one pass, not one pass per '&'.
            const qsizetype near = QStringView(text)
                                       .sliced(i + 1)
                                       .first(std::min<qsizetype>(12, n - i - 1))
                                       .indexOf(u';');
            const qsizetype semi = near < 0 ? -1 : i + 1 + near;
            if (semi > i + 1 && semi - i <= 12) {
                const QString ref = text.mid(i + 1, semi - i - 1);
                char32_t code = 0;
                if (ref == QLatin1String("amp"))
                    code = '&';
                else if (ref == QLatin1String("lt"))
                    code = '<';
                else if (ref == QLatin1String("gt"))
                    code = '>';
                else if (ref == QLatin1String("quot"))
                    code = '"';
                else if (ref == QLatin1String("apos"))
                    code = '\'';
                else if (ref.startsWith(u'#')) {
                    bool ok = false;
                    const uint v =
                        ref.startsWith(QLatin1String("#x")) || ref.startsWith(QLatin1String("#X"))
                            ? ref.mid(2).toUInt(&ok, 16)
                            : ref.mid(1).toUInt(&ok, 10);
                    const bool valid = ok && v > 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF);
                    code = valid ? v : 0;
                }
                if (code != 0) {
                    out += QString::fromUcs4(&code, 1);
                    i = semi + 1;
                    continue;
                }
            }
        }
        out += text[i];
        ++i;
    }
    return out;
}

} // namespace vanecraft
