#pragma once

// Rewrites a ZIP archive as a Zip64 one, the way writers of large archives
// store it: each member's sizes and offset in a Zip64 extended-information
// extra field (the header's fields saturated), the entry count, directory
// size and offset in a Zip64 end record with its locator before an end
// record of saturated fields.
#include <cstdint>
#include <string>

namespace zip64archive {

inline std::uint32_t get(const std::string &s, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | std::uint8_t(s[at + std::size_t(i)]);
    return v;
}

inline std::string put(std::uint64_t v, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char((v >> (8 * i)) & 0xFF);
    return out;
}

inline void set(std::string &s, std::size_t at, std::uint64_t v, int bytes)
{
    s.replace(at, std::size_t(bytes), put(v, bytes));
}

// damageEndRecord: the end record's signature is broken, so only the Zip64
// records describe the directory.
inline std::string fromZip(const std::string &zip, bool damageEndRecord = false)
{
    const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    const std::uint32_t count = get(zip, end + 10, 2);
    const std::uint32_t start = get(zip, end + 16, 4);
    std::string directory;
    std::size_t at = start;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string header = zip.substr(at, 46);
        const std::size_t name = get(header, 28, 2), extra = get(header, 30, 2), comment = get(header, 32, 2);
        const std::string zip64 = put(1, 2) + put(24, 2) + put(get(header, 24, 4), 8) + put(get(header, 20, 4), 8) +
                                  put(get(header, 42, 4), 8);
        for (std::size_t field : {20u, 24u, 42u})
            set(header, field, 0xFFFFFFFF, 4);
        set(header, 30, extra + zip64.size(), 2);
        directory += header + zip.substr(at + 46, name) + zip64 + zip.substr(at + 46 + name, extra + comment);
        at += 46 + name + extra + comment;
    }
    std::string out = zip.substr(0, start) + directory;
    const std::size_t zip64End = out.size();
    out += put(0x06064B50, 4) + put(44, 8) + put(45, 2) + put(45, 2) + put(0, 4) + put(0, 4) + put(count, 8) +
           put(count, 8) + put(directory.size(), 8) + put(start, 8);
    out += put(0x07064B50, 4) + put(0, 4) + put(zip64End, 8) + put(1, 4);
    out += put(damageEndRecord ? 0x06054B51 : 0x06054B50, 4) + put(0, 4) + put(0xFFFF, 2) + put(0xFFFF, 2) +
           put(0xFFFFFFFF, 4) + put(0xFFFFFFFF, 4) + put(0, 2);
    return out;
}

} // namespace zip64archive
