#include "unzlib/memberdata.h"

#include "zipformat/crc32.h"
#include "zipformat/zipformat.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace unz {

using namespace zipformat;

namespace {

// Large enough that zlib's copy into its window and the call-back after
// each chunk are a small share of the work; a chunk still unpacks in about
// a millisecond, so the caller's window stays live.
constexpr std::size_t kChunk = 1024 * 1024;

struct InflateStream {
    z_stream zs{};
    bool ready = false;
    InflateStream() { ready = inflateInit2(&zs, -MAX_WBITS) == Z_OK; }
    ~InflateStream()
    {
        if (ready)
            inflateEnd(&zs);
    }
};

} // namespace

MemberUnpacker::MemberUnpacker(const ArchiveFile &archive, const Member &member, std::int64_t directoryStart)
    : archive_(archive), member_(member), directoryStart_(directoryStart)
{}

bool MemberUnpacker::locate()
{
    unsigned char header[kLocalHeaderSize];
    const std::int64_t at = member_.localHeaderOffset;
    if (at < 0 || at + kLocalHeaderSize > directoryStart_ || !archive_.readAt(at, header, sizeof header) ||
        le32(header) != kLocalHeaderSignature)
        return false;
    dataStart_ = at + kLocalHeaderSize + le16(header + 26) + le16(header + 28);
    const std::int64_t minimum = member_.encrypted() ? kEncryptionHeaderSize : 0;
    return dataStart_ <= directoryStart_ && member_.compressedSize >= std::uint64_t(minimum) &&
           member_.compressedSize <= std::uint64_t(directoryStart_ - dataStart_);
}

bool MemberUnpacker::passwordOpens(std::string_view password)
{
    unsigned char header[kEncryptionHeaderSize];
    return archive_.readAt(dataStart_, header, sizeof header) &&
           zipformat::passwordFits(password, header, member_.passwordCheckByte()) &&
           unpack(password, [](std::vector<unsigned char> &, std::size_t) { return true; }) == UnpackResult::Ok &&
           crc_ == member_.crc;
}

UnpackResult MemberUnpacker::unpack(std::string_view password, const ChunkSink &sink, Crc crc)
{
    if (!methodSupported())
        return UnpackResult::UnknownMethod;
    crc_ = 0;
    std::int64_t position = dataStart_;
    std::int64_t remaining = member_.compressedSize;
    std::optional<ZipCipher> cipher;
    if (member_.encrypted()) {
        cipher.emplace(password);
        unsigned char header[kEncryptionHeaderSize];
        if (!archive_.readAt(position, header, sizeof header))
            return UnpackResult::Damaged;
        cipher->decrypt(header, sizeof header);
        position += kEncryptionHeaderSize;
        remaining -= kEncryptionHeaderSize;
    }
    const bool deflated = member_.method == 8;
    InflateStream stream;
    if (deflated && !stream.ready)
        return UnpackResult::Damaged;
    const auto inSize = std::size_t(std::min<std::int64_t>(remaining, kChunk));
    const std::size_t outSize = deflated ? kChunk : 0;
    std::vector<unsigned char> in(inSize);
    std::vector<unsigned char> out(outSize);
    std::uint64_t produced = 0;
    // The sink may take the chunk's storage: the buffer is sized again.
    auto deliver = [&](std::vector<unsigned char> &chunk, std::size_t size) {
        produced += size;
        if (produced > member_.uncompressedSize)
            return UnpackResult::Damaged;
        if (crc == Crc::Here)
            crc_ = zipformat::crc32(crc_, chunk.data(), size);
        const bool more = sink(chunk, size);
        chunk.resize(&chunk == &in ? inSize : outSize);
        return more ? UnpackResult::Ok : UnpackResult::Stopped;
    };
    bool ended = !deflated;
    while (remaining > 0) {
        const auto size = std::size_t(std::min<std::int64_t>(remaining, std::int64_t(in.size())));
        if (!archive_.readAt(position, in.data(), size))
            return UnpackResult::Damaged;
        position += std::int64_t(size);
        remaining -= std::int64_t(size);
        if (cipher)
            cipher->decrypt(in.data(), size);
        if (!deflated) {
            if (const UnpackResult r = deliver(in, size); r != UnpackResult::Ok)
                return r;
            continue;
        }
        stream.zs.next_in = in.data();
        stream.zs.avail_in = uInt(size);
        while (stream.zs.avail_in > 0 && !ended) {
            stream.zs.next_out = out.data();
            stream.zs.avail_out = uInt(out.size());
            const int rc = inflate(&stream.zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END)
                return UnpackResult::Damaged;
            ended = rc == Z_STREAM_END;
            const std::size_t got = out.size() - stream.zs.avail_out;
            if (got > 0)
                if (const UnpackResult r = deliver(out, got); r != UnpackResult::Ok)
                    return r;
            if (got == 0 && rc == Z_OK && stream.zs.avail_in > 0)
                return UnpackResult::Damaged; // no progress: a lying stream
        }
    }
    // A deflate stream may still hold output after its last input byte.
    while (deflated && !ended) {
        stream.zs.next_out = out.data();
        stream.zs.avail_out = uInt(out.size());
        const int rc = inflate(&stream.zs, Z_NO_FLUSH);
        const std::size_t got = out.size() - stream.zs.avail_out;
        if ((rc != Z_OK && rc != Z_STREAM_END) || (rc == Z_OK && got == 0))
            return UnpackResult::Damaged;
        ended = rc == Z_STREAM_END;
        if (const UnpackResult r = deliver(out, got); r != UnpackResult::Ok)
            return r;
    }
    return produced == member_.uncompressedSize ? UnpackResult::Ok : UnpackResult::Damaged;
}

} // namespace unz
