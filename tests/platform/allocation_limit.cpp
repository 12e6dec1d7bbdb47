#include "allocation_limit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> largestAllocation{SIZE_MAX};

} // namespace

namespace casl::test {

void limitAllocations(std::size_t bytes) {
    largestAllocation = bytes;
}

void liftAllocationLimit() {
    largestAllocation = SIZE_MAX;
}

} // namespace casl::test

// Every form of new and delete is replaced, so that whatever a library allocates with one form
// and releases with another, both sides are malloc and free.
void* operator new(std::size_t size) {
    if (size > largestAllocation.load()) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size > largestAllocation.load()) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

// The replacement takes its memory from malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
