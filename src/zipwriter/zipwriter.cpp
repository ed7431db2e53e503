#include "zipwriter.h"

#include "zipformat/zipformat.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zipwriter {
namespace {

void put16(std::string &out, std::uint32_t v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string &out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put64(std::string &out, std::uint64_t v)
{
    put32(out, std::uint32_t(v));
    put32(out, std::uint32_t(v >> 32));
}

std::string deflateRaw(const std::string &data)
{
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&zs, uLong(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

// Encryption header plus encrypted data. The header's filler bytes come from
// the CRC so that equal inputs give equal archives.
std::string encrypt(const std::string &password, const std::string &payload, std::uint8_t checkByte, std::uint32_t seed)
{
    std::string header(12, '\0');
    for (int i = 0; i < 11; ++i) {
        seed = seed * 1103515245u + 12345u;
        header[i] = char(seed >> 16);
    }
    header[11] = char(checkByte);
    zipformat::ZipCipher cipher(password);
    std::string out;
    out.reserve(12 + payload.size());
    for (char c : header)
        out += char(cipher.encrypt(std::uint8_t(c)));
    for (char c : payload)
        out += char(cipher.encrypt(std::uint8_t(c)));
    return out;
}

} // namespace

std::uint32_t crc32Of(const std::string &data)
{
    return std::uint32_t(crc32(0, reinterpret_cast<const Bytef *>(data.data()), uInt(data.size())));
}

void Writer::add(const Entry &e)
{
    const std::uint32_t crc = e.storedCrc.value_or(crc32Of(e.data));
    std::string payload = e.method == Method::Deflated ? deflateRaw(e.data) : e.data;
    std::uint16_t flags = e.extraFlags;
    if (e.dataDescriptor)
        flags |= 0x0008;
    if (!e.password.empty()) {
        flags |= 0x0001;
        const std::uint8_t check = e.dataDescriptor ? std::uint8_t(e.dosDateTime >> 8) : std::uint8_t(crc >> 24);
        payload = encrypt(e.password, payload, check, crc ^ std::uint32_t(e.name.size()));
    }
    const std::uint16_t needed = e.method == Method::Stored && e.password.empty() ? 10 : 20;
    const auto localOffset = std::uint32_t(members_.size());

    auto common = [&](std::string &out, bool hideSizes) {
        put16(out, needed);
        put16(out, flags);
        put16(out, std::uint16_t(e.method));
        put32(out, e.dosDateTime);
        put32(out, hideSizes ? 0 : crc);
        put32(out, hideSizes ? 0 : std::uint32_t(payload.size()));
        put32(out, hideSizes ? 0 : std::uint32_t(e.data.size()));
        put16(out, std::uint16_t(e.name.size()));
        put16(out, std::uint16_t(e.extra.size()));
    };

    put32(members_, 0x04034B50);
    common(members_, e.dataDescriptor);
    members_ += e.name;
    members_ += e.extra;
    members_ += payload;
    if (e.dataDescriptor) {
        put32(members_, 0x08074B50);
        put32(members_, crc);
        put32(members_, std::uint32_t(payload.size()));
        put32(members_, std::uint32_t(e.data.size()));
    }

    put32(directory_, 0x02014B50);
    directory_ += char(e.madeByVersion);
    directory_ += char(e.hostSystem);
    common(directory_, false);
    put16(directory_, std::uint16_t(e.comment.size()));
    put16(directory_, 0); // disk number start
    put16(directory_, 0); // internal attributes
    put32(directory_, e.externalAttributes);
    put32(directory_, localOffset);
    directory_ += e.name;
    directory_ += e.extra;
    directory_ += e.comment;
    ++count_;
}

void Writer::addDirectory(const std::string &name)
{
    Entry e;
    e.name = name;
    e.method = Method::Stored;
    e.externalAttributes = 0x10; // MS-DOS directory attribute
    add(e);
}

std::string Writer::finish(const std::string &archiveComment, bool zip64Trailer) const
{
    std::string out = members_ + directory_;
    if (zip64Trailer) {
        const std::uint64_t recordAt = out.size();
        put32(out, 0x06064B50);
        put64(out, 44); // size of the rest of the record
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, count_);
        put64(out, count_);
        put64(out, directory_.size());
        put64(out, members_.size());
        put32(out, 0x07064B50);
        put32(out, 0);
        put64(out, recordAt);
        put32(out, 1);
    }
    put32(out, 0x06054B50);
    put16(out, 0); // this disk
    put16(out, 0); // disk with the directory
    put16(out, count_);
    put16(out, count_);
    put32(out, std::uint32_t(directory_.size()));
    put32(out, std::uint32_t(members_.size()));
    put16(out, std::uint16_t(archiveComment.size()));
    out += archiveComment;
    return out;
}

bool writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f.flush());
}

bool readFile(const std::string &path, std::string &bytes)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

} // namespace zipwriter
