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

bool isZip64Trailer(const void *bytes)
{
    const auto *b = static_cast<const unsigned char *>(bytes);
    return le32(b) == 0x06064B50 && le32(b + 56) == 0x07064B50;
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
