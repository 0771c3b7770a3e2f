// A thread that makes a tracker's blocking calls, so that the Python thread that asked can
// answer Ctrl-C while it waits.
//
// The library's calls block for up to Vexlink::kReadBoundMs and do not return early for a
// signal. The caller hands each call to the worker and waits for it with the GIL released, in
// slices of kSignalCheckMs; between slices it runs Python's signal handlers. When one raises
// (KeyboardInterrupt), the wait ends with that exception at once while the call runs on to its
// own end on the worker; the next call, and closing, wait for it first.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vexlink_python {

class PortWorker {
public:
    // Longest wait between two looks at pending signals: Ctrl-C ends a wait well within 100 ms.
    static constexpr int kSignalCheckMs = 20;

    PortWorker();
    // Waits for the call in hand, then ends the thread.
    ~PortWorker();
    PortWorker(const PortWorker&) = delete;
    PortWorker& operator=(const PortWorker&) = delete;

    // Runs call on the worker and returns its result. Needs the GIL (released while waiting).
    // Throws pybind11::error_already_set when a signal handler raised meanwhile.
    template <typename Call>
    auto run(Call call) -> decltype(call()) {
        return runAs(std::move(call), true);
    }
    // As run, deaf to signals: for closing, which must happen whatever the user presses.
    template <typename Call>
    auto runToEnd(Call call) -> decltype(call()) {
        return runAs(std::move(call), false);
    }

private:
    template <typename Call>
    auto runAs(Call call, bool answerSignals) -> decltype(call()) {
        using Result = decltype(call());
        // Shared with the job: a job left running by Ctrl-C still has somewhere to put it.
        auto result = std::make_shared<std::optional<Result>>();
        submit([result, call]() mutable { result->emplace(call()); }, answerSignals);
        return std::move(**result);
    }
    // Hands job to the worker once the previous one has ended, and waits for it to end.
    void submit(std::function<void()> job, bool answerSignals);
    // Waits for the job in hand to end; false when a signal handler raised first.
    bool awaitIdle(bool answerSignals);
    void loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;  // the call in hand, empty when idle
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vexlink_python
