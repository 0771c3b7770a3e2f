// The iterator vexlink.Tracker.stream returns.
#pragma once

#include "Sample.h"
#include "Tracker.h"

#include <pybind11/pybind11.h>

#include <cstdint>

namespace vexlink_python {

class Stream {
public:
    // owner is the Python Tracker, kept alive as long as the stream.
    Stream(pybind11::object owner, Tracker& tracker, std::uint64_t id);
    // Ends the stream if it still runs. Needs the GIL.
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // The next sample; raises StopIteration once the stream has ended.
    Sample next();
    // Puts the tracker back to upon-request sampling; the port stays open.
    void close();

private:
    pybind11::object owner_;
    Tracker& tracker_;
    std::uint64_t id_;
};

}  // namespace vexlink_python
