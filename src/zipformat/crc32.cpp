#include "zipformat/crc32.h"

#include <zlib.h>

// 64-bit only: 32-bit Windows callers need not keep the stack aligned for
// the vector registers the folding may spill.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZIPFORMAT_CLMUL_CRC 1
#include <immintrin.h>
#endif

namespace zipformat {

namespace {

std::uint32_t zlibCrc32(std::uint32_t crc, const unsigned char *data, std::size_t size)
{
    return std::uint32_t(crc32_z(crc, data, size));
}

#ifdef ZIPFORMAT_CLMUL_CRC

constexpr std::size_t kFoldMinimum = 64;

#define ZIPFORMAT_CLMUL __attribute__((target("pclmul,sse4.1")))

ZIPFORMAT_CLMUL inline __m128i load(const unsigned char *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

// One 16-byte lane carried over the distance its constants stand for and
// added to the data there.
ZIPFORMAT_CLMUL inline __m128i fold(__m128i lane, __m128i constants, __m128i onto)
{
    const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), onto);
}

// Folds a buffer of at least 64 bytes, a multiple of 16, into the
// (pre-inverted) CRC register: four lanes of 16 bytes folded 64 bytes ahead
// at a time, then into one lane, then reduced to 32 bits (Barrett). The
// constants are powers of x modulo the reflected ZIP polynomial.
ZIPFORMAT_CLMUL std::uint32_t foldCrc32(std::uint32_t crc, const unsigned char *buf, std::size_t len)
{
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5k0 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
    __m128i x1 = _mm_xor_si128(load(buf), _mm_cvtsi32_si128(int(crc)));
    __m128i x2 = load(buf + 16), x3 = load(buf + 32), x4 = load(buf + 48);
    buf += 64;
    len -= 64;
    for (; len >= 64; buf += 64, len -= 64) {
        x1 = fold(x1, k1k2, load(buf));
        x2 = fold(x2, k1k2, load(buf + 16));
        x3 = fold(x3, k1k2, load(buf + 32));
        x4 = fold(x4, k1k2, load(buf + 48));
    }
    x1 = fold(x1, k3k4, x2);
    x1 = fold(x1, k3k4, x3);
    x1 = fold(x1, k3k4, x4);
    for (; len >= 16; buf += 16, len -= 16)
        x1 = fold(x1, k3k4, load(buf));

    // 128 bits to 64, then the Barrett reduction to 32.
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x2 = _mm_clmulepi64_si128(x1, k3k4, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k5k0, 0x00), x2);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, mask32), poly, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return std::uint32_t(_mm_extract_epi32(x1, 1));
}

bool canFold()
{
    static const bool supported = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return supported;
}

#endif

} // namespace

std::uint32_t crc32(std::uint32_t crc, const unsigned char *data, std::size_t size)
{
#ifdef ZIPFORMAT_CLMUL_CRC
    if (size >= kFoldMinimum && canFold()) {
        const std::size_t folded = size & ~std::size_t(15);
        crc = ~foldCrc32(~crc, data, folded);
        data += folded;
        size -= folded;
    }
#endif
    return zlibCrc32(crc, data, size);
}

} // namespace zipformat
