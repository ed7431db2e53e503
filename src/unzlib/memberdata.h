#pragma once

#include "unzlib/archivefile.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace unz {

enum class UnpackResult { Ok, Damaged, UnknownMethod, Stopped };

// Receives the unpacked bytes chunk by chunk, the first `size` bytes of
// `chunk`. It may keep them by swapping another vector into `chunk`, which
// the unpacker sizes again before filling it. False stops the unpacking.
using ChunkSink = std::function<bool(std::vector<unsigned char> &chunk, std::size_t size)>;

// Unpacks one member (stored or deflated, decrypted with the password when
// encrypted) into the sink and, unless the sink does, computes its CRC.
// Never reads outside the member's stated compressed data, never yields
// more than its stated size.
class MemberUnpacker {
public:
    MemberUnpacker(const ArchiveFile &archive, const Member &member, std::int64_t directoryStart);

    // Where the member's data begin; false when its local header is missing
    // or its data would run into the central directory.
    bool locate();
    // True when the password opens the encrypted member: its header's check
    // byte fits and, since one password in 256 passes that by chance, the
    // data unpack to their stated size and CRC.
    bool passwordOpens(std::string_view password);
    // Stored and deflated members unpack; others are UnknownMethod.
    bool methodSupported() const { return member_.method == 0 || member_.method == 8; }
    enum class Crc { Here, BySink };
    UnpackResult unpack(std::string_view password, const ChunkSink &sink, Crc crc = Crc::Here);
    std::uint32_t crc() const { return crc_; } // after an unpack with Crc::Here

private:
    const ArchiveFile &archive_;
    const Member &member_;
    std::int64_t directoryStart_;
    std::int64_t dataStart_ = 0;
    std::uint32_t crc_ = 0;
};

} // namespace unz
