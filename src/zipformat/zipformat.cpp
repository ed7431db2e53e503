#include "zipformat/zipformat.h"

#include "zipformat/codepages.h"

#include <zlib.h>

#include <algorithm>

namespace zipformat {
namespace {

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Next code point of a UTF-8 text; a malformed byte stands for itself.
char32_t nextCodePoint(std::string_view s, std::size_t &i)
{
    const auto b = std::uint8_t(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + std::size_t(extra) > s.size())
        return b;
    char32_t c = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto next = std::uint8_t(s[i + std::size_t(k)]);
        if ((next & 0xC0) != 0x80)
            return b;
        c = (c << 6) | (next & 0x3F);
    }
    i += std::size_t(extra);
    return c;
}

char32_t foldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

std::u32string foldedCodePoints(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();)
        out += foldCase(nextCodePoint(s, i));
    return out;
}

std::uint32_t crcUpdate(std::uint32_t key, std::uint8_t b)
{
    return std::uint32_t(crc32_z(key ^ 0xFFFFFFFFu, &b, 1)) ^ 0xFFFFFFFFu;
}

} // namespace

std::ptrdiff_t findEndRecord(const unsigned char *tail, std::size_t size)
{
    std::ptrdiff_t fitting = -1;
    for (std::ptrdiff_t i = std::ptrdiff_t(size) - kEndRecordSize; i >= 0; --i) {
        const unsigned char *p = tail + i;
        if (le32(p) != kEndRecordSignature)
            continue;
        const std::size_t end = std::size_t(i) + kEndRecordSize + le16(p + 20);
        if (end == size)
            return i;
        if (end < size && fitting < 0)
            fitting = i;
    }
    return fitting;
}

