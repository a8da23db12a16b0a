#pragma once

// Reads the lines and circles of a written page back from the file, independently of the code
// that wrote it: SVG through its XML, PDF through qpdf's uncompressed form and its content
// stream operators. Lengths in millimetres from the page's top-left corner.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <array>
#include <cmath>
#include <vector>

struct PageGeometry {
    struct Segment {
        double x1, y1, x2, y2;
        double width; // stroke width, mm
        bool dashed;
        std::vector<double> dashes = {}; // the dash pattern, mm: drawn, left out, ...
    };
    struct Circle {
        double cx, cy, r;
    };
    using Point = std::array<double, 2>;
    double widthMm = 0, heightMm = 0;
    std::vector<Segment> segments;
    std::vector<Circle> circles;
    std::vector<std::vector<Point>> arcs; // open curves: their points on the curve
    QString error;
};

namespace page_geometry_detail {

using Matrix = std::array<double, 6>; // a b c d e f, as PDF and SVG write them

inline Matrix multiply(const Matrix& m, const Matrix& n) { // m then n
    return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
            m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
            m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

inline void apply(const Matrix& m, double x, double y, double& ox, double& oy) {
    ox = m[0] * x + m[2] * y + m[4];
    oy = m[1] * x + m[3] * y + m[5];
}

} // namespace page_geometry_detail

inline PageGeometry ReadSvgPage(const QString& path) {
    using namespace page_geometry_detail;
    PageGeometry g;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        g.error = QStringLiteral("cannot open");
        return g;
    }
    QXmlStreamReader xml(&f);
    double mmPerUnit = 0;
    std::vector<Matrix> stack{{1, 0, 0, 1, 0, 0}};
    struct Stroke {
        double width = 0;           // units
        std::vector<double> dashes; // units
    };
    std::vector<Stroke> strokes{{}};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) {
            stack.pop_back();
            strokes.pop_back();
        }
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes at = xml.attributes();
        const auto num = [&](const char* n) { return at.value(QLatin1String(n)).toDouble(); };
        if (xml.name() == QLatin1String("svg")) {
            g.widthMm =
                at.value(QLatin1String("width")).toString().remove(QLatin1String("mm")).toDouble();
            g.heightMm =
                at.value(QLatin1String("height")).toString().remove(QLatin1String("mm")).toDouble();
            const QStringList vb = at.value(QLatin1String("viewBox")).toString().split(u' ');
            if (vb.size() == 4 && vb[2].toDouble() > 0)
                mmPerUnit = g.widthMm / vb[2].toDouble();
        } else if (xml.name() == QLatin1String("g")) {
            Matrix m{1, 0, 0, 1, 0, 0};
            const QString t = at.value(QLatin1String("transform")).toString();
            const QRegularExpressionMatch mm =
                QRegularExpression(QStringLiteral("matrix\\(([^)]*)\\)")).match(t);
            if (mm.hasMatch()) {
                const QStringList v = mm.captured(1).split(u',');
                for (int i = 0; i < 6 && i < v.size(); ++i)
                    m[i] = v[i].toDouble();
            }
            stack.push_back(multiply(m, stack.back()));
            Stroke s = strokes.back();
            if (at.hasAttribute(QLatin1String("stroke-width")))
                s.width = num("stroke-width");
            if (at.hasAttribute(QLatin1String("stroke-dasharray"))) {
                s.dashes.clear();
                const QString v = at.value(QLatin1String("stroke-dasharray")).toString();
                for (const QString& d : v.split(u',', Qt::SkipEmptyParts))
                    if (v != QLatin1String("none"))
                        s.dashes.push_back(d.toDouble());
            }
            strokes.push_back(s);
        } else if (xml.name() == QLatin1String("circle")) {
            double x, y;
            apply(stack.back(), num("cx"), num("cy"), x, y);
            g.circles.push_back({x * mmPerUnit, y * mmPerUnit, num("r") * mmPerUnit});
        } else if (xml.name() == QLatin1String("polyline")) {
            const QStringList pts =
                at.value(QLatin1String("points")).toString().simplified().split(u' ');
            std::vector<std::pair<double, double>> p;
            for (const QString& s : pts) {
                const QStringList xy = s.split(u',');
                if (xy.size() == 2) {
                    double x, y;
                    apply(stack.back(), xy[0].toDouble(), xy[1].toDouble(), x, y);
                    p.emplace_back(x * mmPerUnit, y * mmPerUnit);
                }
            }
            const Matrix& m = stack.back();
            const double scale = std::sqrt(std::abs(m[0] * m[3] - m[1] * m[2])) * mmPerUnit;
            std::vector<double> dashes;
            for (double d : strokes.back().dashes)
                dashes.push_back(d * scale);
            for (size_t i = 1; i < p.size(); ++i)
                g.segments.push_back({p[i - 1].first, p[i - 1].second, p[i].first, p[i].second,
                                      strokes.back().width * mmPerUnit, !dashes.empty(), dashes});
        }
    }
    if (xml.hasError())
        g.error = xml.errorString();
    return g;
}

