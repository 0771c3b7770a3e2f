#include "ComPorts.h"

#include <cstdlib>
#include <utility>

namespace testsupport {

namespace {

std::string variable(int n) { return "VEXLINK_COM" + std::to_string(n); }

}  // namespace

ComPorts::ComPorts(std::string missingPrefix) : missingPrefix_(std::move(missingPrefix)) {
    for (int n = 1; n <= 4; ++n) {
        if (const char* value = std::getenv(variable(n).c_str()))
            saved_[static_cast<std::size_t>(n - 1)] = value;
        missing(n);
    }
}

ComPorts::~ComPorts() {
    for (auto& sim : sims_) sim.reset();
    for (int n = 1; n <= 4; ++n) {
        const auto& saved = saved_[static_cast<std::size_t>(n - 1)];
        if (saved) setenv(variable(n).c_str(), saved->c_str(), 1);
        else unsetenv(variable(n).c_str());
    }
}

korvisor::Simulator& ComPorts::attach(int n, korvisor::Options options) {
    auto& slot = sims_.at(static_cast<std::size_t>(n - 1));
    slot.reset();
    slot = std::make_unique<korvisor::Simulator>(std::move(options));
    slot->start();
    setenv(variable(n).c_str(), slot->devicePath().c_str(), 1);
    return *slot;
}

void ComPorts::point(int n, const std::string& path) {
    sims_.at(static_cast<std::size_t>(n - 1)).reset();
    setenv(variable(n).c_str(), path.c_str(), 1);
}

void ComPorts::missing(int n) { point(n, missingPrefix_ + std::to_string(n)); }

void ComPorts::unset(int n) {
    sims_.at(static_cast<std::size_t>(n - 1)).reset();
    unsetenv(variable(n).c_str());
}

void settled(korvisor::Simulator& sim, int bytes, const std::function<void()>& send,
             std::chrono::milliseconds timeout) {
    const std::size_t before = sim.received().size();
    send();
    sim.waitForReceived(before + static_cast<std::size_t>(bytes), timeout);
}

}  // namespace testsupport
