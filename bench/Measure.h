// Small measuring tools shared by the sections.
#pragma once

#include <vexlink/Vexlink.h>

#include <chrono>
#include <functional>
#include <sys/resource.h>

#include "Rig.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time (user + system) of the calling thread, in milliseconds.
inline double threadCpuMs() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// True when the object's last sample is the pose the simulated tracker sends.
inline bool holdsBenchPose(Vexlink& link) {
    int pitch = 0, yaw = 0, roll = 0;
    link.Get_PYR(&pitch, &yaw, &roll);
    const korvisor::Pose pose = benchPose();
    return pitch == pose.pitch && yaw == pose.yaw && roll == pose.roll;
}

// Runs send, which writes `bytes` command bytes, and waits (up to 500 ms) until the tracker
// has taken them, so that what is measured next finds the tracker already in its new mode.
inline void settled(korvisor::Simulator& sim, int bytes, const std::function<void()>& send) {
    testsupport::settled(sim, bytes, send, std::chrono::milliseconds(500));
}

// Frame format, checksum mode and sampling mode as the console sets them: each letter is
// sent and stored, and has reached the tracker on return.
void chooseFormat(Vexlink& link, korvisor::Simulator& sim, bool ascii, bool checksum);
void startStream(Vexlink& link, korvisor::Simulator& sim, int rate);
void stopStream(Vexlink& link, korvisor::Simulator& sim);

}  // namespace bench
