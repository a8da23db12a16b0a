#pragma once

// Files that a user may be handed from anywhere: broken, huge, hostile or not files at all.
// Each case makes its file (or folder, FIFO, link) in a folder and returns its path; the big
// ones are generated here, never committed.

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <functional>
#include <sys/stat.h>
#include <vector>

struct HostileCase {
    QByteArray name;
    std::function<QString(const QDir&)> make;
    bool big = false; // large enough for its memory use to be measured
};

namespace hostile_detail {

inline QString writeFile(const QDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", name);
    return path;
}

// Writes `head`, then `chunk` until the file holds `size` bytes, then `tail`.
inline QString writeLarge(const QDir& dir, const char* name, const QByteArray& head,
                          const QByteArray& chunk, qint64 size, const QByteArray& tail) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", name);
    f.write(head);
    QByteArray block;
    while (block.size() < (1 << 20))
        block += chunk;
    while (f.size() < size)
        f.write(block);
    f.write(tail);
    return path;
}

inline QByteArray doc(const QByteArray& header, const QByteArray& parts) {
    return "<RockSimDocument>\n<DesignInformation>\n<RocketDesign>\n" + header + "<Stage3Parts>\n" +
           parts +
           "</Stage3Parts>\n</RocketDesign>\n</DesignInformation>\n"
           "</RockSimDocument>\n";
}

inline QByteArray tube(const QByteArray& od, const QByteArray& id, const QByteArray& len,
                       const QByteArray& attached) {
    return "<BodyTube>\n<OD>" + od + "</OD>\n<ID>" + id + "</ID>\n<Len>" + len +
           "</Len>\n<AttachedParts>\n" + attached + "</AttachedParts>\n</BodyTube>\n";
}

inline QByteArray fins(const QByteArray& count, const QByteArray& root, const QByteArray& span,
                       const QByteArray& thickness, const QByteArray& name = "Fins") {
    return "<FinSet>\n<Name>" + name + "</Name>\n<FinCount>" + count + "</FinCount>\n<RootChord>" +
           root + "</RootChord>\n<SemiSpan>" + span + "</SemiSpan>\n<Thickness>" + thickness +
           "</Thickness>\n</FinSet>\n";
}

// A design whose tube and fin values are all `v`.
inline QByteArray allValues(const QByteArray& v) {
    return doc("<Name>Numbers</Name>\n", tube(v, v, v, fins(v, v, v, v)));
}

} // namespace hostile_detail

