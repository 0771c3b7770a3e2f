// The benchmark's sections; each runs its own simulated ports and returns its table.
#pragma once

#include <string>

#include "Report.h"

namespace bench {

struct Settings {
    bool quick = false;          // CI's short mode: proves the benchmark runs, nothing more
    int iterations = 200;        // per timed row
    double streamSeconds = 10;   // per streaming row
    double consoleSeconds = 10;  // of Continuous + Start in the console
    std::string gyrodesk;        // the console program; empty: its rows are skipped
    std::string simulator;       // the korvisor-sim program, for the console's run
    std::string vexlink;         // the vexlink program, for the pose-latency rows
    std::string pyserialScript;  // the pyserial loop they are measured against
};

// Allocations counted on the read path, shared by the sections that call ReadFromPort.
struct AllocationTally {
    long readCalls = 0;
    long readAllocations = 0;
    long otherCalls = 0;
    long otherAllocations = 0;
};

Section timingSection(const Settings& settings, AllocationTally& tally);
Section streamingSection(const Settings& settings, AllocationTally& tally);
Section allocationSection(const AllocationTally& tally);
Section consoleSection(const Settings& settings);
Section poseLatencySection(const Settings& settings);

}  // namespace bench
