#pragma once

#include <cstddef>
#include <new>

namespace data {

// Memory for large results. Big allocations are aligned to and advised as
// huge pages: touching a few hundred megabytes in 4 KB pages costs more in
// page faults than reading the rows from the engine. The memory is not
// zeroed. Small allocations are plain.
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
