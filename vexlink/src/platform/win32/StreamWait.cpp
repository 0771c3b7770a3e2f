// Waiting for and reading a stream of frames on Windows. A read of the bytes the reader still
// needs, bounded by a total time-out alone, returns as soon as they have all come: the driver's
// counterpart of VMIN, one wake-up a frame, and the same under Wine. The bytes it took are kept
// until readQueued hands them on; whatever else is queued is read at once (an interval time-out
// of MAXDWORD with no total). USB adapters' latency timers are driver settings on Windows, out
// of a program's reach: lowLatency() stays false.
#include "platform/StreamPort.h"
#include "platform/win32/OpenPorts.h"

#include <algorithm>
#include <cstring>

namespace vexlink::platform {

namespace {

constexpr std::uint32_t kMaxDword = 0xFFFF'FFFF;
constexpr win32::Timeouts kAtOnce{kMaxDword, 0, 0, 0, 0};

}  // namespace

bool StreamPort::begin(HANDLE port) {
    const auto p = findPort(port);
    if (!p) return false;
    device_ = p->device;
    heldCount_ = 0;
    // The link's own time-outs come back in end(); the stream's reads set their own.
    win32::Timeouts link;
    restoreTimeouts_ = win32::getTimeouts(device_, link);
    linkTimeouts_[0] = link.readInterval;
    linkTimeouts_[1] = link.readMultiplier;
    linkTimeouts_[2] = link.readConstant;
    linkTimeouts_[3] = link.writeMultiplier;
    linkTimeouts_[4] = link.writeConstant;
    lowLatency_ = false;
    return true;
}

void StreamPort::end() {
    if (!device_) return;
    if (restoreTimeouts_) {
        win32::setTimeouts(device_, {linkTimeouts_[0], linkTimeouts_[1], linkTimeouts_[2],
                                     linkTimeouts_[3], linkTimeouts_[4]});
    }
    device_ = nullptr;
    heldCount_ = 0;
}

void StreamPort::readLineSpeed() {
    byteTime_ = {};
    win32::LineState line;
    if (device_ && win32::getLine(device_, line) && line.baudRate > 0)
        byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / line.baudRate);
}

StreamWait StreamPort::wait(int bytes, Clock::time_point deadline) {
    if (!device_) return StreamWait::Gone;
    bytes = std::clamp(bytes, 1, static_cast<int>(sizeof held_));
    if (heldCount_ >= bytes) return StreamWait::Ready;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
        std::max(deadline - Clock::now(), Clock::duration::zero()));
    // A deadline already past still looks once, so that a zero time-out takes what is queued.
    const win32::Timeouts timeouts =
        left.count() > 0 ? win32::Timeouts{0, 0, static_cast<std::uint32_t>(left.count()), 0, 0}
                         : kAtOnce;
    std::uint32_t got = 0;
    if (!win32::setTimeouts(device_, timeouts) ||
        !win32::read(device_, held_ + heldCount_, static_cast<std::uint32_t>(bytes - heldCount_),
                     got)) {
        return StreamWait::Gone;
    }
    heldCount_ += static_cast<int>(got);
    return heldCount_ > 0 ? StreamWait::Ready : StreamWait::TimedOut;
}

bool StreamPort::readQueued(unsigned char* into, int n, int* got) {
    *got = 0;
    if (!device_) return false;
    const int kept = std::min(n, heldCount_);
    std::memcpy(into, held_, static_cast<std::size_t>(kept));
    std::memmove(held_, held_ + kept, static_cast<std::size_t>(heldCount_ - kept));
    heldCount_ -= kept;
    *got = kept;
    if (kept == n) return true;
    std::uint32_t more = 0;
    if (!win32::setTimeouts(device_, kAtOnce) ||
        !win32::read(device_, into + kept, static_cast<std::uint32_t>(n - kept), more)) {
        return kept > 0;  // hand on what came; the next wait reports the device gone
    }
    *got += static_cast<int>(more);
    return true;
}

}  // namespace vexlink::platform
