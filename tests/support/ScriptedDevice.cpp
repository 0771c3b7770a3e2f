#include "ScriptedDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace testsupport {

ScriptedDevice::ScriptedDevice(int initialSpeed) {
    portFd_ = open(pty_.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (portFd_ < 0 || wakeFd_ < 0) throw std::runtime_error("ScriptedDevice: open");
    if (initialSpeed > 0) pty_.setInitialSpeed(initialSpeed);
    thread_ = std::thread([this] { run(); });
}

ScriptedDevice::~ScriptedDevice() {
    vanish();
    if (wakeFd_ >= 0) close(wakeFd_);
}

void ScriptedDevice::answer(std::uint8_t command, std::string reply, milliseconds delay) {
    std::lock_guard guard(lock_);
    script_[command] = {std::move(reply), delay};
}

void ScriptedDevice::send(const std::string& bytes) {
    ptykit::writeAll(pty_.master(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                     bytes.size());
}

std::vector<ReceivedByte> ScriptedDevice::received() const {
    std::lock_guard guard(lock_);
    return received_;
}

std::string ScriptedDevice::receivedText() const {
    std::lock_guard guard(lock_);
    std::string text;
    for (const auto& r : received_) text += static_cast<char>(r.value);
    return text;
}

void ScriptedDevice::clearReceived() {
    std::lock_guard guard(lock_);
    received_.clear();
}

bool ScriptedDevice::waitForHostInput(std::size_t n, milliseconds timeout) const {
    // The kernel tells no one when its input queue grows: look every millisecond.
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int queued = 0;
        if (ioctl(portFd_, FIONREAD, &queued) == 0 && static_cast<std::size_t>(queued) >= n)
            return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(milliseconds(1));
    }
}

bool ScriptedDevice::waitForCount(std::size_t n, milliseconds timeout) const {
    std::unique_lock guard(lock_);
    return arrived_.wait_for(guard, timeout, [&] { return received_.size() >= n; });
}

termios ScriptedDevice::hostSettings() const {
    termios t{};
    tcgetattr(pty_.master(), &t);
    return t;
}

void ScriptedDevice::holdHostOutput(bool held) { tcflow(portFd_, held ? TCOOFF : TCOON); }

void ScriptedDevice::vanish() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t r = write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (portFd_ >= 0) close(portFd_);
    portFd_ = -1;
    pty_.hangUp();
}

void ScriptedDevice::run() {
    const int master = pty_.master();
    for (;;) {
        int timeoutMs = -1;
        {
            std::lock_guard guard(lock_);
            const auto now = Clock::now();
            for (auto it = pending_.begin(); it != pending_.end();) {
                if (it->due <= now) {
                    send(it->bytes);
                    it = pending_.erase(it);
                } else {
                    ++it;
                }
            }
            for (const auto& p : pending_) {
                const auto left = std::chrono::ceil<milliseconds>(p.due - now).count();
                timeoutMs = timeoutMs < 0 ? static_cast<int>(left)
                                          : std::min(timeoutMs, static_cast<int>(left));
            }
        }
        pollfd fds[2] = {{master, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int r = poll(fds, 2, timeoutMs);
        if (r < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;
        if (!(fds[0].revents & POLLIN)) continue;

        std::uint8_t buffer[256];
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0) continue;
        const auto at = Clock::now();
        const int speed = pty_.hostSpeed();
        std::lock_guard guard(lock_);
        for (ssize_t i = 0; i < got; ++i) {
            received_.push_back({buffer[i], at, speed});
            const auto it = script_.find(buffer[i]);
            if (it == script_.end()) continue;
            if (it->second.second == milliseconds(0)) send(it->second.first);
            else pending_.push_back({at + it->second.second, it->second.first});
        }
        arrived_.notify_all();
    }
}

}  // namespace testsupport
