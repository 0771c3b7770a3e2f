// The console: the real program, on Qt's offscreen platform, against a simulated tracker on
// COM3 (the other COM names point nowhere). A probe plugin loaded into it reports when the
// main window is first shown, then plays the user (rate 75, Continuous, Start) and counts the
// samples shown; the process's peak resident memory comes from its rusage at the end. A second
// streaming run starts the program with --plot, the live plot open beside the dialog.
#include <cmath>
#include <limits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <korvisor/FrameCodec.h>

#include "Benches.h"
#include "Floors.h"
#include "Measure.h"
#include "Stats.h"
#include "StreamModel.h"

#ifndef BENCH_PROBE_DIR
#define BENCH_PROBE_DIR ""
#endif

extern char** environ;

namespace bench {

namespace {

constexpr int kProbeFd = 100;  // where the console's probe writes its lines
constexpr int kRate = 75;
constexpr double kTimerPeriodMs = 13;
constexpr double kCpuGoalPercent = 20;     // "a small fraction of one core"
constexpr double kPlotCpuGoalPercent = 5;  // streaming with the live plot open
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Run {
    double shownMs = kNaN;  // from the spawn to the main window's first exposure
    std::string rate;
    long ticks = 0, good = 0;
    double seconds = 0, cpuMs = 0;
    bool plotOpen = false;
    long plotPaints = 0;
    long peakRssKb = 0;
    std::string error;
};

std::string fmt(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string portOutputOf(const korvisor::Pose& pose) {
    std::string text;
    for (std::uint8_t b : korvisor::encodeFrame(pose, {'F', true, false})) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%X", b);
        text += hex;
    }
    return text;
}

// Reads one line from fd, waiting until deadline; empty on time-out or end.
std::string readLine(int fd, std::string& pending, Clock::time_point deadline) {
    for (;;) {
        const auto nl = pending.find('\n');
        if (nl != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return {};
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return {};
        pending.append(buffer, static_cast<std::size_t>(n));
    }
}

Run runConsole(const Settings& settings, bool stream, bool plot = false) {
    Run run;
    Ports ports;
    ports.tracker(3);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("QT_QPA_", 0) == 0 || var.rfind("QT_PLUGIN_PATH=", 0) == 0 ||
            var.rfind("BENCH_PROBE", 0) == 0)
            continue;
        env.push_back(var);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back(std::string("QT_PLUGIN_PATH=") + BENCH_PROBE_DIR);
    env.push_back("QT_QPA_GENERIC_PLUGINS=benchprobe");
    env.push_back("BENCH_PROBE_FD=" + std::to_string(kProbeFd));
    env.push_back("BENCH_PROBE_SECONDS=" + std::to_string(settings.consoleSeconds));
    env.push_back("BENCH_PROBE_EXPECT=" + portOutputOf(benchPose()));
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        run.error = "no pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kProbeFd);
    const int devnull = open("/dev/null", O_RDWR | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, devnull, 1);
    posix_spawn_file_actions_adddup2(&actions, devnull, 2);
    std::string program = settings.gyrodesk;
    std::string plotOption = "--plot";
    char* argv[] = {program.data(), plot ? plotOption.data() : nullptr, nullptr};
    pid_t pid = -1;
    const auto start = Clock::now();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    close(devnull);
    if (spawned != 0) {
        close(fds[0]);
        run.error = "cannot start " + program;
        return run;
    }

    std::string pending;
    const auto shownBy = start + std::chrono::seconds(20);
    const auto doneBy = shownBy + std::chrono::milliseconds(
                                      static_cast<long>(settings.consoleSeconds * 1000) + 10000);
    for (std::string line;
         !(line = readLine(fds[0], pending, std::isnan(run.shownMs) ? shownBy : doneBy)).empty();) {
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (word == "shown") {
            long long ns = 0;
            in >> ns;
            run.shownMs =
                ns / 1e6 -
                std::chrono::duration<double, std::milli>(start.time_since_epoch()).count();
            if (!stream) break;
        } else if (word == "rate") {
            in >> run.rate;
        } else if (word == "result") {
            std::string key;
            int plotOpen = 0;
            in >> key >> run.ticks >> key >> run.good >> key >> run.seconds >> key >> run.cpuMs >>
                key >> plotOpen >> key >> run.plotPaints;
            run.plotOpen = plotOpen == 1;
            break;
        } else if (word == "error") {
            run.error = line;
            break;
        }
    }
    close(fds[0]);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakRssKb = usage.ru_maxrss;
    if (run.error.empty() && std::isnan(run.shownMs)) run.error = "the main window was never shown";
    if (run.error.empty() && stream && run.ticks == 0) run.error = "no sampling ticks counted";
    if (run.error.empty() && plot && !run.plotOpen) run.error = "the live plot was not open";
    return run;
}

}  // namespace

Section consoleSection(const Settings& settings) {
    Section section{"Console (the program, offscreen, tracker on COM3)",
                    {"measured", "floor/best", "ratio", "unit", "goal"},
                    {1, 1, 3, 0, 0},
                    {}};
    if (settings.gyrodesk.empty() || std::string(BENCH_PROBE_DIR).empty()) {
        section.rows.push_back(Row{"(skipped)", {}, "the console was not built"});
        return section;
    }

    // Start-up: the link's part is detection (COM1, COM2, COM4 missing) and the version.
    std::vector<double> shown;
    std::string error;
    const int launches = settings.quick ? 1 : 5;
    for (int i = 0; i < launches; ++i) {
        const Run run = runConsole(settings, false);
        if (!run.error.empty()) error = run.error;
        else shown.push_back(run.shownMs);
    }
    const double linkFloor = floors::openTracker(9600) + floors::version(4, 9600);
    const Summary startup = summarize(shown);
    section.rows.push_back(Row{
        "start to dialog shown, tracker found (median)",
        {shown.empty() ? kNaN : startup.median, linkFloor,
         shown.empty() ? kNaN : startup.median / linkFloor, std::string("ms"), std::string("-")},
        error.empty() ? "floor: the link's detection and version query only; "
                        "process and window start-up have none"
                      : error});

    const Run run = runConsole(settings, true);
    const double shownPerSecond = run.seconds > 0 ? run.good / run.seconds : kNaN;
    const double ticksPerSecond = run.seconds > 0 ? run.ticks / run.seconds : kNaN;
    const double best = bestStream({kRate, false, false, 9600, kTimerPeriodMs}).readsPerSecond;
    const double cpuPercent = run.seconds > 0 ? 100 * run.cpuMs / (run.seconds * 1000) : kNaN;
    std::string note = run.error;
    if (note.empty() && run.rate != "75")
        note = "the rate field could not be set to 75 (" + run.rate + ")";
    section.rows.push_back(Row{"samples shown per second, Continuous + Start, rate 75",
                               {shownPerSecond, best, shownPerSecond / best, std::string("1/s"),
                                std::string(shownPerSecond >= 0.95 * best ? "met" : "MISSED")},
                               note});
    section.rows.push_back(
        Row{"sampling timer ticks per second",
            {ticksPerSecond, 1000 / kTimerPeriodMs, ticksPerSecond * kTimerPeriodMs / 1000,
             std::string("1/s"), std::string("-")},
            {}});
    section.rows.push_back(
        Row{"console CPU while streaming",
            {cpuPercent, kCpuGoalPercent, cpuPercent / kCpuGoalPercent, std::string("% of a core"),
             std::string(cpuPercent < kCpuGoalPercent ? "met" : "MISSED")},
            "goal: under 20% of one core, no busy waiting"});

    // The same with the live plot open: the console's whole cost, plot painting included.
    const Run plotted = runConsole(settings, true, true);
    const double plotCpuPercent =
        plotted.seconds > 0 ? 100 * plotted.cpuMs / (plotted.seconds * 1000) : kNaN;
    const double plotShown = plotted.seconds > 0 ? plotted.good / plotted.seconds : kNaN;
    section.rows.push_back(Row{
        "console CPU while streaming, live plot open",
        {plotCpuPercent, kPlotCpuGoalPercent, plotCpuPercent / kPlotCpuGoalPercent,
         std::string("% of a core"),
         std::string(plotCpuPercent < kPlotCpuGoalPercent ? "met" : "MISSED")},
        plotted.error.empty()
            ? "goal: under 5% of one core at rate 75; " + fmt(plotShown, 1) +
                  " samples shown/s, plot repainted " +
                  fmt(plotted.seconds > 0 ? plotted.plotPaints / plotted.seconds : kNaN, 1) + "/s"
            : plotted.error});
    section.rows.push_back(
        Row{"peak resident memory",
            {run.peakRssKb / 1024.0, kNaN, kNaN, std::string("MB"), std::string("-")},
            {}});
    return section;
}

}  // namespace bench
