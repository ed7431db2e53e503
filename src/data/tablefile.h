#pragma once

#include <QString>
#include <QStringList>

namespace data {

// A table file ("data.db") holds one table named after the file without its
// extension ("data"). Names are relative to the working directory.
QString tableFilePath(const QString &fileName);
QString tableNameOf(const QString &fileName);

// Which of the tables in a file is its table: the one named after the file
// (ignoring case), else the only one whatever its name, so a copy saved
// under another name still opens. Throws EDatabaseError when the file holds
// no table, or several and none named after it.
QString tableHeldIn(const QString &fileName, const QStringList &tables);

// Removes the table file and the engine's side files beside it. Failures are
// silent; returns whether the table file is gone.
bool deleteTableFile(const QString &fileName);

// Writes a file's or a folder's data through to the disk; false (errno set)
// on failure.
bool syncToDisk(const QString &path);

// Moves a finished file over its final name so that, whatever a power loss
// interrupts, the name holds the old file or the whole new one; false (errno
// set) on failure.
bool replaceDurably(const QString &finished, const QString &path);

} // namespace data
