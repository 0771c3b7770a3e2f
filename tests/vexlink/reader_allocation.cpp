// The read path allocates nothing: the global allocation functions of this test program count
// the allocations of the thread that asks them to, and a read in every mode makes none.
//
// Under AddressSanitizer the sanitizer's own allocation functions stay in place (they check
// every new against its delete), and the test is skipped.
#include "reader_fixture.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define VEXLINK_COUNTS_ALLOCATIONS 0
#else
#define VEXLINK_COUNTS_ALLOCATIONS 1
#endif

namespace {

thread_local bool counting = false;
thread_local long allocations = 0;

}  // namespace

#if VEXLINK_COUNTS_ALLOCATIONS

namespace {

void* allocate(std::size_t n, std::size_t alignment = 0) {
    if (counting) ++allocations;
    if (n == 0) n = 1;
    void* p = alignment ? std::aligned_alloc(alignment, (n + alignment - 1) / alignment * alignment)
                        : std::malloc(n);
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
void* operator new(std::size_t n, std::align_val_t a) { return allocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return allocateOrThrow(n, static_cast<std::size_t>(a)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
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

#endif

namespace {

using namespace trackertest;
using ReadAllocation = TrackerLink;

// Allocations made by this thread while f runs.
template <class F>
long allocationsDuring(F&& f) {
    allocations = 0;
    counting = true;
    f();
    counting = false;
    return allocations;
}

TEST_F(ReadAllocation, NoReadAllocates) {
    if (!VEXLINK_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizer's allocator is in place";
    // The counter counts.
    EXPECT_EQ(allocationsDuring([] { ::operator delete(::operator new(16)); }), 1);

    struct Read {
        char dataMode, transMode;
        int checksum;
        std::string frame;
        int result;
    };
    const Read reads[] = {
        {'F', 'G', 1, bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x68}), 1},
        {'F', 'G', 1, bytes({0x12, 0x34, 0x56, 0x78, 0x1A, 0xBC, 0x69}), 0},
        {'F', 'H', 0, bytes({0x01, 0xFF, 0x00, 0x20, 0x00, 0x40, 0x00, 0x30, 0x00}), 1},
        {'E', 'G', 0, "Y  123,  -45,   10\r\n", 1},
        {'E', 'H', 0, "", 0},  // silent: the bounded search gives up
    };
    for (const Read& r : reads) {
        setMode(r.dataMode, r.transMode, r.checksum);
        serveFrame(r.frame);
        int result = -1;
        EXPECT_EQ(allocationsDuring([&] { result = link.ReadFromPort(); }), 0) << r.frame;
        EXPECT_EQ(result, r.result);
        senders.clear();
    }
}

}  // namespace
