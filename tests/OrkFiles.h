#pragma once

// OpenRocket designs made in a test: the XML of a small design and its gzip and ZIP containers,
// written with libarchive's writer; and the reading of such bytes.

#include "import/DesignFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <archive.h>
#include <archive_entry.h>
#include <utility>

namespace ork_files {

// A design read from bytes as from a file of that name, by the reader the bytes call for.
inline vanecraft::LoadResult Loaded(QByteArray bytes, const QString& name = "test.ork") {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return vanecraft::ReadDesignDevice(buffer, name);
}

// An OpenRocket document holding `stages` (the stage elements) as the rocket's parts.
inline QByteArray Doc(const QByteArray& stages, const QByteArray& rocketName = "Test rocket") {
    return "<?xml version='1.0' encoding='utf-8'?>\n<openrocket version=\"1.9\" "
           "creator=\"test\">\n<rocket><name>" +
           rocketName +
           "</name>\n<motorconfiguration configid=\"a\" default=\"true\"><stage "
           "number=\"0\" active=\"true\"/></motorconfiguration>\n<subcomponents>\n" +
           stages + "</subcomponents>\n</rocket>\n<simulations/>\n</openrocket>\n";
}

inline QByteArray Stage(const QByteArray& parts) {
    return "<stage><name>Stage</name><subcomponents>\n" + parts + "</subcomponents></stage>\n";
}

// A component element: `params` then, when given, its subcomponents.
inline QByteArray Part(const char* tag, const QByteArray& params, const QByteArray& subs = {}) {
    QByteArray x = QByteArray("<") + tag + ">" + params;
    if (!subs.isEmpty())
        x += "<subcomponents>" + subs + "</subcomponents>";
    return x + "</" + tag + ">\n";
}

inline QByteArray Tube(const QByteArray& radius, const QByteArray& subs = {},
                       const QByteArray& thickness = "0.0005", const QByteArray& length = "0.3") {
    return Part("bodytube",
                "<name>Tube</name><length>" + length + "</length><thickness>" + thickness +
                    "</thickness><radius>" + radius + "</radius>",
                subs);
}

inline QByteArray Fins(const QByteArray& params) {
    return Part("trapezoidfinset", "<name>Fins</name>" + params);
}

// A design with canards on the nose cone, which no tube carries, and fins on the body tube.
inline QByteArray CanardsAndFins() {
    const QByteArray canards =
        Part("freeformfinset", "<name>Canards</name><fincount>3</fincount>"
                               "<thickness>0.002</thickness><finpoints><point x=\"0\" y=\"0\"/>"
                               "<point x=\"0.02\" y=\"0.015\"/><point x=\"0.03\" y=\"0\"/>"
                               "</finpoints>");
    return Doc(Stage(Part("nosecone",
                          "<name>Nose</name><length>0.1</length>"
                          "<aftradius>0.0208</aftradius>",
                          canards) +
                     Tube("0.0208", Fins("<fincount>4</fincount><rootchord>0.0755</rootchord>"
                                         "<height>0.05</height><thickness>0.0032</thickness>"))),
               "Two sets");
}

namespace detail {
inline la_ssize_t append(archive*, void* out, const void* data, size_t n) {
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(n));
    return la_ssize_t(n);
}

inline QByteArray write(const QList<std::pair<QByteArray, QByteArray>>& entries, bool zip,
                        bool store) {
    QByteArray out;
    archive* a = archive_write_new();
    if (zip) {
        archive_write_set_format_zip(a);
        if (store)
            archive_write_set_format_option(a, "zip", "compression", "store");
    } else {
        archive_write_add_filter_gzip(a);
        archive_write_set_format_raw(a);
    }
    archive_write_set_bytes_in_last_block(a, 1);
    archive_write_open2(a, &out, nullptr, &append, nullptr, nullptr);
    for (const auto& [name, bytes] : entries) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, bytes.size());
        archive_write_header(a, e);
        archive_write_data(a, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    return out;
}
} // namespace detail

inline QByteArray Gzipped(const QByteArray& bytes) {
    return detail::write({{"data", bytes}}, false, false);
}

inline QByteArray Zipped(const QList<std::pair<QByteArray, QByteArray>>& entries,
                         bool store = false) {
    return detail::write(entries, true, store);
}

// `block` gzipped `times` times over: a gzip file of many members, whose decompressed size is
// `times` x the block's, made in the time of one.
inline QByteArray GzipMembers(const QByteArray& head, const QByteArray& block, int times) {
    QByteArray out = Gzipped(head);
    const QByteArray member = Gzipped(block);
    out.reserve(out.size() + member.size() * times);
    for (int i = 0; i < times; ++i)
        out += member;
    return out;
}

// A ZIP whose stored entry claims `claimed` bytes in both its local and central headers.
inline QByteArray ZipWithLyingSize(const QByteArray& name, const QByteArray& bytes,
                                   quint32 claimed) {
    QByteArray zip = Zipped({{name, bytes}}, true);
    auto put = [&zip, claimed](qsizetype at) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((0u + (claimed >> (8 * i))) & 0xFF);
    };
    for (qsizetype p = zip.indexOf("PK\x03\x04"); p >= 0; p = zip.indexOf("PK\x03\x04", p + 4))
        put(p + 18), put(p + 22);
    for (qsizetype p = zip.indexOf("PK\x01\x02"); p >= 0; p = zip.indexOf("PK\x01\x02", p + 4))
        put(p + 20), put(p + 24);
    return zip;
}

} // namespace ork_files
