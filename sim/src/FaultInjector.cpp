#include "FaultInjector.h"

#include <iterator>

namespace korvisor {

std::vector<std::uint8_t> FaultInjector::garbage() {
    std::vector<std::uint8_t> out;
    if (!faults_.garbageBetweenFrames) return out;
    for (int i = 0; i < kGarbagePerFrame; ++i) {
        out.push_back(kGarbage[garbageIndex_]);
        garbageIndex_ = (garbageIndex_ + 1) % std::size(kGarbage);
    }
    return out;
}

bool FaultInjector::corruptChecksum() {
    ++checksummedFrames_;
    return faults_.badChecksumEvery > 0 && checksummedFrames_ % faults_.badChecksumEvery == 0;
}

bool FaultInjector::loseByte() {
    ++bytesSent_;
    return faults_.dropByteEvery > 0 && bytesSent_ % faults_.dropByteEvery == 0;
}

}  // namespace korvisor
