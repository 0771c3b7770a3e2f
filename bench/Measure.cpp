#include "Measure.h"

#include <thread>

namespace bench {

namespace {
char kAscii[] = "E";
char kBinary[] = "F";
char kUponRequest[] = "G";
char kContinuous[] = "H";
}  // namespace

void chooseFormat(Vexlink& link, korvisor::Simulator& sim, bool ascii, bool checksum) {
    settled(sim, 2, [&] {
        link.SetDataMode(ascii ? 'E' : 'F');
        link.ResetFIFO();
        link.SendToPort(ascii ? kAscii : kBinary);
        if (checksum) link.CheckSumOn();
        else link.CheckSumOff();
    });
}

void startStream(Vexlink& link, korvisor::Simulator& sim, int rate) {
    settled(sim, 1, [&] { link.SetSamplingRate(rate); });
    settled(sim, 1, [&] {
        link.SetTransMode('H');
        link.ResetFIFO();
        link.SendToPort(kContinuous);
    });
}

void stopStream(Vexlink& link) {
    link.SendToPort(kUponRequest);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    link.ResetFIFO();
    link.SetTransMode('G');
}

}  // namespace bench
