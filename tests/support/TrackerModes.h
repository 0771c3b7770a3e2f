// The tracker's modes set as the console sets them, for the tests and the benchmark: each mode
// letter is sent and stored in the link's mode field, and has reached the simulated tracker on
// return, so that what follows finds the tracker already in its new mode.
#pragma once

#include <korvisor/Simulator.h>
#include <vexlink/Vexlink.h>

#include <chrono>

namespace testsupport {

// Frame format ('E' or 'F') and checksum mode ('M' or 'N').
void chooseFormat(Vexlink& link, korvisor::Simulator& sim, bool ascii, bool checksum,
                  std::chrono::milliseconds timeout);
// The rate byte, then continuous sampling ('H').
void startStream(Vexlink& link, korvisor::Simulator& sim, int rate,
                 std::chrono::milliseconds timeout);
// Upon-request sampling ('G'); the frames already under way are let pass and emptied away.
void stopStream(Vexlink& link, korvisor::Simulator& sim, std::chrono::milliseconds timeout);

}  // namespace testsupport
