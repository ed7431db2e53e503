#include "largememory.h"

#include <cstdlib>
#include <sys/mman.h>

namespace data {

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}

void *allocateLarge(std::size_t bytes)
{
    void *memory = nullptr;
    if (bytes >= kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        memory = std::aligned_alloc(kHugePage, rounded);
        if (memory)
            madvise(memory, rounded, MADV_HUGEPAGE);   // only advice: ignored where unsupported
    } else {
        memory = std::malloc(bytes ? bytes : 1);
    }
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void freeLarge(void *memory) noexcept
{
    std::free(memory);
}

} // namespace data
