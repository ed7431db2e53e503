#pragma once

#include "dataio/tableimport.h"

#include <QString>
#include <QStringList>

namespace dataio {

// A table file (ours or a Paradox one) as a Paradox table with the same
// fields, in table order; every field an Alpha field of its size.
ExportResult exportParadoxCopy(const QString &tablePath, const QString &outputPath);

// The directory archive with each table file packed as a Paradox table under
// its own name, for programs that read Paradox tables.
void packParadoxArchive(const QString &archivePath, const QStringList &files);

} // namespace dataio