namespace {

constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint16_t kUnicodePathId = 0x7075;
constexpr std::uint32_t kSaturated32 = 0xFFFFFFFF;
constexpr std::uint16_t kSaturated16 = 0xFFFF;

std::uint64_t le64(const void *p)
{
    const auto *b = static_cast<const unsigned char *>(p);
    return std::uint64_t(le32(b)) | (std::uint64_t(le32(b + 4)) << 32);
}

// The Zip64 end record that the locator before `endOffset` names: where it
// should lie (right before the locator), else where the locator says.
bool readZip64EndRecord(std::int64_t endOffset, const ReadAt &read, unsigned char record[kZip64EndRecordSize],
                        std::int64_t &at)
{
    unsigned char locator[kZip64LocatorSize];
    const std::int64_t locatorAt = endOffset - kZip64LocatorSize;
    if (locatorAt < 0 || !read(locatorAt, locator, sizeof locator) || le32(locator) != kZip64LocatorSignature)
        return false;
    const std::uint64_t stated = le64(locator + 8);
    for (const std::int64_t candidate :
         {locatorAt - kZip64EndRecordSize, stated < std::uint64_t(locatorAt) ? std::int64_t(stated) : -1}) {
        if (candidate >= 0 && read(candidate, record, kZip64EndRecordSize) &&
            le32(record) == kZip64EndRecordSignature) {
            at = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

bool locateDirectory(const unsigned char *end, std::int64_t endOffset, const ReadAt &read, DirectoryLocation &location)
{
    location = {};
    location.thisDisk = le16(end + 4);
    location.directoryDisk = le16(end + 6);
    location.entries = le16(end + 10);
    location.size = le32(end + 12);
    std::uint64_t stated = le32(end + 16);
    const bool saturated = location.thisDisk == kSaturated16 || location.directoryDisk == kSaturated16 ||
                           location.entries == kSaturated16 || location.size == kSaturated32 || stated == kSaturated32;
    std::int64_t directoryEnd = endOffset;
    unsigned char zip64[kZip64EndRecordSize];
    std::int64_t zip64At = 0;
    if (readZip64EndRecord(endOffset, read, zip64, zip64At)) {
        location.zip64 = true;
        directoryEnd = zip64At;
        if (location.thisDisk == kSaturated16)
            location.thisDisk = le32(zip64 + 16);
        if (location.directoryDisk == kSaturated16)
            location.directoryDisk = le32(zip64 + 20);
        if (location.entries == kSaturated16)
            location.entries = le64(zip64 + 32);
        if (location.size == kSaturated32)
            location.size = le64(zip64 + 40);
        if (stated == kSaturated32)
            stated = le64(zip64 + 48);
    } else if (saturated) {
        return false;
    }
    if (location.size > std::uint64_t(directoryEnd) || stated > std::uint64_t(INT64_MAX))
        return false;
    location.start = directoryEnd - std::int64_t(location.size);
    location.statedOffset = std::int64_t(stated);
    return true;
}

std::ptrdiff_t findZip64Locator(const unsigned char *tail, std::size_t size, unsigned char record[kEndRecordSize])
{
    for (std::ptrdiff_t i = std::ptrdiff_t(size) - kZip64LocatorSize; i >= 0; --i) {
        if (le32(tail + i) != kZip64LocatorSignature)
            continue;
        std::fill_n(record, kEndRecordSize, 0xFF);
        const unsigned char signature[4] = {0x50, 0x4B, 0x05, 0x06};
        std::copy_n(signature, 4, record);
        record[20] = record[21] = 0; // no comment
        return i;
    }
    return -1;
}

std::string_view extraField(std::string_view extra, std::uint16_t id)
{
    while (extra.size() >= 4) {
        const std::uint16_t fieldId = le16(extra.data());
        const std::size_t length = le16(extra.data() + 2);
        if (length > extra.size() - 4)
            break;
        if (fieldId == id)
            return extra.substr(4, length);
        extra.remove_prefix(4 + length);
    }
    return {};
}

bool applyZip64Extra(std::string_view extra, MemberExtent &extent)
{
    std::string_view data = extraField(extra, kZip64ExtraId);
    for (std::uint64_t *value : {&extent.uncompressedSize, &extent.compressedSize, &extent.localHeaderOffset}) {
        if (*value != kSaturated32)
            continue;
        if (data.size() < 8)
            return false;
        *value = le64(data.data());
        data.remove_prefix(8);
    }
    return true;
}

std::string unicodePathName(std::string_view extra, std::string_view raw)
{
    const std::string_view field = extraField(extra, kUnicodePathId);
    if (field.size() < 5 || field[0] != 1)
        return {};
    const auto crc = std::uint32_t(crc32_z(0, reinterpret_cast<const Bytef *>(raw.data()), raw.size()));
    return le32(field.data() + 1) == crc ? std::string(field.substr(5)) : std::string();
}

bool isDirectoryMember(std::string_view name, std::uint8_t hostSystem, std::uint32_t externalAttributes)
{
    constexpr std::uint32_t kDosDirectory = 0x10;
    const bool dosHost = hostSystem == 0 || hostSystem == 6 || hostSystem == 11 || hostSystem == 14;
    return (!name.empty() && (name.back() == '/' || name.back() == '\\')) ||
           (dosHost && (externalAttributes & kDosDirectory));
}

bool isOemHost(std::uint8_t hostSystem, std::uint8_t madeByVersion)
{
    return hostSystem == 0 || hostSystem == 6 || (hostSystem == 11 && madeByVersion == 50);
}

NameCoding nameCoding(std::uint16_t flags, std::uint8_t hostSystem, std::uint8_t madeByVersion)
{
    if (flags & kFlagUtf8)
        return NameCoding::Utf8;
    return isOemHost(hostSystem, madeByVersion) ? NameCoding::Oem866 : NameCoding::Ansi1251;
}

std::string toUtf8(std::string_view raw, NameCoding coding)
{
    if (coding == NameCoding::Utf8)
        return std::string(raw);
    const std::uint16_t *high = coding == NameCoding::Oem866 ? kCp866High : kCp1251High;
    std::string out;
    out.reserve(raw.size() * 2);
    for (char ch : raw) {
        const auto b = std::uint8_t(ch);
        appendUtf8(out, b < 0x80 ? char32_t(b) : char32_t(high[b - 0x80]));
    }
    return out;
}

std::string firstCharacters(std::string_view utf8, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < utf8.size(); ++n)
        nextCodePoint(utf8, end);
    return std::string(utf8.substr(0, end));
}

std::string_view fittingPrefix(std::string_view utf8, std::size_t maxBytes)
{
    if (utf8.size() <= maxBytes)
        return utf8;
    std::size_t end = maxBytes;
    while (end > 0 && (std::uint8_t(utf8[end]) & 0xC0) == 0x80)
        --end;
    return utf8.substr(0, end);
}

std::vector<std::string> passwordEncodings(std::string_view utf8)
{
    std::string cp1251;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (c < 0x80) {
            cp1251 += char(c);
            continue;
        }
        const std::uint16_t *byte = std::find(kCp1251High, kCp1251High + 128, c);
        if (byte == kCp1251High + 128)
            return {std::string(utf8)};
        cp1251 += char(0x80 + (byte - kCp1251High));
    }
    if (cp1251 == utf8)
        return {cp1251};
    return {cp1251, std::string(utf8)};
}

bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    const std::u32string p = foldedCodePoints(pattern);
    const std::u32string t = foldedCodePoints(text);
    // Greedy matching with one back-track point: linear in practice, and
    // never worse than |p| * |t|.
    std::size_t pi = 0, ti = 0, starP = std::u32string::npos, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == U'?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == U'*') {
            starP = pi++;
            starT = ti;
        } else if (starP != std::u32string::npos) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*')
        ++pi;
    return pi == p.size();
}

ZipCipher::ZipCipher(std::string_view password) : keys_{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (char c : password)
        update(std::uint8_t(c));
}

std::uint8_t ZipCipher::streamByte() const
{
    const auto t = std::uint16_t(keys_[2] | 2);
    return std::uint8_t((unsigned(t) * (unsigned(t) ^ 1u)) >> 8);
}

void ZipCipher::update(std::uint8_t plain)
{
    keys_[0] = crcUpdate(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = crcUpdate(keys_[2], std::uint8_t(keys_[1] >> 24));
}

std::uint8_t ZipCipher::encrypt(std::uint8_t plain)
{
    const std::uint8_t out = plain ^ streamByte();
    update(plain);
    return out;
}

std::uint8_t ZipCipher::decrypt(std::uint8_t cipher)
{
    const std::uint8_t plain = cipher ^ streamByte();
    update(plain);
    return plain;
}

void ZipCipher::decrypt(unsigned char *data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        data[i] = decrypt(data[i]);
}

bool passwordFits(std::string_view password, const unsigned char *header, std::uint8_t checkByte)
{
    ZipCipher cipher(password);
    std::uint8_t last = 0;
    for (int i = 0; i < kEncryptionHeaderSize; ++i)
        last = cipher.decrypt(header[i]);
    return last == checkByte;
}

} // namespace zipformat
