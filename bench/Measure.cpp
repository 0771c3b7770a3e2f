#include "Measure.h"

#include <TrackerModes.h>

namespace bench {

namespace {
constexpr std::chrono::milliseconds kSettleLimit(500);
}  // namespace

void chooseFormat(Vexlink& link, korvisor::Simulator& sim, bool ascii, bool checksum) {
    testsupport::chooseFormat(link, sim, ascii, checksum, kSettleLimit);
}

void startStream(Vexlink& link, korvisor::Simulator& sim, int rate) {
    testsupport::startStream(link, sim, rate, kSettleLimit);
}

void stopStream(Vexlink& link, korvisor::Simulator& sim) {
    testsupport::stopStream(link, sim, kSettleLimit);
}

}  // namespace bench
