// The Vexlink object itself: construction, copying and the warning box.
#include <vexlink/Vexlink.h>

#include "Protocol.h"
#include "platform/CommApi.h"
#include "platform/LastError.h"

#include <cstdlib>
#include <cstring>

using namespace vexlink;

// Fields without a default of their own start at zero or empty, so that nothing reads an
// indeterminate value (the accessors and copy assignment hand every field on).
Vexlink::Vexlink()
    : portId(0),
      samplingRate(std::atoi(protocol::kDefaultRate)),
      checkByte(0),
      currentSpeed(19200),
      pitch(0),
      yaw(0),
      roll(0),
      dataMode('F'),
      transMode('G'),
      versionText{},
      dataBuffer{},
      ifBusy(0),
      checkStatus(0),
      dcb{},
      comHandle(INVALID_HANDLE_VALUE),
      tempComHandle(INVALID_HANDLE_VALUE),
      bytesRead(0) {}

// The owner closes the port; destroying the object leaves it as it is.
Vexlink::~Vexlink() = default;

Vexlink& Vexlink::operator=(const Vexlink& other) = default;

void Vexlink::errMsgBox(const char* text) {
    platform::MessageBoxA(text, nullptr, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void Vexlink::SetMessageHandler(MessageHandler handler, void* context) {
    platform::SetMessageHandler(handler, context);
}

int Vexlink::GetLastError() { return platform::lastError(); }
