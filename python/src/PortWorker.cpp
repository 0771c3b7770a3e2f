#include "PortWorker.h"

#include <pybind11/pybind11.h>

#include <chrono>

namespace py = pybind11;

namespace vexlink_python {

PortWorker::PortWorker() : thread_([this] { loop(); }) {}

PortWorker::~PortWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();  // the worker ends the call in hand first
}

void PortWorker::loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || job_; });
        if (!job_) return;  // stopping, and nothing left to do
        lock.unlock();
        job_();
        lock.lock();
        job_ = nullptr;
        changed_.notify_all();
    }
}

bool PortWorker::awaitIdle(bool answerSignals) {
    for (;;) {
        bool idle = false;
        {
            py::gil_scoped_release released;
            std::unique_lock lock(mutex_);
            idle = changed_.wait_for(lock, std::chrono::milliseconds(kSignalCheckMs),
                                     [this] { return !job_; });
        }
        if (idle) return true;
        // Only the main thread runs signal handlers; elsewhere this returns 0 at once.
        if (answerSignals && PyErr_CheckSignals() != 0) return false;
    }
}

void PortWorker::submit(std::function<void()> job, bool answerSignals) {
    if (!awaitIdle(answerSignals)) throw py::error_already_set();
    {
        std::lock_guard lock(mutex_);
        job_ = std::move(job);
    }
    changed_.notify_all();
    if (!awaitIdle(answerSignals)) throw py::error_already_set();
}

}  // namespace vexlink_python
