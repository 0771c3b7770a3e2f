#include "Messages.h"

#include <vexlink/Vexlink.h>

#include <pybind11/pybind11.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace vexlink_python {

namespace {

std::mutex queueMutex;
std::vector<std::string>& queue() {
    static auto* texts = new std::vector<std::string>();  // outlives every port worker
    return *texts;
}

void queueText(const char* text, void*) {
    std::lock_guard lock(queueMutex);
    queue().emplace_back(text ? text : "");
}

std::vector<std::string> takeQueue() {
    std::lock_guard lock(queueMutex);
    return std::exchange(queue(), {});
}

}  // namespace

void installMessageHandler() { Vexlink::SetMessageHandler(&queueText); }

void flushMessages() {
    const auto texts = takeQueue();
    if (texts.empty()) return;
    py::object logger = py::module_::import("logging").attr("getLogger")("vexlink");
    for (const auto& text : texts) logger.attr("warning")("%s", text);
}

void discardMessages() { takeQueue(); }

}  // namespace vexlink_python
