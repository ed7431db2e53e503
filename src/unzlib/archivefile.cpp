#include "unzlib/archivefile.h"

#include "zipformat/zipformat.h"

#include <algorithm>

namespace unz {

using namespace zipformat;

ArchiveFile::ArchiveFile(const std::string &path) : file_(File::openForReading(path)), size_(file_.size()) {}

bool ArchiveFile::readAt(std::int64_t offset, void *buffer, std::size_t size) const
{
    if (offset < 0 || offset > size_ || std::int64_t(size) > size_ - offset)
        return false;
    return file_.readAt(offset, buffer, size);
}

bool Member::encrypted() const
{
    return flags & kFlagEncrypted;
}

std::uint8_t Member::passwordCheckByte() const
{
    return flags & kFlagDataDescriptor ? std::uint8_t(dosDateTime >> 8) : std::uint8_t(crc >> 24);
}

namespace {

bool findEndRecord(const ArchiveFile &archive, std::int64_t &position, unsigned char record[kEndRecordSize])
{
    const std::int64_t tailSize = std::min<std::int64_t>(archive.size(), kMaxCommentLength + kEndRecordSize);
    std::vector<unsigned char> tail(static_cast<std::size_t>(tailSize));
    const std::int64_t tailStart = archive.size() - tailSize;
    if (tailSize < kEndRecordSize || !archive.readAt(tailStart, tail.data(), tail.size()))
        return false;
    std::ptrdiff_t at = zipformat::findEndRecord(tail.data(), tail.size());
    if (at >= 0) {
        std::copy_n(tail.data() + at, kEndRecordSize, record);
    } else {
        // A damaged end record: a sound Zip64 end record still serves.
        at = zipformat::findZip64Locator(tail.data(), tail.size(), record);
        if (at < 0)
            return false;
        at += kZip64LocatorSize;
    }
    position = tailStart + at;
    return true;
}

// Each member takes at least its local header and its compressed data, and
// no two members share bytes: entries that point into one stream would
// write far more than the archive holds.
bool membersOverlap(const std::vector<Member> &members)
{
    std::vector<const Member *> byOffset;
    for (const Member &m : members)
        byOffset.push_back(&m);
    std::sort(byOffset.begin(), byOffset.end(),
              [](const Member *a, const Member *b) { return a->localHeaderOffset < b->localHeaderOffset; });
    for (std::size_t i = 1; i < byOffset.size(); ++i) {
        const Member &before = *byOffset[i - 1];
        const auto gap = std::uint64_t(byOffset[i]->localHeaderOffset - before.localHeaderOffset);
        if (gap < kLocalHeaderSize + before.compressedSize)
            return true;
    }
    return false;
}

} // namespace

bool readDirectory(const ArchiveFile &archive, Directory &directory, std::string &error)
{
    std::int64_t endPosition = 0;
    unsigned char end[kEndRecordSize];
    if (!findEndRecord(archive, endPosition, end)) {
        error = "no end of central directory record: not a ZIP archive";
        return false;
    }
    const ReadAt read = [&archive](std::int64_t offset, void *buffer, std::size_t size) {
        return archive.readAt(offset, buffer, size);
    };
    DirectoryLocation location;
    if (!locateDirectory(end, endPosition, read, location)) {
        error = "the end records do not fit the archive";
        return false;
    }
    directory.start = location.start;
    // Data in front of the archive shifts every stated offset alike.
    const std::int64_t shift = directory.start - location.statedOffset;
    std::vector<unsigned char> buffer(location.size);
    if (!archive.readAt(directory.start, buffer.data(), buffer.size())) {
        error = "the central directory cannot be read";
        return false;
    }
    directory.members.clear();
    directory.members.reserve(std::min<std::uint64_t>(location.entries, location.size / kCentralHeaderSize));
    std::size_t pos = 0;
    for (std::uint64_t n = 0; n < location.entries; ++n) {
        const unsigned char *h = buffer.data() + pos;
        if (buffer.size() - pos < std::size_t(kCentralHeaderSize) || le32(h) != kCentralHeaderSignature) {
            error = "a central directory entry is damaged";
            return false;
        }
        const std::size_t nameLength = le16(h + 28);
        const std::size_t total = kCentralHeaderSize + nameLength + le16(h + 30) + le16(h + 32);
        if (buffer.size() - pos < total) {
            error = "a central directory entry runs past the directory";
            return false;
        }
        Member m;
        m.madeByVersion = h[4];
        m.hostSystem = h[5];
        m.flags = le16(h + 8);
        m.method = le16(h + 10);
        m.dosDateTime = le32(h + 12);
        m.crc = le32(h + 16);
        const std::string_view raw(reinterpret_cast<const char *>(h + kCentralHeaderSize), nameLength);
        const std::string_view extra(raw.data() + nameLength, le16(h + 30));
        MemberExtent extent{le32(h + 24), le32(h + 20), le32(h + 42)};
        if (!applyZip64Extra(extra, extent)) {
            error = "a member's Zip64 sizes are missing";
            return false;
        }
        m.compressedSize = extent.compressedSize;
        m.uncompressedSize = extent.uncompressedSize;
        // An offset past the file is left for locating the member to refuse.
        m.localHeaderOffset = extent.localHeaderOffset <= std::uint64_t(archive.size())
                                  ? std::int64_t(extent.localHeaderOffset) + shift
                                  : -1;
        m.name = unicodePathName(extra, raw);
        if (m.name.empty())
            m.name = toUtf8(raw, nameCoding(m.flags, m.hostSystem, m.madeByVersion));
        if (isDirectoryMember(m.name, m.hostSystem, le32(h + 38)) && !m.isDirectory())
            m.name += '/';
        directory.members.push_back(std::move(m));
        pos += total;
    }
    if (membersOverlap(directory.members)) {
        error = "members share their data: the archive is damaged";
        return false;
    }
    return true;
}

} // namespace unz
