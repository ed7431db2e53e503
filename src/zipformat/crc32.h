#pragma once

#include <cstddef>
#include <cstdint>

namespace zipformat {

// The CRC-32 of ZIP members, continued from crc (0 to start), exactly as
// zlib's crc32_z computes it. Where the processor multiplies without carries
// (x86-64 with PCLMULQDQ) it folds 64 bytes a step, several times zlib's speed:
// unpacking checks every byte it writes.
std::uint32_t crc32(std::uint32_t crc, const unsigned char *data, std::size_t size);

} // namespace zipformat
