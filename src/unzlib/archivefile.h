#pragma once

#include "unzlib/fileaccess.h"

#include <cstdint>
#include <string>
#include <vector>

namespace unz {

// The archive opened read-only; every read is positioned and bounds-checked.
class ArchiveFile {
public:
    explicit ArchiveFile(const std::string &path);

    bool isOpen() const { return file_.isOpen() && size_ >= 0; }
    std::int64_t size() const { return size_; }
    // Reads exactly size bytes at offset; false when they are not all there.
    bool readAt(std::int64_t offset, void *buffer, std::size_t size) const;

private:
    File file_;
    std::int64_t size_ = 0;
};

struct Member {
    std::uint8_t hostSystem = 0;
    std::uint8_t madeByVersion = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t dosDateTime = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0; // Zip64 sizes where the header has none
    std::uint64_t uncompressedSize = 0;
    std::int64_t localHeaderOffset = 0; // corrected for data in front
    std::string name;                   // UTF-8, separators as stored; a folder's ends with one

    bool isDirectory() const { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }
    bool encrypted() const;
    // Last byte of a decrypted encryption header.
    std::uint8_t passwordCheckByte() const;
};

struct Directory {
    std::vector<Member> members;
    std::int64_t start = 0; // where the central directory begins: members end before it
};

// Reads the central directory. Every count, size and offset is checked
// against the file; on failure returns false and describes the damage.
bool readDirectory(const ArchiveFile &archive, Directory &directory, std::string &error);

} // namespace unz
