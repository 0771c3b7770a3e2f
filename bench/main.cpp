// vexlink-bench: how close the link comes to what the protocol and the wire allow, against
// simulated trackers on pseudo-terminals. Prints one table and writes it as JSON.
//   --quick           a short run that only proves the benchmark works (CI)
//   --json PATH       where the JSON goes (default: bench-results.json)
//   --only SECTION    timing, streaming, latency, console (allocations come with the first two)
//   --iterations N    calls per timed row (default 200)
//   --seconds S       seconds per streaming row (default 10)
//   --console-seconds S  seconds of Continuous + Start in the console (default 10)
//   --gyrodesk PATH   the console program (default: the one built alongside)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/utsname.h>
#include <thread>

#include "Benches.h"

#ifndef BENCH_VEXLINK_PATH
#define BENCH_VEXLINK_PATH ""
#endif
#ifndef BENCH_PYSERIAL_SCRIPT
#define BENCH_PYSERIAL_SCRIPT ""
#endif
#ifndef BENCH_GYRODESK_PATH
#define BENCH_GYRODESK_PATH ""
#endif

namespace {

std::string machineLine(const bench::Settings& s) {
    utsname u{};
    uname(&u);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s %s, %u cores, load average %.2f %.2f %.2f at start, %s run", u.sysname,
                  u.release, std::thread::hardware_concurrency(), load[0], load[1], load[2],
                  s.quick ? "quick" : "full");
    return text;
}

int usage(const char* why) {
    std::fprintf(stderr, "vexlink-bench: %s\n", why);
    std::fprintf(
        stderr,
        "usage: vexlink-bench [--quick] [--json PATH] [--only timing|streaming|latency|console]\n"
        "                     [--iterations N] [--seconds S] [--console-seconds S]"
        " [--gyrodesk PATH]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bench::Settings settings;
    settings.gyrodesk = BENCH_GYRODESK_PATH;
    settings.vexlink = BENCH_VEXLINK_PATH;
    settings.pyserialScript = BENCH_PYSERIAL_SCRIPT;
    std::string json = "bench-results.json", only;
    bool iterationsGiven = false, secondsGiven = false, consoleGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "--quick") settings.quick = true;
        else if (arg == "--json" && (v = value())) json = v;
        else if (arg == "--only" && (v = value())) only = v;
        else if (arg == "--iterations" && (v = value()))
            settings.iterations = std::atoi(v), iterationsGiven = true;
        else if (arg == "--seconds" && (v = value()))
            settings.streamSeconds = std::atof(v), secondsGiven = true;
        else if (arg == "--console-seconds" && (v = value()))
            settings.consoleSeconds = std::atof(v), consoleGiven = true;
        else if (arg == "--gyrodesk" && (v = value())) settings.gyrodesk = v;
        else return usage(("unknown or incomplete argument " + arg).c_str());
    }
    if (settings.quick) {
        if (!iterationsGiven) settings.iterations = 4;
        if (!secondsGiven) settings.streamSeconds = 0.6;
        if (!consoleGiven) settings.consoleSeconds = 2;
    }
    if (settings.iterations < 1 || settings.streamSeconds <= 0 || settings.consoleSeconds <= 0)
        return usage("counts and times must be positive");
    if (!only.empty() && only != "timing" && only != "streaming" && only != "console" &&
        only != "latency")
        return usage(("no section " + only).c_str());

    bench::Report report;
    report.machine = machineLine(settings);
    bench::AllocationTally tally;
    if (only.empty() || only == "timing")
        report.sections.push_back(bench::timingSection(settings, tally));
    if (only.empty() || only == "streaming")
        report.sections.push_back(bench::streamingSection(settings, tally));
    if (tally.readCalls) report.sections.push_back(bench::allocationSection(tally));
    if (only.empty() || only == "latency")
        report.sections.push_back(bench::poseLatencySection(settings));
    if (only.empty() || only == "console")
        report.sections.push_back(bench::consoleSection(settings));

    std::cout << bench::formatText(report) << std::flush;
    std::ofstream out(json);
    out << bench::formatJson(report);
    if (!out) {
        std::fprintf(stderr, "vexlink-bench: cannot write %s\n", json.c_str());
        return 1;
    }
    std::fprintf(stderr, "vexlink-bench: results written to %s\n", json.c_str());
    return 0;
}
