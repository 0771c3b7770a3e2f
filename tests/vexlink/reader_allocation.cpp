// The read path allocates nothing: the global allocation functions of this test program count
// the allocations of the thread that asks them to (tests/support/AllocationCounter.h), and a
// read in every mode makes none. Under AddressSanitizer nothing is counted and the test is
// skipped.
#include "reader_fixture.h"

#include "AllocationCounter.h"

namespace {

using namespace trackertest;
using ReadAllocation = TrackerLink;

// Allocations made by this thread while f runs.
template <class F>
long allocationsDuring(F&& f) {
    testsupport::CountAllocations count;
    f();
    return count.count();
}

TEST_F(ReadAllocation, NoReadAllocates) {
    if (!testsupport::CountAllocations::Available())
        GTEST_SKIP() << "the sanitizer's allocator is in place";
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
