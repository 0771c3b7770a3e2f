#include "TrackerModes.h"

#include <thread>

#include "ComPorts.h"

namespace testsupport {

void chooseFormat(Vexlink& link, korvisor::Simulator& sim, bool ascii, bool checksum,
                  std::chrono::milliseconds timeout) {
    const char* format = ascii ? vexlink::kAsciiFrames : vexlink::kBinaryFrames;
    settled(
        sim, 2,
        [&] {
            link.SetDataMode(format[0]);
            link.ResetFIFO();
            link.SendToPort(format);
            if (checksum) link.CheckSumOn();
            else link.CheckSumOff();
        },
        timeout);
}

void startStream(Vexlink& link, korvisor::Simulator& sim, int rate,
                 std::chrono::milliseconds timeout) {
    settled(
        sim, 1, [&] { link.SetSamplingRate(rate); }, timeout);
    settled(
        sim, 1,
        [&] {
            link.SetTransMode(vexlink::kContinuous[0]);
            link.ResetFIFO();
            link.SendToPort(vexlink::kContinuous);
        },
        timeout);
}

void stopStream(Vexlink& link, korvisor::Simulator& sim, std::chrono::milliseconds timeout) {
    settled(
        sim, 1, [&] { link.SendToPort(vexlink::kUponRequest); }, timeout);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a frame under way ends
    link.ResetFIFO();
    link.SetTransMode(vexlink::kUponRequest[0]);
}

}  // namespace testsupport
