// A simulator started in-process with a host port open on it.
#pragma once

#include "HostPort.h"

#include <korvisor/FrameCodec.h>
#include <korvisor/Simulator.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace simtest {

class SimTest : public ::testing::Test {
protected:
    void startSim(korvisor::Options options = {}) {
        sim = std::make_unique<korvisor::Simulator>(std::move(options));
        sim->start();
        host = std::make_unique<HostPort>(sim->devicePath(), 9600);
    }
    void SetUp() override {}

    // Sends bytes and waits until the tracker has taken them all in.
    void command(std::string_view bytes) {
        const std::size_t before = sim->received().size();
        host->send(bytes);
        ASSERT_TRUE(sim->waitForReceived(before + bytes.size(), 2000ms));
    }

    std::unique_ptr<korvisor::Simulator> sim;
    std::unique_ptr<HostPort> host;
};

inline korvisor::Options fixedPose(korvisor::Pose p) {
    korvisor::Options o;
    o.fixedPose = p;
    return o;
}

}  // namespace simtest
