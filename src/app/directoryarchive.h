#pragma once

#include <QString>

class TZipExtractor;

// The life of the directory tables: unpacked from basa.tel into the working
// directory at every activation of the main window, deleted at a confirmed
// exit. The personal phone book is never touched.
namespace directoryarchive {

inline const QString ArchiveName = QStringLiteral("basa.tel");
inline const QString DirectoryTable = QStringLiteral("data.db");
inline const QString DialingCodesTable = QStringLiteral("kod.db");

// Sets the archive on the component (which reads its directory), adds the
// request for every member ("*.*") to what a refused run left, overwriting,
// without folder names, and extracts.
void unpack(TZipExtractor &extractor);

// Deletes the two unpacked tables; a file that cannot be deleted stays.
void deleteUnpackedTables();

} // namespace directoryarchive
