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

Angle AngleOf(const QByteArray& radians) {
    return Angle::read(DecodeText(radians), 180.0 / std::numbers::pi, Angle{});
}

TubeValues TubeValuesOf(const Tube& t) {
    TubeValues v{Value::of(DecodeText(t.od)),
                 Value::of(DecodeText(t.id)),
                 Value::of(DecodeText(t.len)),
                 t.index,
                 QString(),
                 {},
                 t.marksLeftOut};
    v.Marks.reserve(t.marks.size());
    for (const MarkData& m : t.marks) {
        const bool fins = m.tubeFins;
        v.Marks.push_back(TubeMark{fins ? TubeMark::Kind::TubeFins : TubeMark::Kind::LaunchLug,
                                   AngleOf(m.angle), UnescapeXmlText(DecodeText(m.name)),
                                   m.od.isEmpty() || fins ? Value{} : Value::of(DecodeText(m.od)),
                                   Value::of(DecodeText(m.count))});
    }
    return v;
}

// A fin set as the design holds it. Only a root chord or span written as 0 is taken from the
// point list.
FinSet FinSetOf(const FinData& f, const TubeValues& airframe) {
    FinSet s;
    s.Name = UnescapeXmlText(DecodeText(f.name));
    s.Count = Value::of(DecodeText(f.count));
    s.Root = Value::of(DecodeText(f.root));
    s.Span = Value::of(DecodeText(f.span));
    s.Thickness = Value::of(DecodeText(f.thickness));
    const QString dot = QStringLiteral(".");
    if (f.custom && f.pointsOnRoot && s.Root.number == 0.0)
        s.Root = Value::of(NumberText(f.rootTo - f.rootFrom, dot));
    if (f.custom && f.anyPoint && s.Span.number == 0.0)
        s.Span = Value::of(NumberText(f.spanOfPoints, dot));
    s.Tube = f.tube ? TubeValuesOf(*f.tube) : airframe;
    s.HeldByTube = f.heldByTube;
    s.Rotation = AngleOf(f.angle);
    s.Cant = AngleOf(f.cant);
    return s;
}

bool HeldByTube(const std::vector<Frame>& stack) {
    for (auto f = stack.rbegin(); f != stack.rend(); ++f)
        if (f->id != TagTable::AttachedParts && f->id != TagTable::SubAssembly)
            return f->kind == Kind::BodyTube;
    return false;
}

} // namespace vanecraft::rocksim
