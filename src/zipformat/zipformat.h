#pragma once

// ZIP format helpers shared by the unzip library, the archive component and
// the archive writer: record signatures, little-endian fields, member name
// decoding, file specification matching and the traditional cipher.
#include <cstddef>
#include <cstdint>
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
// Zip64 end record (56 bytes) and its locator (20 bytes) before the end record.
constexpr int kZip64TrailerSize = 76;
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

// True when the 76 bytes before an end record are a Zip64 end record and its
// locator, as streaming writers leave them: the directory ends before them.
bool isZip64Trailer(const void *bytes);

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
