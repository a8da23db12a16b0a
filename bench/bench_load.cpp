// Times the program's own load path (ReadDesignFile) on generated designs beside the cheapest
// pass over the same bytes: `wc -l` for RockSim files, decompressing the entry for OpenRocket.
// CPU time is the measure (the machine may be shared); wall time is printed beside it. Each
// file is read once first, so every side finds it in the page cache.
#include "import/DesignFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vanecraft;

namespace {

constexpr int Runs = 3; // the best of these is kept: others' load on the machine only adds
constexpr double Target = 2.0;

struct Times {
    double cpu = 0, wall = 0; // seconds
};

double seconds(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

double cpuOf(const rusage& u) {
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

double wallNow() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

long peakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// A RockSim design with four fin sets, then simulation rows of twelve values each, as RockSim
// writes them: some rows on one line, some over several, CR LF line ends.
QByteArray rockSimHead() {
    QByteArray head = "<RockSimDocument>\r\n<FileVersion>4</FileVersion>\r\n<DesignInformation>\r\n"
                      "<RocketDesign>\r\n<Name>Big</Name>\r\n<Stage3Parts>\r\n<BodyTube>\r\n"
                      "<OD>41.6</OD>\r\n<ID>40.5</ID>\r\n<Len>300</Len>\r\n<AttachedParts>\r\n";
    for (int i = 1; i <= 4; ++i)
        head += "<FinSet>\r\n<Name>Fins " + QByteArray::number(i) +
                "</Name>\r\n<FinCount>4</FinCount>\r\n<RootChord>75.5</RootChord>\r\n"
                "<SemiSpan>50</SemiSpan>\r\n<Thickness>3.2</Thickness>\r\n</FinSet>\r\n";
    return head + "</AttachedParts>\r\n</BodyTube>\r\n</Stage3Parts>\r\n</RocketDesign>\r\n"
                  "</DesignInformation>\r\n<SimulationResultsList>\r\n<SimulationResults>\r\n"
                  "<SimulationEventList>\r\n";
}

QByteArray rockSimRow(int i, bool split) {
    static const char* const tags[] = {"Time", "Altitude", "Velocity",  "Acceleration",
                                       "Mass", "Thrust",   "Drag",      "Mach",
                                       "CG",   "CP",       "Stability", "Range"};
    QByteArray row = split ? "<SimulationEventData>\r\n" : "<SimulationEventData>";
    for (int t = 0; t < 12; ++t) {
        row += "<" + QByteArray(tags[t]) + ">" + QByteArray::number(i * 0.0125 + t, 'f', 4) + "</" +
               tags[t] + ">";
        if (split)
            row += "\r\n";
    }
    return row + "</SimulationEventData>\r\n";
}

bool writeRockSim(const QString& path, qint64 bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(rockSimHead()) < 0)
        return false;
    QByteArray block;
    for (int i = 0; f.size() + block.size() < bytes; ++i) {
        block += rockSimRow(i, i % 4 == 3);
        if (block.size() > (1 << 20) && f.write(block) == block.size())
            block.clear();
    }
    block += "</SimulationEventList>\r\n</SimulationResults>\r\n</SimulationResultsList>\r\n"
             "</RockSimDocument>\r\n";
    return f.write(block) == block.size();
}

QByteArray orkDesign() {
    QByteArray fins;
    for (int i = 1; i <= 4; ++i)
        fins += "<trapezoidfinset><name>Fins " + QByteArray::number(i) +
                "</name><fincount>4</fincount><rootchord>0.0755</rootchord><height>0.05"
                "</height><thickness>0.0032</thickness></trapezoidfinset>\n";
    return "<?xml version='1.0' encoding='utf-8'?>\n<openrocket version=\"1.9\" creator=\"bench\">"
           "\n<rocket><name>Big</name><subcomponents><stage><name>Sustainer</name><subcomponents>"
           "<bodytube><name>Body</name><length>0.3</length><thickness>0.0005</thickness>"
           "<radius>0.0208</radius><subcomponents>\n" +
           fins +
           "</subcomponents></bodytube></subcomponents></stage></subcomponents></rocket>\n"
           "<simulations><simulation status=\"uptodate\"><name>Flight</name><data>"
           "<databranch name=\"Flight\" types=\"Time,Altitude,Vertical velocity\">\n";
}

// Rows [from, from + 10000) of the simulation's data, about 400 kB.
QByteArray orkRows(int from) {
    QByteArray rows;
    for (int i = from; i < from + 10000; ++i)
        rows += "<datapoint>" + QByteArray::number(i * 0.01, 'f', 3) + "," +
                QByteArray::number(i * 0.37, 'f', 4) + "," + QByteArray::number(i * 0.021, 'f', 5) +
                "</datapoint>\n";
    return rows;
}

// An OpenRocket ZIP whose rocket.ork holds `xmlBytes` of XML, most of it one simulation. The
// entry is written a piece at a time, so the benchmark's own memory stays small.
bool writeOrk(const QString& path, qint64 xmlBytes) {
    const QByteArray head = orkDesign();
    const QByteArray tail = "</databranch></data></simulation></simulations>\n</openrocket>\n";
    qint64 size = head.size() + tail.size();
    int pieces = 0;
    for (; size < xmlBytes; ++pieces)
        size += orkRows(pieces * 10000).size();
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, "rocket.ork");
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, size);
    ok = ok && archive_write_header(a, e) == ARCHIVE_OK;
    auto put = [&](const QByteArray& b) {
        ok = ok && archive_write_data(a, b.constData(), size_t(b.size())) == b.size();
    };
    put(head);
    for (int p = 0; p < pieces; ++p)
        put(orkRows(p * 10000));
    put(tail);
    archive_entry_free(e);
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

void warm(const QString& path) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        while (!f.read(1 << 20).isEmpty()) {
        }
}

