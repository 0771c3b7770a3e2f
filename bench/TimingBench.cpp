// Timing fidelity: each member's duration against its floor. The overhead (measured minus
// floor) is what the implementation and the host add; the goal is under 0.5 ms at the median
// and under 2 ms at the 99th percentile.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AllocationCounter.h"
#include "Benches.h"
#include "Floors.h"
#include "Measure.h"
#include "Stats.h"

namespace bench {

using testsupport::CountAllocations;

namespace {

constexpr double kMedianGoalMs = 0.5;
constexpr double kP99GoalMs = 2.0;
constexpr int kTrackerPort = 3;
const char* const kVersion = "1.02";  // the simulated tracker's default version text

struct Trial {
    double ms;
    bool good;  // the call did what it should (result, and angles where it reads a sample)
};

Row timedRow(const std::string& name, double floorMs, int iterations,
             const std::function<Trial()>& trial, std::string note = {}) {
    std::vector<double> times;
    int bad = 0;
    for (int i = 0; i < iterations; ++i) {
        const Trial t = trial();
        times.push_back(t.ms);
        if (!t.good) ++bad;
    }
    const Summary s = summarize(times);
    const double overMedian = s.median - floorMs, overP99 = s.p99 - floorMs;
    const bool met = overMedian < kMedianGoalMs && overP99 < kP99GoalMs && bad == 0;
    if (!met && note.empty())
        note =
            bad ? std::to_string(bad) + " call(s) gave a wrong result" : "overhead above the goal";
    return Row{name,
               {double(s.count), s.median, s.p99, floorMs, s.median / floorMs, overMedian, overP99,
                double(bad), std::string(met ? "met" : "MISSED")},
               note};
}

// Opens the simulated tracker the way the console does after detection.
void openTracker(Vexlink& link) {
    const std::string name = "COM" + std::to_string(kTrackerPort);
    link.OpenCom(name.c_str());
    link.SetPortId(kTrackerPort);
}

void closeLink(Vexlink& link) { link.CloseCom(link.GetComHandle()); }

void openRows(Section& section, const Settings& settings, AllocationTally& tally) {
    const int n = std::max(1, settings.iterations / 2);  // each costs tens of milliseconds
    Ports ports;
    ports.silent(1);
    ports.silent(2);
    ports.tracker(kTrackerPort);

    auto counted = [&](const std::function<int(Vexlink&)>& call, int expected) {
        return [&, call, expected] {
            Vexlink link;
            const auto start = Clock::now();
            int result;
            long allocations;
            {
                CountAllocations count;
                result = call(link);
                allocations = count.count();
            }
            const double ms = msSince(start);
            tally.otherCalls++;
            tally.otherAllocations += allocations;
            if (link.CheckIfBusy()) closeLink(link);
            return Trial{ms, result == expected};
        };
    };

    section.rows.push_back(timedRow("OpenCom, silent port", floors::openSilent(), n,
                                    counted([](Vexlink& l) { return l.OpenCom("COM1"); }, 0)));
    section.rows.push_back(timedRow("OpenCom, tracker", floors::openTracker(9600), n,
                                    counted([](Vexlink& l) { return l.OpenCom("COM3"); }, 1)));
    section.rows.push_back(
        timedRow("AutoDetectComPort, tracker on COM3", floors::autoDetect(2, 9600), n,
                 counted([](Vexlink& l) { return l.AutoDetectComPort(); }, kTrackerPort),
                 "COM1 and COM2 silent, COM3 the tracker, COM4 missing (never probed)"));
}

void commandRows(Section& section, const Settings& settings, AllocationTally& tally) {
    Ports ports;
    ports.tracker(kTrackerPort);
    Vexlink link;
    openTracker(link);

    const int versionLength = static_cast<int>(std::strlen(kVersion));
    section.rows.push_back(
        timedRow("Get_Version (" + std::to_string(versionLength) + "-byte reply)",
                 floors::version(versionLength, 9600), settings.iterations, [&] {
                     const auto start = Clock::now();
                     CountAllocations count;
                     const char* text = link.Get_Version();
                     const double ms = msSince(start);
                     tally.otherCalls++;
                     tally.otherAllocations += count.count();
                     return Trial{ms, text && std::strcmp(text, kVersion) == 0};
                 }));
    section.rows.push_back(
        timedRow("HardReset at 9600", floors::hardReset(), settings.iterations, [&] {
            const auto start = Clock::now();
            CountAllocations count;
            const int result = link.HardReset();
            const double ms = msSince(start);
            tally.otherCalls++;
            tally.otherAllocations += count.count();
            return Trial{ms, result == 1};
        }));
    closeLink(link);
}

void requestRows(Section& section, const Settings& settings, AllocationTally& tally) {
    struct Mode {
        const char* name;
        bool ascii, checksum;
    };
    const Mode modes[] = {
        {"binary", false, false}, {"binary+checksum", false, true}, {"ASCII", true, false}};
    Ports ports;
    korvisor::Simulator& sim = ports.tracker(kTrackerPort);
    for (int bps : {9600, 19200}) {
        for (const Mode& mode : modes) {
            Vexlink link;
            openTracker(link);
            if (bps == 19200) settled(sim, 1, [&] { link.Set19200(); });
            chooseFormat(link, sim, mode.ascii, mode.checksum);
            for (int warm = 0; warm < 3; ++warm) link.ReadFromPort();

            const std::string name =
                "ReadFromPort request, " + std::string(mode.name) + ", " + std::to_string(bps);
            section.rows.push_back(timedRow(
                name, floors::request(mode.ascii, mode.checksum, bps), settings.iterations, [&] {
                    const auto start = Clock::now();
                    int result;
                    {
                        CountAllocations count;
                        result = link.ReadFromPort();
                        tally.readAllocations += count.count();
                    }
                    const double ms = msSince(start);
                    tally.readCalls++;
                    return Trial{ms, result == 1 && holdsBenchPose(link)};
                }));
            link.HardReset();
            closeLink(link);
        }
    }
}

}  // namespace

Section timingSection(const Settings& settings, AllocationTally& tally) {
    Section section{"Timing fidelity (ms)",
                    {"n", "median", "p99", "floor", "ratio", "over med", "over p99", "bad", "goal"},
                    {0, 3, 3, 3, 3, 3, 3, 0, 0},
                    {}};
    openRows(section, settings, tally);
    commandRows(section, settings, tally);
    requestRows(section, settings, tally);
    return section;
}

}  // namespace bench
