// The tracker's mode, filter and maintenance commands: each is one byte written on its own.
#include <vexlink/Vexlink.h>

#include <cstring>

#include "Protocol.h"
#include "platform/CommApi.h"

namespace protocol = vexlink::protocol;
namespace platform = vexlink::platform;

namespace {

inline constexpr DWORD kResetPauseMs = 10;  // between the first two reset bytes

// rate / 5 (truncated toward zero) + 127, kept to its low 8 bits: 5 -> 0x80 ... 75 -> 0x8E.
// Unsigned arithmetic wraps where a signed sum could overflow for extreme rates.
char rateByte(int rate) {
    const unsigned sum = static_cast<unsigned>(rate / 5) + 127u;
    return static_cast<char>(static_cast<unsigned char>(sum & 0xFFu));
}

}  // namespace

void Vexlink::SetSamplingRate(int rate) {
    samplingRate = rate;
    char command[] = {rateByte(rate), '\0'};
    SendToPort(command);
}

int Vexlink::HardReset() {
    ResetFIFO();
    SendToPort(protocol::kReset);
    platform::Sleep(kResetPauseMs);
    ResetFIFO();
    SendToPort(protocol::kReset);
    Set9600();
    SendToPort(protocol::kReset);
    checkStatus = 0;
    return 1;
}

int Vexlink::SetHysteresisOn() { return SendToPort(protocol::kHysteresisOn); }

int Vexlink::SetHysteresisOff() { return SendToPort(protocol::kHysteresisOff); }

// A failed write leaves checkStatus at the mode the tracker is believed to have kept.
int Vexlink::CheckSumOn() {
    const int written = SendToPort(protocol::kChecksumOn);
    checkStatus = written ? 1 : 0;
    return written ? 1 : 0;
}

int Vexlink::CheckSumOff() {
    const int written = SendToPort(protocol::kChecksumOff);
    checkStatus = written ? 0 : 1;
    return written ? 1 : 0;
}

// The reply is read at once, with no pause: the read's own time-outs let it arrive. Bytes
// beyond the fifth stay queued.
char* Vexlink::Get_Version() {
    std::memset(dataBuffer, 0, sizeof dataBuffer);
    if (!SendToPort(protocol::kVersionRequest)) return nullptr;
    DWORD got = 0;
    const bool ok = platform::ReadFile(comHandle, dataBuffer, protocol::kVersionLength, &got);
    bytesRead = got;
    if (!ok) return nullptr;
    // dataBuffer is longer than any reply and was zeroed, so the text is terminated.
    std::memcpy(versionText, dataBuffer, std::strlen(reinterpret_cast<char*>(dataBuffer)) + 1);
    return versionText;
}
