// Pauses on a high-resolution waitable timer.
#include "platform/win32/System.h"

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vexlink::platform::win32 {

namespace {

// Sleep() rounds up to the system's timer tick (15.6 ms by default), which would stretch a
// 10 ms pause by half. A high-resolution waitable timer (Windows 10 1803 and later) wakes
// within a fraction of a millisecond; one per thread, made on first use.
class PauseTimer {
public:
    PauseTimer()
        : timer_(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS)) {}
    ~PauseTimer() {
        if (timer_) ::CloseHandle(timer_);
    }
    PauseTimer(const PauseTimer&) = delete;
    PauseTimer& operator=(const PauseTimer&) = delete;

    // false when there is no timer.
    bool wait(std::chrono::nanoseconds wait) {
        if (!timer_) return false;
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>((wait.count() + 99) / 100);  // relative, 100 ns units
        if (!::SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) return false;
        return ::WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0;
    }

private:
    ::HANDLE timer_;
};

}  // namespace

void sleepFor(std::chrono::nanoseconds wait) {
    thread_local PauseTimer timer;
    if (wait <= std::chrono::nanoseconds::zero()) return;
    if (!timer.wait(wait))
        ::Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
}

}  // namespace vexlink::platform::win32
