#include "data/largememory.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace data {

namespace {

// Big blocks aligned to and advised as huge pages, where the system takes
// the advice (Linux); null elsewhere and for small blocks, which are plain.
void *hugePageMemory(std::size_t bytes)
{
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    if (bytes < kHugePage)
        return nullptr;
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *memory = std::aligned_alloc(kHugePage, rounded);
    if (memory)
        madvise(memory, rounded, MADV_HUGEPAGE); // only advice: ignored where unsupported
    return memory;
#else
    (void)bytes;
    return nullptr;
#endif
}

} // namespace

void *allocateLarge(std::size_t bytes)
{
    void *memory = hugePageMemory(bytes);
    if (!memory)
        memory = std::malloc(bytes ? bytes : 1);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void freeLarge(void *memory) noexcept
{
    std::free(memory);
}

} // namespace data
