#include "app/directoryarchive.h"

#include "archive/zipextractor.h"
#include "data/tablefile.h"

namespace directoryarchive {

void unpack(TZipExtractor &extractor)
{
    extractor.setZipFileName(ArchiveName);
    extractor.setFSpecArgs(extractor.fSpecArgs() << QStringLiteral("*.*"));
    extractor.setExtrOptions(ExtrOverWrite);
    extractor.Extract();
}

void deleteUnpackedTables()
{
    data::deleteTableFile(DirectoryTable);
    data::deleteTableFile(DialingCodesTable);
}

} // namespace directoryarchive
