// Streaming: good samples per second that back-to-back ReadFromPort calls deliver in
// continuous mode, against the tracker's own frame rate and the best the read algorithm
// allows on this line (StreamModel), with the CPU time each sample costs the caller.
#include <string>
#include <thread>

#include "AllocationCounter.h"
#include "Benches.h"
#include "Measure.h"
#include "StreamModel.h"

namespace bench {

using testsupport::CountAllocations;

namespace {

constexpr double kRatioGoal = 0.95;

}  // namespace

Section streamingSection(const Settings& settings, AllocationTally& tally) {
    Section section{
        "Streaming, continuous mode at 9600 bit/s",
        {"tracker/s", "best/s", "measured/s", "ratio", "failed", "CPU us/sample", "CPU %", "goal"},
        {1, 1, 1, 3, 0, 1, 2, 0},
        {}};
    struct Mode {
        const char* name;
        bool ascii, checksum;
    };
    const Mode modes[] = {
        {"binary", false, false}, {"binary+checksum", false, true}, {"ASCII", true, false}};

    Ports ports;
    korvisor::Simulator& sim = ports.tracker(3);
    for (int rate : {5, 40, 75}) {
        for (const Mode& mode : modes) {
            Vexlink link;
            link.OpenCom("COM3");
            link.SetPortId(3);
            chooseFormat(link, sim, mode.ascii, mode.checksum);
            startStream(link, sim, rate);
            link.ReadFromPort();  // the stream is running

            long good = 0, failed = 0;
            const double cpuStart = threadCpuMs();
            const auto start = Clock::now();
            double elapsed = 0;
            while ((elapsed = msSince(start)) < settings.streamSeconds * 1000) {
                int result;
                {
                    CountAllocations count;
                    result = link.ReadFromPort();
                    tally.readAllocations += count.count();
                }
                tally.readCalls++;
                if (result == 1 && holdsBenchPose(link)) ++good;
                else ++failed;
            }
            const double cpu = threadCpuMs() - cpuStart;
            stopStream(link, sim);
            link.HardReset();
            link.CloseCom(link.GetComHandle());

            const StreamBest best = bestStream({rate, mode.ascii, mode.checksum, 9600});
            const double measured = good / (elapsed / 1000);
            const double ratio = measured / best.readsPerSecond;
            const bool met = ratio >= kRatioGoal && failed == 0;
            std::string note;
            if (!met)
                note = failed ? std::to_string(failed) + " read(s) without a good sample"
                              : "fewer samples than the read algorithm allows";
            section.rows.push_back(Row{std::string(mode.name) + ", rate " + std::to_string(rate),
                                       {best.trackerFramesPerSecond, best.readsPerSecond, measured,
                                        ratio, double(failed), good ? cpu * 1000 / good : 0.0,
                                        100 * cpu / elapsed, std::string(met ? "met" : "MISSED")},
                                       note});
        }
    }
    return section;
}

Section allocationSection(const AllocationTally& tally) {
    Section section{"Allocations (operator new, calling thread)",
                    {"calls", "allocations", "per call", "goal"},
                    {0, 0, 3, 0},
                    {}};
    if (!CountAllocations::Available()) {
        section.rows.push_back(Row{"not counted",
                                   {0.0, 0.0, 0.0, std::string("-")},
                                   "a sanitizer build keeps the sanitizer's own operator new"});
        return section;
    }
    auto perCall = [](long a, long c) { return c ? double(a) / c : 0.0; };
    section.rows.push_back(Row{"ReadFromPort, every mode",
                               {double(tally.readCalls), double(tally.readAllocations),
                                perCall(tally.readAllocations, tally.readCalls),
                                std::string(tally.readAllocations == 0 ? "met" : "MISSED")},
                               {}});
    section.rows.push_back(
        Row{"OpenCom, AutoDetectComPort, Get_Version, HardReset",
            {double(tally.otherCalls), double(tally.otherAllocations),
             perCall(tally.otherAllocations, tally.otherCalls), std::string("-")},
            "no goal: not on the read path"});
    return section;
}

}  // namespace bench
