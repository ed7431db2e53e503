#pragma once

#include <QString>

namespace data {

// A table file ("data.db") holds one table named after the file without its
// extension ("data"). Names are relative to the working directory.
QString tableFilePath(const QString &fileName);
QString tableNameOf(const QString &fileName);

// Removes the table file and the engine's side files beside it. Failures are
// silent; returns whether the table file is gone.
bool deleteTableFile(const QString &fileName);

} // namespace data
