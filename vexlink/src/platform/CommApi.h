// The operating-system layer under Vexlink: the serial-port, pause and message-box calls that
// the link's members are written against, named after the Windows calls they stand in for.
// This folder is the only place in the library that talks to the operating system.
#pragma once

#include <vexlink/SerialTypes.h>

namespace vexlink::platform {

// Read time-outs in milliseconds, with the meaning of a Windows COMMTIMEOUTS record: a read
// of n bytes ends after n bytes, after more than ReadIntervalTimeout between two bytes, or
// after ReadTotalTimeoutMultiplier * n + ReadTotalTimeoutConstant in all. Zero write
// time-outs mean "no time-out of the caller's": writes are still bounded by the layer.
struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout = 0;
    DWORD ReadTotalTimeoutMultiplier = 0;
    DWORD ReadTotalTimeoutConstant = 0;
    DWORD WriteTotalTimeoutMultiplier = 0;
    DWORD WriteTotalTimeoutConstant = 0;
};

inline constexpr DWORD PURGE_TXABORT = 0x01;
inline constexpr DWORD PURGE_RXABORT = 0x02;
inline constexpr DWORD PURGE_TXCLEAR = 0x04;
inline constexpr DWORD PURGE_RXCLEAR = 0x08;

// A read on a port whose total time-outs are both zero still ends after this many milliseconds.
inline constexpr DWORD kReadLimitMs = 1000;

inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;

// Opens the port named "COM1".."COM4" (resolved as <vexlink/Ports.h> describes) or an absolute
// path, exclusively, for reading and writing, with a raw line, on a descriptor above 2 that is
// closed on exec. Only terminal devices open, and never the system console. INVALID_HANDLE_VALUE
// on failure; lastPortError then tells why, and GetLastError gives the system's code.
HANDLE CreateFileA(const char* portName);
// Closes the port after at most kCloseDrainLimitMs of waiting for unsent output, putting back
// the line settings it had when it was opened; the handle is invalid from then on. false only
// for a handle that names no open port (a device that has gone still closes: its descriptor is
// released).
bool CloseHandle(HANDLE port);
bool GetCommState(HANDLE port, DCB* dcb);
// Applies speed, byte size, parity, stop bits and hardware flow control once the output has
// drained (waiting at most kWriteHoldLimitMs); every other setting stays as the port has it.
// false for values the port cannot take, and when the kernel kept any of them unchanged.
bool SetCommState(HANDLE port, const DCB* dcb);
bool SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts);
// Empties the input queue (RX flags) and discards output still queued (TX flags); bytes that
// have already left the port are not recalled.
bool PurgeComm(HANDLE port, DWORD flags);
// Reads up to n bytes under the port's time-outs; a short count is success. false for an
// invalid handle or a device that has gone (at once, with what arrived before in *got).
bool ReadFile(HANDLE port, void* buffer, DWORD n, DWORD* got);
// Writes n bytes and waits for them to leave the port; fails when the line cannot take them
// within kWriteHoldLimitMs (what is still held then is discarded) or the device has gone.
bool WriteFile(HANDLE port, const void* buffer, DWORD n, DWORD* written);

// Pauses for ms milliseconds of the monotonic clock.
void Sleep(DWORD ms);

// Shows text through the installed message handler, or as one line on standard error.
int MessageBoxA(const char* text, const char* caption, unsigned flags);
void SetMessageHandler(void (*handler)(const char*, void*), void* context);

}  // namespace vexlink::platform
