// Counts the heap allocations (operator new, every form) that the calling thread makes while
// a CountAllocations is alive; counters nest. A program that links this counter
// (vexlink_allocation_counter) has its global allocation functions replaced, so allocations
// inside the library count too; other threads' (a simulator's) never do.
//
// Under AddressSanitizer the sanitizer's own allocation functions stay in place (they check
// every new against its delete): nothing is counted, and Available() is false.
#pragma once

namespace testsupport {

class CountAllocations {
public:
    CountAllocations();
    ~CountAllocations();
    CountAllocations(const CountAllocations&) = delete;
    CountAllocations& operator=(const CountAllocations&) = delete;

    // The allocations of this thread since construction.
    long count() const;

    // False in a sanitizer build, where count() is always 0.
    static bool Available();

private:
    long start_;
};

}  // namespace testsupport
