// Pose latency: from the moment the simulator wrote a frame's last byte to the moment its pose
// datagram arrives on the loopback, for `vexlink stream` and for a plain pyserial loop doing the
// same job, side by side in one run; with each one's CPU time per sample and the samples it
// delivered against the frames the tracker sent.
#include <korvisor/Simulator.h>

#include <algorithm>
#include <array>
#include <arpa/inet.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Benches.h"
#include "Measure.h"
#include "Stats.h"

extern char** environ;

namespace bench {

namespace {

constexpr double kMedianGoalMs = 0.2;
constexpr double kP99GoalMs = 1.0;

struct Run {
    Summary latency;  // ms
    double cpuUsPerSample = 0;
    long delivered = 0;
    long sent = 0;
    bool ok = false;
};

// Nanoseconds the process has run on a CPU so far (its main thread's scheduler statistics:
// exact, unlike the tick-based rusage figures); -1 once it has gone.
double cpuNs(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/schedstat", static_cast<int>(pid));
    FILE* f = std::fopen(path, "re");
    if (!f) return -1;
    double ns = -1;
    if (std::fscanf(f, "%lf", &ns) != 1) ns = -1;
    std::fclose(f);
    return ns;
}

int signedDegrees(int a) { return ((a + 180) % 360 + 360) % 360 - 180; }

// The pose a frame carries, as the datagram gives it: yaw, pitch, roll in -180..179.
std::array<int, 3> frameAngles(const std::vector<std::uint8_t>& f) {
    const int y = (f[2] << 8) | f[3], p = (f[4] << 8) | f[5], r = (f[6] << 8) | f[7];
    return {signedDegrees((y * 360) >> 15), signedDegrees(((p * 180) >> 15) - 90),
            signedDegrees(((r * 180) >> 15) - 90)};
}

Run runOne(const std::vector<std::string>& argv, korvisor::Simulator& sim, int sock,
           double seconds) {
    Run run;
    sim.clearSentFrames();
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return run;

    std::vector<std::pair<Clock::time_point, std::array<int, 3>>> received;
    int status = 0;
    rusage usage{};
    // CPU time in the steady state, from the first datagram to the last, without start-up.
    double cpuFirst = -1, cpuLast = -1;
    long cpuSamples = 0;
    for (;;) {
        pollfd p{sock, POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            double d[6];
            const ssize_t n = recv(sock, d, sizeof d, 0);
            const auto at = Clock::now();
            if (n == sizeof d) {
                received.push_back(
                    {at, {int(std::lround(d[3])), int(std::lround(d[4])), int(std::lround(d[5]))}});
                const double ns = cpuNs(pid);
                if (ns >= 0) {
                    if (cpuFirst < 0) cpuFirst = ns;
                    else cpuLast = ns, ++cpuSamples;
                }
            }
            continue;
        }
        if (wait4(pid, &status, WNOHANG, &usage) == pid) break;
    }
    const auto frames = sim.sentFrames();
    std::vector<const korvisor::TxFrame*> stream;
    for (const auto& f : frames)
        if (f.stream && f.intact && f.bytes.size() == 9) stream.push_back(&f);
    // Each datagram belongs to the latest frame before it that carries its pose.
    std::vector<double> latencies;
    std::size_t j = 0;
    for (const auto& [at, angles] : received) {
        while (j + 1 < stream.size() && stream[j + 1]->lastByteAt <= at) ++j;
        for (std::size_t k = j + 1; k-- > 0 && k + 3 > j;) {
            if (stream[k]->lastByteAt <= at && frameAngles(stream[k]->bytes) == angles) {
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(at - stream[k]->lastByteAt).count());
                break;
            }
        }
    }
    // Frames sent while the program was sampling: from its first datagram's frame to its last.
    long sentDuring = 0;
    if (!received.empty())
        for (const auto* f : stream)
            if (f->lastByteAt >= received.front().first - std::chrono::milliseconds(20) &&
                f->lastByteAt <= received.back().first)
                ++sentDuring;
    run.latency = summarize(latencies);
    run.delivered = static_cast<long>(received.size());
    run.sent = sentDuring;
    run.cpuUsPerSample =
        cpuSamples > 0 ? (cpuLast - cpuFirst) / 1000.0 / static_cast<double>(cpuSamples) : 0;
    run.ok = WIFEXITED(status) && !latencies.empty();
    (void)seconds;
    return run;
}

}  // namespace

Section poseLatencySection(const Settings& settings) {
    Section section{
        "Pose latency: frame's last byte written -> datagram received (rate 75, binary + checksum)",
        {"median ms", "p99 ms", "max ms", "CPU us/sample", "delivered", "sent", "goal"},
        {3, 3, 3, 1, 0, 0, 0},
        {}};
    if (settings.vexlink.empty() || settings.pyserialScript.empty()) return section;
    const double seconds = std::max(settings.streamSeconds, 3.0);

    const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    getsockname(sock, reinterpret_cast<sockaddr*>(&addr), &len);
    const std::string udpPort = std::to_string(ntohs(addr.sin_port));

    for (int speed : {9600, 19200}) {
        korvisor::Simulator sim;
        sim.start();
        const std::string path = sim.devicePath();
        const std::string secs = std::to_string(seconds);
        // Run the reference first, then ours, each against the same simulated tracker.
        Run ref = runOne({"/usr/bin/python3", settings.pyserialScript, path, std::to_string(speed),
                          udpPort, secs},
                         sim, sock, seconds);
        Run ours =
            runOne({settings.vexlink, "stream", "--port", path, "--speed", std::to_string(speed),
                    "--udp", "127.0.0.1:" + udpPort, "--seconds", secs},
                   sim, sock, seconds);
        const bool met =
            ours.ok && ours.latency.median <= kMedianGoalMs && ours.latency.p99 <= kP99GoalMs &&
            ours.latency.median <= ref.latency.median && ours.latency.p99 <= ref.latency.p99 &&
            ours.cpuUsPerSample * 10 <= ref.cpuUsPerSample && ours.delivered >= ours.sent;
        std::string note =
            "goal: median <= 0.2 ms, p99 <= 1 ms, no worse than pyserial; CPU <= 1/10 of "
            "pyserial's; no frame lost";
        section.rows.push_back(
            Row{"vexlink stream, " + std::to_string(speed) + " bit/s",
                {ours.latency.median, ours.latency.p99, ours.latency.max, ours.cpuUsPerSample,
                 double(ours.delivered), double(ours.sent), std::string(met ? "met" : "MISSED")},
                note});
        section.rows.push_back(
            Row{"pyserial loop, " + std::to_string(speed) + " bit/s",
                {ref.latency.median, ref.latency.p99, ref.latency.max, ref.cpuUsPerSample,
                 double(ref.delivered), double(ref.sent), std::string("-")},
                ref.ok ? "reference (Debian's python3-serial)" : "reference did not run"});
    }
    close(sock);
    return section;
}

}  // namespace bench
