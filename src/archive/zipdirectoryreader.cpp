#include "archive/zipdirectoryreader.h"

#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"
#include "zipformat/zipformat.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

using namespace zipformat;

namespace {

constexpr qint64 kMaxEndSearch = kMaxCommentLength + kEndRecordSize; // 65557
constexpr int kPaddingBlock = 512;

} // namespace

ZipDirectoryReader::ZipDirectoryReader(QIODevice &file, const QString &displayName, CodePageOpts codePage,
                                       Reporter report)
    : file_(file), displayName_(displayName), codePage_(codePage), report_(std::move(report))
{}

QString ZipDirectoryReader::decode(const QByteArray &raw, std::uint16_t flags) const
{
    NameCoding coding = NameCoding::Ansi1251;
    if (flags & kFlagUtf8)
        coding = NameCoding::Utf8;
    else if ((codePage_ == cpAuto && facts_.hostSystem == 0) || facts_.hostSystem == 6 ||
             (facts_.hostSystem == 11 && facts_.madeByVersion == 50) || codePage_ == cpOEM)
        coding = NameCoding::Oem866;
    return QString::fromStdString(toUtf8(std::string_view(raw.constData(), std::size_t(raw.size())), coding));
}

QByteArray ZipDirectoryReader::readExactly(qint64 size, int failureId)
{
    QByteArray bytes = file_.read(size);
    if (bytes.size() != size)
        throw EZipExtractor(failureId, true);
    return bytes;
}

bool ZipDirectoryReader::endRecordAtEnd(qint64 size)
{
    if (size < kEndRecordSize || !file_.seek(size - kEndRecordSize))
        return false;
    facts_.archiveSize = size;
    const QByteArray record = file_.read(kEndRecordSize);
    if (record.size() != kEndRecordSize ||
        findEndRecord(reinterpret_cast<const unsigned char *>(record.constData()), kEndRecordSize) != 0)
        return false;
    facts_.endRecordOffset = size - kEndRecordSize;
    endRecord_ = record;
    return true;
}

void ZipDirectoryReader::searchEndRecord(qint64 size)
{
    const qint64 n = std::min(kMaxEndSearch, size);
    if (!file_.seek(size - n))
        throw EZipExtractor(reportids::EndRecordSeekFailed, true);
    const QByteArray tail = readExactly(n, reportids::EndRecordReadFailed);
    const qint64 i = findEndRecord(reinterpret_cast<const unsigned char *>(tail.constData()), std::size_t(n));
    if (i >= 0) {
        const char *p = tail.constData() + i;
        facts_.endRecordOffset = size - n + i;
        endRecord_ = tail.mid(i, kEndRecordSize);
        const qint64 commentLength = le16(p + 20);
        const qint64 stray = n - (i + kEndRecordSize + commentLength);
        if (stray > 0) {
            const QByteArray after = tail.mid(i + kEndRecordSize + commentLength);
            const bool zeroPadding = size % kPaddingBlock == 0 && stray < kPaddingBlock &&
                                     std::all_of(after.begin(), after.end(), [](char c) { return c == 0; });
            facts_.archiveSize = size - stray;
            if (!zeroPadding)
                report_(reportids::StrayBytesAfterEnd);
        }
        QByteArray comment = tail.mid(i + kEndRecordSize, commentLength);
        if (const qsizetype zero = comment.indexOf('\0'); zero >= 0)
            comment.truncate(zero);
        // No host system speaks for the archive's comment: it is converted
        // only when cpOEM asks for it.
        facts_.comment =
            QString::fromStdString(toUtf8(std::string_view(comment.constData(), std::size_t(comment.size())),
                                          codePage_ == cpOEM ? NameCoding::Oem866 : NameCoding::Ansi1251));
        return;
    }
    // The report names the file, which the user can then find and replace.
    file_.close();
    throw EZipExtractor(facts_.spanningMarker ? reportids::SpannedPartWithoutEnd : reportids::NotAnArchive,
                        displayName_);
}

void ZipDirectoryReader::locateEndRecord()
{
    facts_.comment.clear();
    facts_.endRecordOffset = 0;
    if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly))
        throw EZipExtractor(reportids::ArchiveNotFound, true);
    const qint64 size = file_.size();
    facts_.archiveSize = size;
    const QByteArray start = file_.read(8);
    facts_.spanningMarker = start.size() == 8 && le32(start.constData()) == kSpanningMarker &&
                            le32(start.constData() + 4) == kLocalHeaderSignature;
    try {
        if (!endRecordAtEnd(size))
            searchEndRecord(size);
    } catch (...) {
        file_.close();
        throw;
    }
}

// Streaming writers put Zip64 trailing records between the directory and
// the end record.
qint64 ZipDirectoryReader::directoryEnd()
{
    const qint64 end = facts_.endRecordOffset;
    if (end < kZip64TrailerSize || !file_.seek(end - kZip64TrailerSize))
        return end;
    const QByteArray trailer = file_.read(kZip64TrailerSize);
    return trailer.size() == kZip64TrailerSize && isZip64Trailer(trailer.constData()) ? end - kZip64TrailerSize : end;
}

void ZipDirectoryReader::readEntries(const EntrySink &sink)
{
    const char *end = endRecord_.constData();
    const int thisDisk = le16(end + 4);
    const int directoryDisk = le16(end + 6);
    const int totalEntries = le16(end + 10);
    const qint64 directorySize = le32(end + 12);
    facts_.statedOffset = le32(end + 16);
    facts_.diskCount = thisDisk;
    facts_.spanned = thisDisk > 0;
    // Only single-file archives are read; a directory on another disk is
    // looked for at the stated offset.
    facts_.centralOffset = directoryDisk != thisDisk ? facts_.statedOffset : directoryEnd() - directorySize;
    facts_.firstMemberOffset = facts_.archiveSize == kEndRecordSize ? 0 : facts_.archiveSize;
    if (facts_.statedOffset != facts_.centralOffset) {
        facts_.offsetDiffers = true;
        report_(reportids::DirectoryOffsetDiffers);
    }
    if (facts_.centralOffset < 0 || !file_.seek(facts_.centralOffset))
        throw EZipExtractor(reportids::DirectorySeekFailed, true);
    for (int sequence = 1; sequence <= totalEntries; ++sequence) {
        const QByteArray header = readExactly(kCentralHeaderSize, reportids::DirectoryPastLastDisk);
        if (le32(header.constData()) != kCentralHeaderSignature)
            throw EZipExtractor(reportids::EntrySignatureMissing, true);
        ZipDirEntry entry;
        std::memcpy(static_cast<ZipDirHeader *>(&entry), header.constData() + 4, sizeof(ZipDirHeader));
        const QByteArray name = readExactly(entry.FileNameLength, reportids::NameUnreadable);
        facts_.hostSystem = entry.HostSystem;
        facts_.madeByVersion = entry.MadeByVersion;
        entry.FileName = decode(name, entry.GeneralFlags).replace(QLatin1Char('/'), QLatin1Char('\\'));
        entry.Encrypted = entry.GeneralFlags & kFlagEncrypted ? 1 : 0;
        entry.ExtraData = readExactly(entry.ExtraFieldLength, reportids::ExtraFieldUnreadable);
        if (entry.FileCommentLength > 0)
            entry.FileComment =
                decode(readExactly(entry.FileCommentLength, reportids::CommentUnreadable), entry.GeneralFlags);
        sink(sequence, entry);
        facts_.firstMemberOffset = std::min<qint64>(facts_.firstMemberOffset, entry.LocalHeaderOffset);
    }
}