inline PageGeometry ReadPdfPage(const QString& path);

// Every page of a PDF, in order, each read as a page of its own.
inline std::vector<PageGeometry> ReadPdfPages(const QString& path) {
    std::vector<PageGeometry> pages;
    QTemporaryDir tmp;
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"),
               {QStringLiteral("--split-pages"), path, tmp.filePath(QStringLiteral("page.pdf"))});
    if (!qpdf.waitForFinished(60000) || qpdf.exitCode() > 3) {
        pages.emplace_back().error = QStringLiteral("qpdf --split-pages failed: ") +
                                     QString::fromLocal8Bit(qpdf.readAllStandardError());
        return pages;
    }
    // qpdf numbers the pages with as many digits as the last one needs.
    QStringList names =
        QDir(tmp.path()).entryList({QStringLiteral("page-*.pdf")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        pages.push_back(ReadPdfPage(tmp.filePath(name)));
    return pages;
}

inline PageGeometry ReadPdfPage(const QString& path) {
    using namespace page_geometry_detail;
    PageGeometry g;
    QTemporaryDir tmp;
    const QString plain = tmp.filePath(QStringLiteral("plain.pdf"));
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"),
               {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), path, plain});
    if (!qpdf.waitForFinished(60000) || qpdf.exitCode() > 3) { // 3: warnings only
        g.error =
            QStringLiteral("qpdf failed: ") + QString::fromLocal8Bit(qpdf.readAllStandardError());
        return g;
    }
    QFile f(plain);
    if (!f.open(QIODevice::ReadOnly)) {
        g.error = QStringLiteral("no qpdf output");
        return g;
    }
    const QByteArray all = f.readAll();
    const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    const QRegularExpressionMatch bm = box.match(QString::fromLatin1(all));
    if (!bm.hasMatch()) {
        g.error = QStringLiteral("no MediaBox");
        return g;
    }
    const double pageHeightPt = bm.captured(4).toDouble() - bm.captured(2).toDouble();
    const double ptToMm = 25.4 / 72;
    g.widthMm = (bm.captured(3).toDouble() - bm.captured(1).toDouble()) * ptToMm;
    g.heightMm = pageHeightPt * ptToMm;

    // Every content stream's tokens, in order.
    QList<QByteArray> tokens;
    qsizetype from = 0;
    for (;;) {
        const qsizetype s = all.indexOf("stream\n", from);
        if (s < 0)
            break;
        const qsizetype e = all.indexOf("endstream", s);
        if (e < 0)
            break;
        const QByteArray body = all.mid(s + 7, e - s - 7);
        from = e + 9;
        if (body.contains('\0'))
            continue; // binary data (fonts, images)
        QByteArray spaced = body;
        spaced.replace('[', " [ ").replace(']', " ] ");
        for (const QByteArray& t : spaced.simplified().split(' '))
            if (!t.isEmpty())
                tokens << t;
    }
    Matrix ctm{1, 0, 0, 1, 0, 0};
    std::vector<Matrix> saved;
    double lineWidth = 1;
    std::vector<double> dashes, array; // mm; the last array read, in user units
    std::vector<std::vector<std::array<double, 2>>> subpaths; // device points (pt, PDF axes)
    std::vector<bool> curved;
    QList<double> operands;
    bool inArray = false;
    auto point = [&](double x, double y) {
        double ox, oy;
        apply(ctm, x, y, ox, oy);
        return std::array<double, 2>{ox * ptToMm, (pageHeightPt - oy) * ptToMm};
    };
    for (const QByteArray& t : tokens) {
        bool isNumber = false;
        const double v = t.toDouble(&isNumber);
        if (isNumber) {
            if (inArray)
                array.push_back(v);
            else
                operands << v;
            continue;
        }
        if (t == "[") {
            inArray = true;
            array.clear();
            continue;
        }
        if (t == "]") {
            inArray = false;
            operands << 0; // a place for the array among the operands
            continue;
        }
        const auto n = operands.size();
        if (t == "q")
            saved.push_back(ctm);
        else if (t == "Q" && !saved.empty()) {
            ctm = saved.back();
            saved.pop_back();
        } else if (t == "cm" && n >= 6) {
            const Matrix m{operands[n - 6], operands[n - 5], operands[n - 4],
                           operands[n - 3], operands[n - 2], operands[n - 1]};
            ctm = multiply(m, ctm);
        } else if (t == "w" && n >= 1) {
            lineWidth =
                operands[n - 1] * std::sqrt(std::abs(ctm[0] * ctm[3] - ctm[1] * ctm[2])) * ptToMm;
        } else if (t == "d" && n >= 2) {
            const double scale = std::sqrt(std::abs(ctm[0] * ctm[3] - ctm[1] * ctm[2])) * ptToMm;
            dashes.clear();
            for (double d : array)
                dashes.push_back(d * scale);
        } else if (t == "m" && n >= 2) {
            subpaths.push_back({point(operands[n - 2], operands[n - 1])});
            curved.push_back(false);
        } else if (t == "l" && n >= 2 && !subpaths.empty()) {
            subpaths.back().push_back(point(operands[n - 2], operands[n - 1]));
        } else if (t == "c" && n >= 6 && !subpaths.empty()) {
            subpaths.back().push_back(point(operands[n - 2], operands[n - 1]));
            curved.back() = true;
        } else if (t == "re" && n >= 4) {
            const double x = operands[n - 4], y = operands[n - 3], w = operands[n - 2],
                         h = operands[n - 1];
            subpaths.push_back(
                {point(x, y), point(x + w, y), point(x + w, y + h), point(x, y + h), point(x, y)});
            curved.push_back(false);
        } else if (t == "S" || t == "s") {
            for (size_t i = 0; i < subpaths.size(); ++i) {
                const auto& p = subpaths[i];
                const bool closed =
                    std::hypot(p.front()[0] - p.back()[0], p.front()[1] - p.back()[1]) < 1e-6;
                if (curved[i] && !closed) {
                    g.arcs.push_back(p);
                } else if (curved[i]) {
                    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
                    for (const auto& q : p) {
                        minX = std::min(minX, q[0]);
                        maxX = std::max(maxX, q[0]);
                        minY = std::min(minY, q[1]);
                        maxY = std::max(maxY, q[1]);
                    }
                    g.circles.push_back({(minX + maxX) / 2, (minY + maxY) / 2, (maxX - minX) / 2});
                } else {
                    for (size_t k = 1; k < p.size(); ++k)
                        g.segments.push_back({p[k - 1][0], p[k - 1][1], p[k][0], p[k][1], lineWidth,
                                              !dashes.empty(), dashes});
                }
            }
            subpaths.clear();
            curved.clear();
        } else if (t == "n" || t == "f" || t == "F" || t == "B" || t == "b" || t == "f*") {
            subpaths.clear();
            curved.clear();
        }
        operands.clear();
    }
    return g;
}
