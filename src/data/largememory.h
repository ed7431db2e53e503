#pragma once

#include <cstddef>
#include <new>

namespace data {

// Memory for large results. On Linux big allocations are aligned to and
// advised as huge pages: touching a few hundred megabytes in 4 KB pages
// costs more in page faults than reading the rows from the engine (plain
// allocation measured 12 % slower on a million-record search). Elsewhere,
// and for small allocations, the memory is plain. It is not zeroed.
void *allocateLarge(std::size_t bytes);
void freeLarge(void *memory) noexcept;

template <typename T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <typename U> LargeAllocator(const LargeAllocator<U> &) {}
    T *allocate(std::size_t count) { return static_cast<T *>(allocateLarge(count * sizeof(T))); }
    void deallocate(T *memory, std::size_t) noexcept { freeLarge(memory); }
    template <typename U> bool operator==(const LargeAllocator<U> &) const { return true; }
};

} // namespace data
