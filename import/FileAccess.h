#pragma once

#include <QFile>
#include <QString>

namespace vanecraft {

// `The file "NAME" cannot be read: REASON.`, the form of every refusal of a load.
QString FileError(const QString& name, const QString& reason);

// Opens a design file for reading after the checks the user's messages name: missing, a folder,
// not a regular file, not readable. Returns the message, empty when `file` is open.
QString OpenDesignFile(QFile& file);

// What a completed load says when the list cannot offer every fin set.
QString ManyFinSetsWarning(int finSets);

} // namespace vanecraft