inline std::vector<HostileCase> HostileCases() {
    using namespace hostile_detail;
    std::vector<HostileCase> c;
    auto file = [&c](const char* name, QByteArray bytes) {
        c.push_back({name, [bytes](const QDir& d) { return writeFile(d, "case.rkt", bytes); }});
    };
    file("empty", QByteArray());
    QByteArray noise(256 * 1024, '\0');
    QRandomGenerator rng(20261208);
    for (char& b : noise)
        b = char(rng.bounded(256));
    file("binary noise", noise);
    file("NUL inside a tag line",
         doc("<Name>Bad@Name</Name>\n", tube("41.6", "40.5", "300", "")).replace('@', '\0'));
    {
        QByteArray withNul = doc("<Name>x</Name>\n", tube("41.6", "40.5", "300", ""));
        withNul.insert(withNul.indexOf("<OD>") + 4, '\0');
        file("NUL inside a value", withNul);
    }
    file("UTF-16 with BOM", QByteArray("\xFF\xFE<\0R\0o\0c\0k\0", 12));
    file("only an XML declaration", "<?xml version=\"1.0\"?>\n");
    file("other XML", "<?xml version=\"1.0\"?>\n<svg>\n</svg>\n");
    file("unclosed elements at the end",
         "<RockSimDocument>\n<RocketDesign>\n<Name>Cut</Name>\n<Stage3Parts>\n<BodyTube>\n"
         "<OD>41.6</OD>\n<AttachedParts>\n<FinSet>\n<FinCount>3</FinCount>\n");
    file("value split over two lines", doc("", tube("41.6\n", "40.5", "300", "")));
    file("invalid UTF-8 name",
         doc("<Name>\xC3\x28\xFF\xFE rocket</Name>\n", tube("41.6", "40.5", "1", "")));
    file("Windows-1252 name",
         doc("<Name>Fus\xE9\x65 \x80 \x9F</Name>\n", tube("41.6", "40.5", "1", "")));
    for (const char* v : {"1e308", "-1e308", "inf", "nan", "-0", "1e-320", "12,7", " 41.6 ", "0x1A",
                          "1.2.3", "1e999", "-5", "0"}) {
        const QByteArray name = QByteArray("number ") + v;
        c.push_back(
            {name, [v](const QDir& d) { return writeFile(d, "number.rkt", allValues(v)); }});
    }
    file("a billion fins",
         doc("<Name>Many</Name>\n", tube("41.6", "40.5", "300", fins("1e9", "75", "50", "3"))));
    file("tube of 1e6 mm", doc("", tube("1e6", "1e6", "1e6", fins("4", "75", "50", "3"))));
    file("stray closing tags",
         "<RockSimDocument>\n" + QByteArray(100000 * 4, 'x').replace("xxxx", "</a>") + "\n");
    file("many '<' on one line", "<RockSimDocument>\n" + QByteArray(5 << 20, '<') + ">\n");
    file("tags without names",
         "<RockSimDocument>\n" + QByteArray(1 << 20, '<').replace("<<", "<>") + "\n");
    c.push_back({"10,000 fin sets", [](const QDir& d) {
                     QByteArray all;
                     for (int i = 0; i < 10000; ++i)
                         all += fins("3", "60", "30", "3", "F" + QByteArray::number(i));
                     return writeFile(d, "fins.rkt",
                                      doc("<Name>Fins</Name>\n", tube("41.6", "40.5", "300", all)));
                 }});
    c.push_back({"nesting 100,000 deep", [](const QDir& d) {
                     QByteArray open, close;
                     for (int i = 0; i < 100000; ++i) {
                         open += "<BodyTube>\n<AttachedParts>\n";
                         close += "</AttachedParts>\n</BodyTube>\n";
                     }
                     return writeFile(
                         d, "deep.rkt",
                         doc("<Name>Deep</Name>\n", open + fins("3", "60", "30", "3") + close));
                 }});
    c.push_back({"nesting 300,000 deep on one line", [](const QDir& d) {
                     return writeFile(d, "deeper.rkt",
                                      "<RockSimDocument>\n" +
                                          QByteArray(300000 * 3, 'x').replace("xxx", "<a>") + "\n");
                 }});
    c.push_back({"a name of 1 MB", [](const QDir& d) {
                     return writeFile(d, "name.rkt",
                                      doc("<Name>" + QByteArray(1 << 20, 'N') + "</Name>\n",
                                          tube("41.6", "40.5", "1", "")));
                 }});
    // Each '&' once sent the reference decoder through the whole rest of the name.
    c.push_back({"a name of 8 MB of '&'", [](const QDir& d) {
                     return writeFile(
                         d, "amp.rkt",
                         doc("<Name>" + QByteArray(8 << 20, '&') + "</Name>\n",
                             tube("41.6", "40.5", "1",
                                  fins("3", "60", "30", "3", QByteArray(1 << 20, '&')))));
                 }});
    // A point list just under the line limit is walked, never split into all its points.
    c.push_back({"a point list of 15.9 MB",
                 [](const QDir& d) {
                     QByteArray points;
                     points.reserve(16 << 20);
                     while (points.size() < (159 << 20) / 10)
                         points += "12.5,3.25|";
                     return writeFile(
                         d, "points.rkt",
                         doc("<Name>Points</Name>\n",
                             tube("41.6", "40.5", "300",
                                  "<CustomFinSet>\n<Name>Custom</Name>\n<FinCount>3</FinCount>\n"
                                  "<RootChord>0</RootChord>\n<SemiSpan>0</SemiSpan>\n"
                                  "<Thickness>3</Thickness>\n<PointList>" +
                                      points + "0,0|</PointList>\n</CustomFinSet>\n")));
                 },
                 true});
    file("control characters in names",
         doc("<Name>R&#10;Outer diameter: 999&#27;[2J</Name>\n",
             tube("41.6", "40.5", "300", fins("3", "60", "30", "3", "F\x1b]0;title\x07"))));
    c.push_back({"a single 50 MB line",
                 [](const QDir& d) {
                     return writeLarge(d, "line.rkt", "<RockSimDocument>\n<RocketDesign>\n<Name>",
                                       "Long name ", 50 << 20,
                                       "</Name>\n</RocketDesign>\n</RockSimDocument>\n");
                 },
                 true});
    c.push_back(
        {"a 200 MB design",
         [](const QDir& d) {
             return writeLarge(
                 d, "big.rkt",
                 doc("<Name>Big</Name>\n", tube("41.6", "40.5", "300", fins("4", "75", "50", "3")))
                     .replace("</RockSimDocument>\n", "<SimulationResults>\n"),
                 "<TimeData>0.0125,12.5,3.25,0.001,1.5,2.5,3.5</TimeData>\n", 200ll << 20,
                 "</SimulationResults>\n</RockSimDocument>\n");
         },
         true});
    c.push_back({"a folder", [](const QDir& d) {
                     d.mkpath(QStringLiteral("folder.rkt"));
                     return d.filePath(QStringLiteral("folder.rkt"));
                 }});
    c.push_back({"a FIFO", [](const QDir& d) {
                     const QString p = d.filePath(QStringLiteral("fifo.rkt"));
                     ::mkfifo(QFile::encodeName(p).constData(), 0600);
                     return p;
                 }});
    c.push_back({"a dangling symlink", [](const QDir& d) {
                     const QString p = d.filePath(QStringLiteral("link.rkt"));
                     QFile::link(d.filePath(QStringLiteral("gone.rkt")), p);
                     return p;
                 }});
    c.push_back({"a file without read permission", [](const QDir& d) {
                     const QString p = writeFile(
                         d, "locked.rkt", doc("<Name>Locked</Name>\n", tube("1", "1", "1", "")));
                     QFile::setPermissions(p, QFileDevice::WriteOwner);
                     return p;
                 }});
    c.push_back({"a file that does not exist",
                 [](const QDir& d) { return d.filePath(QStringLiteral("missing.rkt")); }});
    return c;
}
