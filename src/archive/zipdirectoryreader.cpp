#include "archive/zipdirectoryreader.h"

#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"
#include "zipformat/zipformat.h"

#include <QIODevice>

#include <algorithm>
#include <climits>
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
    const auto *bytes = reinterpret_cast<const unsigned char *>(tail.constData());
    const qint64 i = findEndRecord(bytes, std::size_t(n));
    unsigned char saturated[kEndRecordSize];
    if (const qint64 locator = i < 0 ? findZip64Locator(bytes, std::size_t(n), saturated) : -1; locator >= 0) {
        // The end record is damaged, but a Zip64 end record may serve.
        facts_.endRecordOffset = size - n + locator + kZip64LocatorSize;
        endRecord_ = QByteArray(reinterpret_cast<const char *>(saturated), kEndRecordSize);
        return;
    }
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

bool ZipDirectoryReader::readAt(qint64 offset, void *buffer, std::size_t size)
{
    return offset >= 0 && file_.seek(offset) && file_.read(static_cast<char *>(buffer), qint64(size)) == qint64(size);
}

void ZipDirectoryReader::readEntries(const EntrySink &sink)
{
    DirectoryLocation location;
    const auto *end = reinterpret_cast<const unsigned char *>(endRecord_.constData());
    if (!locateDirectory(
            end, facts_.endRecordOffset,
            [this](std::int64_t offset, void *buffer, std::size_t size) { return readAt(offset, buffer, size); },
            location))
        throw EZipExtractor(reportids::DirectorySeekFailed, true);
    facts_.statedOffset = location.statedOffset;
    facts_.diskCount = int(location.thisDisk);
    facts_.spanned = location.thisDisk > 0;
    facts_.centralOffset = location.start;
    facts_.firstMemberOffset = facts_.archiveSize == kEndRecordSize ? 0 : facts_.archiveSize;
    if (facts_.statedOffset != facts_.centralOffset) {
        facts_.offsetDiffers = true;
        report_(reportids::DirectoryOffsetDiffers);
    }
    if (!file_.seek(facts_.centralOffset))
        throw EZipExtractor(reportids::DirectorySeekFailed, true);
    for (std::uint64_t n = 0; n < location.entries; ++n) {
        const QByteArray header = readExactly(kCentralHeaderSize, reportids::DirectoryPastLastDisk);
        if (le32(header.constData()) != kCentralHeaderSignature)
            throw EZipExtractor(reportids::EntrySignatureMissing, true);
        ZipDirEntry entry;
        std::memcpy(static_cast<ZipDirHeader *>(&entry), header.constData() + 4, sizeof(ZipDirHeader));
        const QByteArray name = readExactly(entry.FileNameLength, reportids::NameUnreadable);
        facts_.hostSystem = entry.HostSystem;
        facts_.madeByVersion = entry.MadeByVersion;
        entry.Encrypted = entry.GeneralFlags & kFlagEncrypted ? 1 : 0;
        entry.ExtraData = readExactly(entry.ExtraFieldLength, reportids::ExtraFieldUnreadable);
        const std::string_view extra(entry.ExtraData.constData(), std::size_t(entry.ExtraData.size()));
        MemberExtent extent{entry.UncompressedSize, entry.CompressedSize, entry.LocalHeaderOffset};
        if (!applyZip64Extra(extra, extent))
            throw EZipExtractor(reportids::ExtraFieldUnreadable, true);
        entry.UncompressedSize64 = extent.uncompressedSize;
        entry.CompressedSize64 = extent.compressedSize;
        entry.LocalHeaderOffset64 = extent.localHeaderOffset;
        const std::string unicodePath =
            unicodePathName(extra, std::string_view(name.constData(), std::size_t(name.size())));
        entry.FileName = unicodePath.empty() ? decode(name, entry.GeneralFlags) : QString::fromStdString(unicodePath);
        entry.FileName.replace(QLatin1Char('/'), QLatin1Char('\\'));
        if (isDirectoryMember(entry.FileName.toStdString(), entry.HostSystem, entry.ExternalAttributes) &&
            !entry.FileName.endsWith(QLatin1Char('\\')))
            entry.FileName += QLatin1Char('\\');
        if (entry.FileCommentLength > 0)
            entry.FileComment =
                decode(readExactly(entry.FileCommentLength, reportids::CommentUnreadable), entry.GeneralFlags);
        sink(int(std::min<std::uint64_t>(n + 1, INT_MAX)), entry);
        facts_.firstMemberOffset = std::min<qint64>(
            facts_.firstMemberOffset, qint64(std::min<std::uint64_t>(extent.localHeaderOffset, INT64_MAX)));
    }
}
