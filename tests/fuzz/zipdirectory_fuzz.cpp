// Any bytes as an archive: the directory reader either lists entries or
// raises its numbered exception, and never reads outside what it was given.
#include "archive/ezipextractor.h"
#include "archive/zipdirectoryreader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    for (CodePageOpts codePage : {cpAuto, cpOEM}) {
        ZipDirectoryReader reader(buffer, QStringLiteral("fuzz.zip"), codePage, [](int) {});
        try {
            reader.locateEndRecord();
            reader.readEntries([](int, ZipDirEntry &entry) {
                volatile qsizetype n = entry.FileName.size() + entry.ExtraData.size();
                (void)n;
            });
        } catch (const EZipExtractor &) {
        }
        buffer.close();
    }
    return 0;
}
