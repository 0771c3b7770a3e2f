// Counts the heap allocations (operator new, every form) that the calling thread makes while
// a CountAllocations is alive. The benchmark program replaces the global operator new, so
// allocations inside the library count too; other threads (the simulator's) never do.
#pragma once

namespace bench {

class CountAllocations {
public:
    CountAllocations();
    ~CountAllocations();
    CountAllocations(const CountAllocations&) = delete;
    CountAllocations& operator=(const CountAllocations&) = delete;

    long count() const;

private:
    long start_;
};

}  // namespace bench
