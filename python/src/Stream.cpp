#include "Stream.h"

#include <utility>

namespace py = pybind11;

namespace vexlink_python {

Stream::Stream(py::object owner, Tracker& tracker, std::uint64_t id)
    : owner_(std::move(owner)), tracker_(tracker), id_(id) {}

Stream::~Stream() {
    try {
        close();
    } catch (py::error_already_set& error) {
        error.discard_as_unraisable(__func__);
    }
}

Sample Stream::next() {
    if (id_ == 0) throw py::stop_iteration();
    if (auto sample = tracker_.nextSample(id_)) return *sample;
    id_ = 0;
    throw py::stop_iteration();
}

void Stream::close() {
    if (id_ == 0) return;
    tracker_.stopStream(std::exchange(id_, 0));
}

}  // namespace vexlink_python