// Runs a program with its output to /dev/null; its CPU time from wait4.
Times child(const std::vector<const char*>& argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const char* a : argv)
        args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    Times t;
    const double start = wallNow();
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage u{};
        wait4(pid, &status, 0, &u);
        t.cpu = cpuOf(u);
    }
    t.wall = wallNow() - start;
    posix_spawn_file_actions_destroy(&actions);
    return t;
}

// libarchive reading the design entry to nowhere, where there is no unzip.
Times decompressInProcess(const QString& path) {
    const double wall = wallNow(), cpu = cpuNow();
    archive* a = archive_read_new();
    archive_read_support_format_zip(a);
    archive_entry* e = nullptr;
    std::vector<char> sink(1 << 16);
    if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 1 << 16) == ARCHIVE_OK &&
        archive_read_next_header(a, &e) == ARCHIVE_OK)
        while (archive_read_data(a, sink.data(), sink.size()) > 0) {
        }
    archive_read_free(a);
    return {cpuNow() - cpu, wallNow() - wall};
}

Times load(const QString& path, bool* ok) {
    const double wall = wallNow(), cpu = cpuNow();
    const LoadResult r = ReadDesignFile(path);
    const Times t{cpuNow() - cpu, wallNow() - wall};
    *ok = r.ok && r.design.finSetsOffered() == 4 && r.design.RocketName == u"Big";
    if (!*ok)
        std::fprintf(stderr, "load of %s failed: %s\n", qPrintable(path), qPrintable(r.message));
    return t;
}

template <class F> Times best(F&& run) {
    Times b = run();
    for (int i = 1; i < Runs; ++i) {
        const Times t = run();
        b.cpu = std::min(b.cpu, t.cpu);
        b.wall = std::min(b.wall, t.wall);
    }
    return b;
}

void report(const char* what, const char* against, const Times& mine, const Times& base) {
    const double ratio = mine.cpu / std::max(base.cpu, 1e-6);
    std::printf("%s\n  ReadDesignFile: %8.1f ms CPU %8.1f ms wall, peak RSS %ld MB\n"
                "  %-14s: %8.1f ms CPU %8.1f ms wall\n  CPU ratio %.2f: %s\n",
                what, mine.cpu * 1e3, mine.wall * 1e3, peakRssMb(), against, base.cpu * 1e3,
                base.wall * 1e3, ratio,
                ratio <= Target ? "within the 2x target" : "OVER the 2x target");
}

bool benchRockSim(const QTemporaryDir& dir, int megabytes) {
    const QString path = dir.filePath(QStringLiteral("design-%1.rkt").arg(megabytes));
    if (!writeRockSim(path, qint64(megabytes) << 20))
        return false;
    warm(path);
    const QByteArray file = QFile::encodeName(path);
    bool ok = true;
    const Times mine = best([&] { return load(path, &ok); });
    const Times wc = best([&] { return child({"/usr/bin/wc", "-l", file.constData()}); });
    const QByteArray title = QByteArray::number(megabytes) + " MB RockSim design";
    report(title.constData(), "wc -l", mine, wc);
    return ok;
}

bool benchOpenRocket(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("design.ork"));
    if (!writeOrk(path, 50ll << 20))
        return false;
    warm(path);
    const QByteArray file = QFile::encodeName(path);
    const bool haveUnzip = ::access("/usr/bin/unzip", X_OK) == 0;
    bool ok = true;
    const Times mine = best([&] { return load(path, &ok); });
    const Times unzip = best([&] {
        return haveUnzip ? child({"/usr/bin/unzip", "-p", file.constData(), "rocket.ork"})
                         : decompressInProcess(path);
    });
    std::printf("OpenRocket ZIP, %.1f MB on disk\n", double(QFile(path).size()) / (1 << 20));
    report("OpenRocket design, 50 MB of XML", haveUnzip ? "unzip -p" : "libarchive", mine, unzip);
    return ok;
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    bool ok = true;
    for (const int megabytes : {5, 50, 200})
        ok = benchRockSim(dir, megabytes) && ok;
    ok = benchOpenRocket(dir) && ok;
    return ok ? 0 : 1;
}
