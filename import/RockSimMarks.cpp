#include "RockSimParser.h"

#include "RockSimReader.h"
#include "model/Conversions.h"

#include <QStringDecoder>

#include <cmath>
#include <numbers>

namespace vanecraft::rocksim {

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Opening the ICU converter costs more than most decodes: keep one.
    thread_local QStringDecoder cp1252("windows-1252", QStringDecoder::Flag::Stateless);
    if (cp1252.isValid())
        return cp1252(bytes);
    return QString::fromLatin1(bytes);
}

double DegreesOf(const QByteArray& radians) {
    // Read as the file's other numbers are; one too large to hold in degrees is kept as 0, like
    // one that is no number.
    const double degrees = Val(DecodeText(radians)) * (180.0 / std::numbers::pi);
    return std::isfinite(degrees) ? degrees : 0.0;
}

TubeValues TubeValuesOf(const Tube& t) {
    TubeValues v{Value::of(DecodeText(t.od)),
                 Value::of(DecodeText(t.id)),
                 Value::of(DecodeText(t.len)),
                 t.index,
                 QString(),
                 {}};
    v.Marks.reserve(t.marks.size());
    for (const MarkData& m : t.marks)
        v.Marks.push_back(TubeMark{TubeMark::Kind::LaunchLug, DegreesOf(m.angle),
                                   UnescapeXmlText(DecodeText(m.name))});
    return v;
}

bool IsTubesOwnLug(const std::vector<Frame>& stack) {
    const size_t n = stack.size();
    return n >= 2 && stack[n - 1].id == TagTable::AttachedParts &&
           stack[n - 2].kind == Kind::BodyTube;
}

} // namespace vanecraft::rocksim
