#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A small in-memory ZIP writer: stored or deflated members, optional data
// descriptors and traditional encryption, comments and raw extra fields.
// Every field that a reader could trip over can be set, so tests can build
// unusual archives; defaults give byte-identical output for identical input.
namespace zipwriter {

enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };

// 1 January 2020, 12:00:00 in MS-DOS format: time in the low word.
constexpr std::uint32_t kFixedDosDateTime = (std::uint32_t(0x5021) << 16) | 0x6000;

struct Entry {
    std::string name; // stored bytes, "/" separated
    std::string data; // uncompressed contents
    Method method = Method::Deflated;
    bool dataDescriptor = false; // sizes and CRC after the data (flag bit 3)
    std::string password;        // non-empty: traditional encryption
    std::string comment;
    std::string extra;           // raw extra field, local and central
    std::uint8_t hostSystem = 0; // 0 MS-DOS, 3 Unix, 11 NTFS
    std::uint8_t madeByVersion = 20;
    std::uint16_t extraFlags = 0; // ORed into the flags, e.g. bit 11 (UTF-8)
    std::uint32_t dosDateTime = kFixedDosDateTime;
    std::uint32_t externalAttributes = 0;
    std::optional<std::uint32_t> storedCrc; // stored instead of the real CRC
};

class Writer {
public:
    void add(const Entry &entry);
    void addDirectory(const std::string &name); // name ends with "/"
    // The whole archive: members, central directory, end record. With
    // zip64Trailer, a Zip64 end record and its locator lie between the
    // directory and the end record, as streaming writers leave them.
    std::string finish(const std::string &archiveComment = {}, bool zip64Trailer = false) const;

private:
    std::string members_;
    std::string directory_;
    std::uint16_t count_ = 0;
};

std::uint32_t crc32Of(const std::string &data);
bool writeFile(const std::string &path, const std::string &bytes);
bool readFile(const std::string &path, std::string &bytes);

} // namespace zipwriter
