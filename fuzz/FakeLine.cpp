// The fake layer's calls: see FakeLine.h.
#include "FakeLine.h"

#include <cstring>

#include "platform/Clock.h"
#include "platform/CommApi.h"
#include "platform/LastError.h"
#include "platform/PortPresence.h"

namespace {

const std::uint8_t* input = nullptr;
std::size_t inputLeft = 0;

bool known(HANDLE port) { return port == fakeline::kPort; }

}  // namespace

namespace fakeline {

void serve(const std::uint8_t* data, std::size_t size) {
    input = data;
    inputLeft = size;
}

std::size_t remaining() { return inputLeft; }

}  // namespace fakeline

namespace vexlink::platform {

HANDLE CreateFileA(const char*) { return fakeline::kPort; }
bool CloseHandle(HANDLE port) { return known(port); }
bool GetCommState(HANDLE port, DCB* dcb) {
    if (!known(port)) return false;
    *dcb = DCB{};
    dcb->BaudRate = 9600;
    return true;
}
bool SetCommState(HANDLE port, const DCB*) { return known(port); }
bool SetCommTimeouts(HANDLE port, const COMMTIMEOUTS*) { return known(port); }
bool PurgeComm(HANDLE port, DWORD) { return known(port); }

bool ReadFile(HANDLE port, void* buffer, DWORD n, DWORD* got) {
    *got = 0;
    if (!known(port) || inputLeft == 0) return false;
    const std::size_t take = n < inputLeft ? n : inputLeft;
    std::memcpy(buffer, input, take);
    input += take;
    inputLeft -= take;
    *got = static_cast<DWORD>(take);
    return true;
}

bool WriteFile(HANDLE port, const void*, DWORD n, DWORD* written) {
    *written = known(port) ? n : 0;
    return known(port);
}

bool PortHasGone(HANDLE) { return false; }
int lastError() { return 0; }  // the fake line never fails

void Sleep(DWORD) {}
void SleepUntil(Clock::time_point) {}

int MessageBoxA(const char*, const char*, unsigned) { return 1; }
void SetMessageHandler(void (*)(const char*, void*), void*) {}

}  // namespace vexlink::platform
