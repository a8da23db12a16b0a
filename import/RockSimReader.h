#pragma once

#include "model/Design.h"

#include <QIODevice>
#include <QString>

namespace vanecraft {

// The user's messages of a load, word for word where the user already knows them.
extern const char* const AbnormalFormatMessage;

struct LoadResult {
    bool ok = false;
    Design design;          // complete only when ok
    QString message;        // why the file was refused, when !ok
    QString warning;        // something the user should know about a completed load
    bool cancelled = false; // the user stopped the load: no design, and nothing to tell

    static LoadResult refused(const QString& why) { return {false, {}, why, {}}; }
};

// Reads a design file whole. On any failure the result carries the user's message and no
// design, so the caller can keep what it held.
LoadResult ReadRockSimFile(const QString& path);
// The same over an open device; `name` is what messages call it.
LoadResult ReadRockSimDevice(QIODevice& device, const QString& name);

// The text between `tag` and its closing tag in `text`; sets *found to false when the closing
// tag does not follow. Nothing is trimmed.
QString ExtractTagValue(const QString& text, const QString& tag, bool* found = nullptr);

// A name as shown: CDATA wrappers dropped, XML character references resolved.
QString UnescapeXmlText(const QString& text);

} // namespace vanecraft
