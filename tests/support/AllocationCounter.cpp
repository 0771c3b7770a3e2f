#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define VEXLINK_COUNTS_ALLOCATIONS 0
#else
#define VEXLINK_COUNTS_ALLOCATIONS 1
#endif

namespace {

thread_local int counting = 0;
thread_local long allocations = 0;

}  // namespace

namespace testsupport {

CountAllocations::CountAllocations() : start_(allocations) { ++counting; }
CountAllocations::~CountAllocations() { --counting; }
long CountAllocations::count() const { return allocations - start_; }
bool CountAllocations::Available() { return VEXLINK_COUNTS_ALLOCATIONS; }

}  // namespace testsupport

#if VEXLINK_COUNTS_ALLOCATIONS

namespace {

void* allocate(std::size_t n, std::size_t alignment = 0) {
    if (counting) ++allocations;
    if (n == 0) n = 1;
    void* p = nullptr;
    if (alignment > alignof(std::max_align_t)) {
        if (posix_memalign(&p, alignment, n) != 0) p = nullptr;
    } else {
        p = std::malloc(n);
    }
    return p;
}

void* allocateOrThrow(std::size_t n, std::size_t alignment = 0) {
    if (void* p = allocate(n, alignment)) return p;
    throw std::bad_alloc();
}

}  // namespace

// These are the allocation functions themselves: their free matches their malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) { return allocateOrThrow(n); }
void* operator new[](std::size_t n) { return allocateOrThrow(n); }
void* operator new(std::size_t n, std::align_val_t a) {
    return allocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return allocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocate(n, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

#endif
