// The link: open, identify, detect, switch speed, send, purge and close.
#include <vexlink/Vexlink.h>

#include "Protocol.h"
#include "ReadTiming.h"
#include "platform/CommApi.h"

#include <cstring>

using namespace vexlink;
using namespace vexlink::platform;

namespace {

// Sends the tracker its speed command, then sets the port to `to` bit/s, 8N1. Acts only when
// currentSpeed is exactly `from`.
int switchSpeed(Vexlink& link, int from, int to, const char* command) {
    if (link.currentSpeed != from) return 1;
    link.SendToPort(command);
    link.GetDCB();
    link.dcb.BaudRate = static_cast<DWORD>(to);
    link.dcb.ByteSize = 8;
    link.dcb.Parity = NOPARITY;
    link.dcb.StopBits = ONESTOPBIT;
    // SetCommState applies the speed only once the command byte has left the port.
    if (!SetCommState(link.comHandle, &link.dcb)) {
        link.errMsgBox(protocol::kMsgInitFailed);
        return 0;
    }
    link.currentSpeed = to;
    return 1;
}

}  // namespace

int Vexlink::OpenCom(const char* portName) {
    comHandle = CreateFileA(portName);
    if (comHandle == INVALID_HANDLE_VALUE) return 0;

    COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = timing::kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = timing::kReadPerByteMs;
    timeouts.ReadTotalTimeoutConstant = timing::kReadConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    SetCommTimeouts(comHandle, &timeouts);

    Set9600();
    if (checkForKorvisor()) {
        ifBusy = 1;
        return 1;
    }
    CloseCom(comHandle);
    currentSpeed = 19200;
    return 0;
}

int Vexlink::checkForKorvisor() {
    SendToPort(protocol::kUponRequest);
    Sleep(10);
    ResetFIFO();
    std::memset(dataBuffer, 0, sizeof dataBuffer);
    if (!SendToPort(protocol::kIdentify)) return 0;
    Sleep(15);
    if (!ReadFile(comHandle, dataBuffer, protocol::kIdReplyLength, &bytesRead)) return 0;
    return std::strcmp(reinterpret_cast<const char*>(dataBuffer), protocol::kIdReply) == 0 ? 1 : 0;
}

int Vexlink::AutoDetectComPort() {
    static const char* const kPorts[] = {"COM1", "COM2", "COM3", "COM4"};
    if (ifBusy == 1) {
        errMsgBox(protocol::kMsgBusy);
        return 0;
    }
    for (int n = 1; n <= 4; ++n) {
        if (OpenCom(kPorts[n - 1]) == 1) {
            portId = n;
            return n;
        }
    }
    errMsgBox(protocol::kMsgNotFound);
    return 0;
}

int Vexlink::CloseCom(HANDLE port) {
    WriteFile(port, protocol::kReset, 1, &bytesRead);
    if (!CloseHandle(port)) return 0;
    ifBusy = 0;
    portId = 0;
    return 1;
}

void Vexlink::CloseCom() {
    if (portId == 0) return;
    if (!CloseHandle(comHandle)) errMsgBox(protocol::kMsgCantClose);
}

int Vexlink::Set9600() { return switchSpeed(*this, 19200, 9600, protocol::kSpeed9600); }

int Vexlink::Set19200() { return switchSpeed(*this, 9600, 19200, protocol::kSpeed19200); }

int Vexlink::GetDCB() { return GetCommState(comHandle, &dcb) ? 1 : 0; }

int Vexlink::SendToPort(const char* text) {
    if (text == nullptr) return 0;
    return WriteFile(comHandle, text, 1, &bytesRead) ? 1 : 0;
}

void Vexlink::ResetFIFO() {
    PurgeComm(comHandle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}
