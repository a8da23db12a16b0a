#pragma once

// Files that a user may be handed from anywhere: broken, huge, hostile or not files at all.
// Each case makes its file (or folder, FIFO, link) in a folder and returns its path; the big
// ones are generated here, never committed.

#include "OrkFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// What a case must come to, the same through the window, --show and --export.
struct HostileOutcome {
    bool loads = false;
    QByteArray says;    // loads: a line --show prints; refused: a part of the message
    QByteArray aidsSay; // loads: empty when both aids are drawn, else a part of their refusal
    // Drawn: a part of what --export tells on standard error, and a label both aids carry.
    QByteArray told = {}, labelled = {};
};

inline HostileOutcome Loads(const QByteArray& shown, const QByteArray& aidsRefusal = {}) {
    return {true, shown, aidsRefusal};
}

inline HostileOutcome Refused(const QByteArray& message) {
    return {false, message, {}};
}

// Loads and both aids are drawn, telling `told` and carrying the label `labelled`.
inline HostileOutcome Drawn(const QByteArray& shown, const QByteArray& told,
                            const QByteArray& labelled) {
    return {true, shown, {}, told, labelled};
}

struct HostileCase {
    QByteArray name;
    std::function<QString(const QDir&)> make;
    HostileOutcome expect;
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
    auto file = [&c](const char* name, QByteArray bytes, const HostileOutcome& expect) {
        c.push_back(
            {name, [bytes](const QDir& d) { return writeFile(d, "case.rkt", bytes); }, expect});
    };
    const QByteArray abnormal = "Abnormal file format. Maybe you're using an old RockSim file.";
    const QByteArray notText = "cannot be read: it is not a text file.";
    const QByteArray noFins = "The number of fins of fin set 1 is 0: it must be a whole number";
    file("empty", QByteArray(), Refused("cannot be read: it is empty."));
    QByteArray noise(256 * 1024, '\0');
    QRandomGenerator rng(20261208);
    for (char& b : noise)
        b = char(rng.bounded(256));
    file("binary noise", noise, Refused(abnormal));
    file("NUL inside a tag line",
         doc("<Name>Bad@Name</Name>\n", tube("41.6", "40.5", "300", "")).replace('@', '\0'),
         Refused(notText));
    {
        QByteArray withNul = doc("<Name>x</Name>\n", tube("41.6", "40.5", "300", ""));
        withNul.insert(withNul.indexOf("<OD>") + 4, '\0');
        file("NUL inside a value", withNul, Refused(notText));
    }
    file("UTF-16 with BOM", QByteArray("\xFF\xFE<\0R\0o\0c\0k\0", 12), Refused(abnormal));
    file("only an XML declaration", "<?xml version=\"1.0\"?>\n", Refused(abnormal));
    file("other XML", "<?xml version=\"1.0\"?>\n<svg>\n</svg>\n", Refused(abnormal));
    file("unclosed elements at the end",
         "<RockSimDocument>\n<RocketDesign>\n<Name>Cut</Name>\n<Stage3Parts>\n<BodyTube>\n"
         "<OD>41.6</OD>\n<AttachedParts>\n<FinSet>\n<FinCount>3</FinCount>\n",
         Loads("Number: 3", "The inner diameter of the body tube of fin set 1 is 0 mm"));
    file("value split over two lines", doc("", tube("41.6\n", "40.5", "300", "")),
         Refused("the value of <OD> on line 6 has no closing tag on that line."));
    file("invalid UTF-8 name",
         doc("<Name>\xC3\x28\xFF\xFE rocket</Name>\n", tube("41.6", "40.5", "1", "")),
         Loads("Rocket name: \xC3\x83(\xC3\xBF\xC3\xBE rocket", noFins));
    file("Windows-1252 name",
         doc("<Name>Fus\xE9\x65 \x80 \x9F</Name>\n", tube("41.6", "40.5", "1", "")),
         Loads("Rocket name: Fus\xC3\xA9\x65 \xE2\x82\xAC \xC5\xB8", noFins));
    // Every value of the design the same number: read as written, and the aids say which value
    // they cannot draw from (numbers are read as far as they go, as the program always has).
    const std::pair<const char*, const char*> numbers[] = {
        {"1e308", "fin set 1 (\"Fins\") is 100000000"},
        {"-1e308", "fin set 1 (\"Fins\") is -100000000"},
        {"inf", "fin set 1 (\"Fins\") is 0: it must be"},
        {"nan", "fin set 1 (\"Fins\") is 0: it must be"},
        {"-0", "fin set 1 (\"Fins\") is 0: it must be"},
        {"1e-320", "fin set 1 (\"Fins\") is 0.0000"},
        {"12,7", "are 12 mm thick, as thick as their body tube (12 mm) or thicker"},
        {" 41.6 ", "fin set 1 (\"Fins\") is 41.6: it must be a whole number"},
        {"0x1A", "fin set 1 (\"Fins\") is 0: it must be"},
        {"1.2.3", "fin set 1 (\"Fins\") is 1.2: it must be"},
        {"1e999", "fin set 1 (\"Fins\") is not a number"},
        {"-5", "fin set 1 (\"Fins\") is -5: it must be"},
        {"0", "fin set 1 (\"Fins\") is 0: it must be"}};
    for (const auto& [v, refusal] : numbers) {
        const QByteArray name = QByteArray("number ") + v;
        c.push_back({name, [v](const QDir& d) { return writeFile(d, "number.rkt", allValues(v)); },
                     Loads("Outer diameter: " + QByteArray(v) + "\n", refusal)});
    }
    file(
        "a billion fins",
        doc("<Name>Many</Name>\n", tube("41.6", "40.5", "300", fins("1e9", "75", "50", "3"))),
        Loads("Number: 1e9", "(\"Fins\") is 1000000000: it must be a whole number from 1 to 1000"));
    file("tube of 1e6 mm", doc("", tube("1e6", "1e6", "1e6", fins("4", "75", "50", "3"))),
         Loads("Outer diameter: 1e6",
               "The outer diameter of the body tube of fin set 1 (\"Fins\") is 1000000 mm"));
    file("stray closing tags",
         "<RockSimDocument>\n" + QByteArray(100000 * 4, 'x').replace("xxxx", "</a>") + "\n",
         Loads("Outer diameter: 0", noFins));
    file("many '<' on one line", "<RockSimDocument>\n" + QByteArray(5 << 20, '<') + ">\n",
         Loads("Outer diameter: 0", noFins));
    file("tags without names",
         "<RockSimDocument>\n" + QByteArray(1 << 20, '<').replace("<<", "<>") + "\n",
         Loads("Outer diameter: 0", noFins));
    c.push_back({"10,000 fin sets",
                 [](const QDir& d) {
                     QByteArray all;
                     for (int i = 0; i < 10000; ++i)
                         all += fins("3", "60", "30", "3", "F" + QByteArray::number(i));
                     return writeFile(d, "fins.rkt",
                                      doc("<Name>Fins</Name>\n", tube("41.6", "40.5", "300", all)));
                 },
                 Loads("Name: F3\n")});
    c.push_back({"nesting 100,000 deep",
                 [](const QDir& d) {
                     QByteArray open, close;
                     for (int i = 0; i < 100000; ++i) {
                         open += "<BodyTube>\n<AttachedParts>\n";
                         close += "</AttachedParts>\n</BodyTube>\n";
                     }
                     return writeFile(
                         d, "deep.rkt",
                         doc("<Name>Deep</Name>\n", open + fins("3", "60", "30", "3") + close));
                 },
                 Refused("its elements are nested more than 200000 deep (line 200002).")});
    c.push_back({"nesting 300,000 deep on one line",
                 [](const QDir& d) {
                     return writeFile(d, "deeper.rkt",
                                      "<RockSimDocument>\n" +
                                          QByteArray(300000 * 3, 'x').replace("xxx", "<a>") + "\n");
                 },
                 Refused("its elements are nested more than 200000 deep (line 2).")});
    c.push_back({"a name of 1 MB",
                 [](const QDir& d) {
                     return writeFile(d, "name.rkt",
                                      doc("<Name>" + QByteArray(1 << 20, 'N') + "</Name>\n",
                                          tube("41.6", "40.5", "1", "")));
                 },
                 Loads("Rocket name: NNNNNNNNNN", noFins)});
    // Each '&' once sent the reference decoder through the whole rest of the name.
    c.push_back({"a name of 8 MB of '&'",
                 [](const QDir& d) {
                     return writeFile(
                         d, "amp.rkt",
                         doc("<Name>" + QByteArray(8 << 20, '&') + "</Name>\n",
                             tube("41.6", "40.5", "1",
                                  fins("3", "60", "30", "3", QByteArray(1 << 20, '&')))));
                 },
                 Loads("Rocket name: &&&&&&&&&&")});
    // Past the table of names, a closing tag whose name is not open once walked the whole stack.
    c.push_back({"closing tags of names never opened, past the name table",
                 [](const QDir& d) {
                     QByteArray names, opened;
                     for (int i = 0; i < 4100; ++i)
                         names += "<n" + QByteArray::number(i) + ">";
                     for (int i = 0; i < 190000; ++i)
                         opened += "<u" + QByteArray::number(i) + ">";
                     QByteArray closes(1000000 * 5, 'x');
                     closes.replace("xxxxx", "</zz>");
                     return writeFile(d, "unlisted.rkt",
                                      "<RockSimDocument>\n" + names + "\n" + opened + "\n" +
                                          closes + "\n");
                 },
                 Loads("Outer diameter: 0\n", noFins)});
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
                 // Only the last point is on the root, so the outline has no root chord.
                 Loads("Semi span: 3.25\n", "The root chord of fin set 1 (\"Custom\") is 0 mm"),
                 true});
    file("control characters in names",
         doc("<Name>R&#10;Outer diameter: 999&#27;[2J</Name>\n",
             tube("41.6", "40.5", "300", fins("3", "60", "30", "3", "F\x1b]0;title\x07"))),
         Loads("Rocket name: R\\x0AOuter diameter: 999\\x1B[2J\n"));
    c.push_back({"a single 50 MB line",
                 [](const QDir& d) {
                     return writeLarge(d, "line.rkt", "<RockSimDocument>\n<RocketDesign>\n<Name>",
                                       "Long name ", 50 << 20,
                                       "</Name>\n</RocketDesign>\n</RockSimDocument>\n");
                 },
                 Refused("line 3 is longer than 16 MB, which no design has."), true});
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
         Loads("Rocket name: Big\n"), true});
    c.push_back({"a folder",
                 [](const QDir& d) {
                     d.mkpath(QStringLiteral("folder.rkt"));
                     return d.filePath(QStringLiteral("folder.rkt"));
                 },
                 Refused("cannot be read: it is a folder.")});
    c.push_back({"a FIFO",
                 [](const QDir& d) {
                     const QString p = d.filePath(QStringLiteral("fifo.rkt"));
                     ::mkfifo(QFile::encodeName(p).constData(), 0600);
                     return p;
                 },
                 Refused("cannot be read: it is not a regular file.")});
    c.push_back({"a dangling symlink",
                 [](const QDir& d) {
                     const QString p = d.filePath(QStringLiteral("link.rkt"));
                     QFile::link(d.filePath(QStringLiteral("gone.rkt")), p);
                     return p;
                 },
                 Refused("cannot be read: it does not exist.")});
    c.push_back({"a file without read permission",
                 [](const QDir& d) {
                     const QString p = writeFile(
                         d, "locked.rkt", doc("<Name>Locked</Name>\n", tube("1", "1", "1", "")));
                     QFile::setPermissions(p, QFileDevice::WriteOwner);
                     return p;
                 },
                 // Whoever may read any file (root) reads it.
                 ::geteuid() == 0 ? Loads("Rocket name: Locked\n", noFins)
                                  : Refused("cannot be read: permission denied.")});
    c.push_back({"a file that does not exist",
                 [](const QDir& d) { return d.filePath(QStringLiteral("missing.rkt")); },
                 Refused("cannot be read: it does not exist.")});
    return c;
}

