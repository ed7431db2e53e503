#include "zipformat/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<unsigned char> noise(std::size_t size)
{
    std::vector<unsigned char> bytes(size);
    std::uint32_t state = 12345;
    for (unsigned char &b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

std::uint32_t zlibCrc(std::uint32_t crc, const unsigned char *data, std::size_t size)
{
    return std::uint32_t(crc32_z(crc, data, size));
}

// Every length around the folding steps (16, 64), at every alignment, from a
// fresh start and continued: the result is zlib's, byte for byte.
TEST(Crc32Test, MatchesZlibAtEveryLengthAndAlignment)
{
    const std::vector<unsigned char> bytes = noise(4096 + 16);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t size = 0; size <= 300; ++size) {
            SCOPED_TRACE(testing::Message() << "offset " << offset << ", size " << size);
            const unsigned char *data = bytes.data() + offset;
            ASSERT_EQ(zipformat::crc32(0, data, size), zlibCrc(0, data, size));
            ASSERT_EQ(zipformat::crc32(0xDEADBEEF, data, size), zlibCrc(0xDEADBEEF, data, size));
        }
    }
    EXPECT_EQ(zipformat::crc32(0, bytes.data(), 4096), zlibCrc(0, bytes.data(), 4096));
}

TEST(Crc32Test, ChunksContinueOneAnother)
{
    const std::vector<unsigned char> bytes = noise(1 << 20);
    std::uint32_t crc = 0;
    for (std::size_t at = 0, chunk = 1; at < bytes.size(); at += chunk, chunk = chunk * 3 + 7)
        crc = zipformat::crc32(crc, bytes.data() + at, std::min(chunk, bytes.size() - at));
    EXPECT_EQ(crc, zlibCrc(0, bytes.data(), bytes.size()));
}

} // namespace
