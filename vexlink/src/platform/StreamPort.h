// A port as a stream reader uses it: woken once the bytes it still needs have come, reading all
// that is queued without waiting, and asking the driver to pass received bytes on at once.
// The POSIX backend is posix/StreamWait.cpp and posix/LowLatency.cpp; the Windows one is
// win32/StreamWait.cpp.
#pragma once

#include "platform/Clock.h"

#include <vexlink/SerialTypes.h>

#include <cstdint>

namespace vexlink::platform {

enum class StreamWait {
    Ready,        // at least the bytes asked for are queued (or the wait ended early: read and see)
    TimedOut,     // the deadline passed first
    Interrupted,  // a signal interrupted the wait
    Gone,         // the device has gone away (hang-up, unplugged adapter)
};

class StreamPort {
public:
    // Takes the port for streaming: asks its driver for low-latency mode where it has one.
    // false when the handle names no open port.
    bool begin(HANDLE port);
    // Puts back what begin changed (the wake-up count and the driver's latency setting).
    void end();

    // Sleeps until at least `bytes` bytes (1..255) are queued, the device goes, a signal comes
    // or the deadline passes. On a terminal the kernel holds the wake-up until that many bytes
    // have come (VMIN with VTIME 0, which poll honours), so a frame costs one wake-up. On
    // Windows a read of those bytes under a total time-out alone does the same (its bytes are
    // kept for readQueued).
    StreamWait wait(int bytes, Clock::time_point deadline);
    // Reads what is queued, at most n bytes, without waiting. false when the device has gone.
    bool readQueued(unsigned char* into, int n, int* got);

    bool lowLatency() const { return lowLatency_; }
    // The time one byte takes on the line at the port's present speed (10 bit times); zero when
    // the port does not tell (no terminal). Read again after a speed change.
    void readLineSpeed();
    Clock::duration byteTime() const { return byteTime_; }

private:
#if defined(_WIN32)
    void* device_ = nullptr;        // the port's Win32 handle while streaming
    unsigned char held_[255] = {};  // bytes a wait has read, not yet handed out
    int heldCount_ = 0;
    bool restoreTimeouts_ = false;
    std::uint32_t linkTimeouts_[5] = {};  // the link's COMMTIMEOUTS, put back by end()
#else
    void setWakeCount(int bytes);

    int fd_ = -1;
    bool terminal_ = false;
    int wakeCount_ = 1;
#endif
    bool lowLatency_ = false;  // the driver is in low-latency mode because begin asked
    Clock::duration byteTime_{};
};

#if !defined(_WIN32)
// Asks the driver of a serial port to pass received bytes on at once (ASYNC_LOW_LATENCY).
// true when it took the flag and it was not set before (so end must clear it again).
bool enableLowLatency(int fd);
void disableLowLatency(int fd);
#endif

}  // namespace vexlink::platform
