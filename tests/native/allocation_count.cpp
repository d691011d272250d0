#include "native/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The global operator new and delete of the whole test program (every form but the over-aligned ones, which stay the
// library's in pairs), counting allocations so tests can prove that a path allocates nothing. They pass to malloc and
// free, which the sanitizers still watch.
namespace {
std::atomic<size_t> gAllocations{0};

void* Allocate(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
}  // namespace

size_t AllocationCount() {
    return gAllocations.load();
}

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++gAllocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
