#pragma once

#include "archive/zipdirentry.h"
#include "archive/zipenums.h"

#include <QString>

#include <cstdint>
#include <functional>

class QIODevice;

// Facts about an archive that its end record and directory give.
struct ZipArchiveFacts {
    qint64 archiveSize = 0;
    qint64 endRecordOffset = 0;
    qint64 centralOffset = 0; // where the directory actually is
    qint64 statedOffset = 0;  // where the end record says it is
    qint64 firstMemberOffset = 0;
    QString comment;
    int diskCount = 0;
    bool spanned = false;
    bool spanningMarker = false;
    bool offsetDiffers = false;
    std::uint8_t hostSystem = 0; // of the entry last read
    std::uint8_t madeByVersion = 0;
    QString openedName; // the archive's name as it was opened
    QString driveRoot;  // of the drive it lies on
    bool driveFixed = true;
};

// Reads an archive's end record and central directory. Failures raise
// EZipExtractor with the component's ids; reports that let the read go on
// (10203, 10204) go to the reporter. Every read is exact-size and bounded by
// the file, so lying sizes and counts end in an error, never past a buffer.
class ZipDirectoryReader {
public:
    using Reporter = std::function<void(int id)>;
    using EntrySink = std::function<void(int sequence, ZipDirEntry &entry)>;

    // displayName: how reports name the file.
    ZipDirectoryReader(QIODevice &file, const QString &displayName, CodePageOpts codePage, Reporter report);

    // Opens the file and finds the end record; raises 11001, 11008, 11011,
    // 11036 or 11037 with the file closed.
    void locateEndRecord();
    // Reads every entry; the sink gets each in directory order.
    void readEntries(const EntrySink &sink);

    const ZipArchiveFacts &facts() const { return facts_; }

private:
    bool endRecordAtEnd(qint64 size);
    void searchEndRecord(qint64 size);
    bool readAt(qint64 offset, void *buffer, std::size_t size);
    QByteArray readExactly(qint64 size, int failureId);
    QString decode(const QByteArray &raw, std::uint16_t flags) const;

    QIODevice &file_;
    QString displayName_;
    CodePageOpts codePage_;
    Reporter report_;
    ZipArchiveFacts facts_;
    QByteArray endRecord_;
};
