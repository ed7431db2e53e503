#pragma once

// ZIP format helpers shared by the unzip library, the archive component and
// the archive writer: record signatures, little-endian fields, member name
// decoding, file specification matching and the traditional cipher.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zipformat {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
constexpr std::uint32_t kSpanningMarker = 0x08074B50;
constexpr int kLocalHeaderSize = 30;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndRecordSize = 22;
constexpr int kMaxCommentLength = 65535;
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kFlagUtf8 = 0x0800;
constexpr int kEncryptionHeaderSize = 12;

inline std::uint16_t le16(const void *p)
{
    const auto *b = static_cast<const unsigned char *>(p);
    return std::uint16_t(b[0] | (b[1] << 8));
}

inline std::uint32_t le32(const void *p)
{
    const auto *b = static_cast<const unsigned char *>(p);
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

// The one rule for finding the end record, so that listing and extraction
// always read the same directory. `tail` holds the last bytes of the file (at
// most 65557); scanning backwards, the first record whose comment ends
// exactly at the end of the file wins, else the first whose comment at least
// fits (the bytes after it are stray). A record whose comment runs past the
// end is never taken. Returns its offset in `tail`, or -1.
std::ptrdiff_t findEndRecord(const unsigned char *tail, std::size_t size);

// Reads `size` bytes at `offset` of the archive; false when they are not
// all there.
using ReadAt = std::function<bool(std::int64_t offset, void *buffer, std::size_t size)>;

constexpr std::uint32_t kZip64EndRecordSignature = 0x06064B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr int kZip64EndRecordSize = 56;
constexpr int kZip64LocatorSize = 20;

// Where an archive's central directory lies, by the one rule listing and
// extraction both follow: it ends where the records that close it begin
// (the Zip64 end record when there is one, else the end record) and starts
// `size` bytes before that. The offset the records state is only compared
// with that, to measure data in front of the archive; disk numbers never
// move it. A field of the end record that is saturated (all ones) is taken
// from the Zip64 end record, which must then be sound.
struct DirectoryLocation {
    std::uint64_t entries = 0;
    std::uint64_t size = 0;
    std::int64_t start = 0;
    std::int64_t statedOffset = 0;
    std::uint32_t thisDisk = 0;
    std::uint32_t directoryDisk = 0;
    bool zip64 = false;
};
// `endRecord` holds the 22 bytes of the end record found at `endOffset`.
// False when the records contradict the file: a directory larger than
// what lies before them, or a needed Zip64 end record missing.
bool locateDirectory(const unsigned char *endRecord, std::int64_t endOffset, const ReadAt &read,
                     DirectoryLocation &location);

// For an archive whose end record is damaged: the last Zip64 locator in
// `tail` (the file's last bytes), or -1. `record` receives an end record of
// saturated fields for the place after it, so that locateDirectory() takes
// everything from the Zip64 end record.
std::ptrdiff_t findZip64Locator(const unsigned char *tail, std::size_t size, unsigned char record[kEndRecordSize]);

// The data of the first extra field with this id, or an empty view.
std::string_view extraField(std::string_view extra, std::uint16_t id);

// A member's sizes and offset; the header's saturated ones are replaced by
// those of the Zip64 extended-information extra field (id 1), in the order
// the format gives. False when a saturated value has no place there.
struct MemberExtent {
    std::uint64_t uncompressedSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t localHeaderOffset = 0;
};
bool applyZip64Extra(std::string_view extra, MemberExtent &extent);

// The UTF-8 name of the Unicode Path extra field (0x7075) when the CRC it
// carries is that of the header's name `raw`; else empty.
std::string unicodePathName(std::string_view extra, std::string_view raw);

// True for a member that is a folder: its name ends with a separator, or an
// MS-DOS family host (MS-DOS, HPFS, NTFS, VFAT) gave it the directory
// attribute.
bool isDirectoryMember(std::string_view name, std::uint8_t hostSystem, std::uint32_t externalAttributes);

enum class NameCoding { Oem866, Ansi1251, Utf8 };

// The OEM code page applies to names from MS-DOS (0), HPFS (6) and NTFS (11)
// hosts of made-by version 50.
bool isOemHost(std::uint8_t hostSystem, std::uint8_t madeByVersion);
// How a member name is read by default: flag bit 11 means UTF-8.
NameCoding nameCoding(std::uint16_t flags, std::uint8_t hostSystem, std::uint8_t madeByVersion);
std::string toUtf8(std::string_view raw, NameCoding coding);

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(std::string_view utf8, std::size_t count);
// The longest start of a UTF-8 text that fits in `maxBytes` without cutting
// a character.
std::string_view fittingPrefix(std::string_view utf8, std::size_t maxBytes);
// The bytes a password typed as text may have been encrypted with: code page
// 1251, as archives made on Windows have it, when every character has a
// byte there; then UTF-8.
std::vector<std::string> passwordEncodings(std::string_view utf8);

// Case-insensitive match with "*" and "?" over UTF-8 texts; Latin and
// Cyrillic letters fold.
bool wildcardMatch(std::string_view pattern, std::string_view text);

// Traditional PKWARE encryption.
class ZipCipher {
public:
    explicit ZipCipher(std::string_view password);
    std::uint8_t encrypt(std::uint8_t plain);
    std::uint8_t decrypt(std::uint8_t cipher);
    void decrypt(unsigned char *data, std::size_t size);

private:
    std::uint8_t streamByte() const;
    void update(std::uint8_t plain);
    std::uint32_t keys_[3];
};

// Decrypts the 12-byte encryption header with the password and compares its
// last byte with the expected check byte.
bool passwordFits(std::string_view password, const unsigned char *header, std::uint8_t checkByte);

} // namespace zipformat
