// The Win32 calls under the Windows backend, behind types of their own. <windows.h> gives
// HANDLE, DWORD, DCB and the parity codes other meanings than the library's public types, so
// only the System*.cpp files include it; the backend's other files work through this header.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vexlink::platform::win32 {

using SystemHandle = void*;  // a Win32 HANDLE; null for none

// The calling thread's last Win32 error code (GetLastError), and setting it.
std::uint32_t lastError();
void setLastError(std::uint32_t code);
inline constexpr std::uint32_t kErrorFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorAccessDenied = 5;  // ERROR_ACCESS_DENIED: a port in use

// ---- Serial ports (SystemPort.cpp) ------------------------------------------------------------

// The settings of a line that the library reads and changes.
struct LineState {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;    // NOPARITY, ODDPARITY, EVENPARITY
    std::uint8_t stopBits = 0;  // ONESTOPBIT, TWOSTOPBITS
    bool ctsFlow = false;
};

// COMMTIMEOUTS, field for field.
struct Timeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readMultiplier = 0;
    std::uint32_t readConstant = 0;
    std::uint32_t writeMultiplier = 0;
    std::uint32_t writeConstant = 0;
};

// CreateFileA of a device path for reading and writing, share mode 0, synchronous. Only a
// communications device (one that has a line state) is kept open; the line is made raw (see
// makeRaw in SystemPort.cpp). Null on failure, with the last error set (kErrorFileNotFound for
// a device that is no port).
SystemHandle openPort(const std::string& path);
void closeHandle(SystemHandle handle);
bool getLine(SystemHandle port, LineState& line);
// Applies line over the port's present settings; every setting not in LineState stays.
bool setLine(SystemHandle port, const LineState& line);
bool setTimeouts(SystemHandle port, const Timeouts& timeouts);
bool getTimeouts(SystemHandle port, Timeouts& timeouts);
// PurgeComm with the PURGE_ flags, which have the same values in the library.
bool purge(SystemHandle port, std::uint32_t flags);
bool read(SystemHandle port, void* buffer, std::uint32_t n, std::uint32_t& got);
bool write(SystemHandle port, const void* buffer, std::uint32_t n, std::uint32_t& written);
// Bytes the driver still holds for sending (ClearCommError's cbOutQue) and bytes received and
// not yet read (cbInQue); 0 when it cannot tell.
std::uint32_t outputQueued(SystemHandle port);
std::uint32_t inputQueued(SystemHandle port);

// A named object that exists while any process holds a handle to it: the mark of a held port.
// Null with kErrorAccessDenied as last error when it exists already.
SystemHandle claimName(const std::string& name);

// ---- The ports the system knows (SystemRegistry.cpp) ---------------------------------------------

// One entry of HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, where each serial driver enters the ports it
// has made: the driver's device name ("\Device\Serial0", "\Device\VCP0") and the port's name
// ("COM3").
struct KnownPort {
    std::string device;
    std::string name;
};

// Every entry, in order of COM number (names that are no COMn last, by name). Empty when the
// key cannot be read.
std::vector<KnownPort> knownPorts();

// ---- Time (SystemTime.cpp) --------------------------------------------------------------------

// Sleeps about `wait` on a high-resolution waitable timer of the calling thread, or with
// Sleep() rounded up to whole milliseconds where there is none.
void sleepFor(std::chrono::nanoseconds wait);

// ---- User interface (SystemUi.cpp) -------------------------------------------------------------

// MessageBoxA owned by the thread's active window; returns when the user has dismissed it.
int messageBox(const char* text, const char* caption, unsigned flags);

}  // namespace vexlink::platform::win32
