#pragma once

#include <QString>
#include <QStringList>

namespace dataio {

// Packs table files into the directory archive the program unpacks: each
// file deflated under its base name with a fixed time stamp, so identical
// inputs give a byte-identical archive. The archive is replaced only once it
// is complete. Throws std::runtime_error when a file cannot be read or the
// archive cannot be written.
void packArchive(const QString &archivePath, const QStringList &files);

} // namespace dataio