// OpenRocket files (gzip, ZIP, XML) that a user may be handed: each refused quickly with a
// message, or loaded soundly.
inline std::vector<HostileCase> OpenRocketHostileCases() {
    using namespace hostile_detail;
    using namespace ork_files;
    std::vector<HostileCase> c;
    auto file = [&c](const char* name, std::function<QByteArray()> bytes,
                     const HostileOutcome& expect, bool big = false) {
        c.push_back({name, [bytes](const QDir& d) { return writeFile(d, "case.ork", bytes()); },
                     expect, big});
    };
    const QByteArray head = "<?xml version='1.0'?>\n<openrocket version=\"1.9\"><rocket><name>B"
                            "</name>";
    const QByteArray design = Doc(Stage(Tube("0.0125", Fins("<fincount>4</fincount>"))), "Small");
    file(
        "ZIP design, rocket.ork last",
        [design] {
            return Zipped({{"decals/a.png", "png"}, {"rocket.ork", design}});
        },
        Loads("Rocket name: Small\n"));
    file(
        "gzip of 1 GB of zeros", [] { return GzipMembers({}, QByteArray(1 << 20, '\0'), 1024); },
        Refused("more than 16 MB"), true);
    file(
        "gzip of 1 GB of XML comments",
        [head] { return GzipMembers(head, "<!--" + QByteArray(1 << 20, 'x') + "-->", 1024); },
        Refused("more than 256 MB of design text"), true);
    file(
        "gzip of countless empty elements",
        [head] {
            return GzipMembers(head, QByteArray(1 << 20, 'x').replace("xxxx", "<a/>"), 1024);
        },
        Refused("more than 2000000 XML items"), true);
    file(
        "ZIP entry lying about its size",
        [design] { return ZipWithLyingSize("rocket.ork", design, 0x7FFFFFF0); }, Refused("ZIP"));
    file(
        "truncated gzip", [design] { return Gzipped(design).left(60); }, Refused("cannot be read"));
    file(
        "truncated ZIP",
        [design] {
            const QByteArray zip = Zipped({{"rocket.ork", design}});
            return zip.left(zip.size() / 2);
        },
        Refused("ZIP"));
    file(
        "binary garbage after PK", [] { return "PK\x03\x04" + QByteArray(5000, '\xA7'); },
        Refused("ZIP"));
    file(
        "ZIP without a design",
        [] {
            return Zipped({{"readme.txt", "hello"}});
        },
        Refused("no entry's name ends in .ork"));
    file(
        "OpenRocket nesting 20,000 deep",
        [head] { return head + QByteArray(20000 * 3, 'x').replace("xxx", "<a>"); },
        Refused("nested more than 10000 deep"));
    file(
        "OpenRocket name of 20 MB",
        [head] { return head + "<name>" + QByteArray(20 << 20, 'n') + "</name>"; },
        Refused("more than 16 MB"), true);
    file(
        "openrocket without rocket",
        [] { return QByteArray("<openrocket version=\"1.9\"><simulations/></openrocket>"); },
        Refused("without a rocket design"));
    file(
        "OpenRocket malformed XML",
        [design] { return QByteArray(design).replace("</fincount>", "</fincont>"); },
        Refused("not well-formed XML (line"));
    return c;
}
