// Vexlink ports: what "COM1".."COM4" stand for, the serial devices present, the port map, and
// why a port did not open.
//
// Port names. A port is named "COM1" to "COM4" or by an absolute device path. A COM name
// resolves to a device path; the first of these that has an entry for it wins:
//   1. the environment variable VEXLINK_COMn (n = 1..4): its value; an empty value is "no port";
//   2. the user's map, $XDG_CONFIG_HOME/vexlink/ports.conf (~/.config/vexlink/ports.conf when
//      XDG_CONFIG_HOME is unset, empty or not absolute);
//   3. the system map, /etc/vexlink/ports.conf;
//   4. the default: /dev/ttyS0 for COM1 .. /dev/ttyS3 for COM4.
// An absolute path stands for itself. Vexlink::OpenCom, the vexlink tool and Gyrodesk all
// resolve names here; nothing else parses them.
//
// Map files. One mapping a line, blanks around the '=' and at either end ignored:
//     # my tracker's USB adapter
//     COM3 = /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0
//     COM4 =
// "COM4 =" maps COM4 to no port (the lookup stops there). Blank lines and lines whose first
// non-blank character is '#' are ignored. A line that cannot be read (not "COMn = PATH" with
// n 1..4 and PATH absolute or empty) is reported once per process through the message handler
// (Vexlink::SetMessageHandler), with the file's path and the line number, and skipped; a later
// line for the same name wins over an earlier one. A missing or unreadable file is an empty map:
// a map never stops a program.
//
// Test roots. The devices are looked for under /dev and described from /sys. The environment
// variables VEXLINK_DEV_DIR and VEXLINK_SYSFS_DIR, when set, name other roots, and
// VEXLINK_ETC_DIR replaces /etc for the system map. They exist for tests: a folder holding
// ttyUSB0 and serial/by-id/NAME linked to a pseudo-terminal is listed, mapped and opened like a
// real adapter, a small tree holding class/tty/NAME/... stands in for sysfs, and the default
// COM paths become $VEXLINK_DEV_DIR/ttyS0.. so that a test never reaches the machine's own
// serial ports. With VEXLINK_SYSFS_DIR set, the consoles are those its class/tty/console/active
// names; otherwise those of /proc/consoles and /sys/class/tty/console/active.
//
// The system console. A device that is the system console (a serial console of a virtual
// machine, a server or a single-board computer, often /dev/ttyS0) is never opened by the
// library: OpenCom fails on it with PortFault::SystemConsole, so that no command byte reaches
// the console and its line settings stay as they are.
//
// Windows. Windows names its ports itself: "COMn" (n 1..255) stands for \\.\COMn and a name
// that starts with "\\.\" for itself; the environment, the map files and the test roots play
// no part (userPortMapPath and systemPortMapPath are empty there). listSerialDevices gives the
// ports the registry's HKLM\HARDWARE\DEVICEMAP\SERIALCOMM key knows, with path "COMn",
// devicePath \\.\COMn and kernelName the driver's device name; no device is a console, none
// has a stable path or a listed holder. PortError::osError is the Win32 error code.
//
// Threads. Every function may be called from any thread; the last error is kept per thread.
#pragma once

#include <vexlink/Vexlink.h>

#include <string>
#include <string_view>
#include <vector>

namespace vexlink {

// Number of COM names: "COM1" to "COM4".
inline constexpr int kComPortCount = 4;

// 1..4 for "COM1".."COM4" (exactly those spellings), 0 for any other name.
VEXLINK_API int comNumber(std::string_view name);

// ---- Resolving a name ------------------------------------------------------------------------

// Where a resolved name's device path came from.
enum class PortSource {
    Path,         // the name was an absolute path
    Environment,  // VEXLINK_COMn
    UserMap,      // the user's ports.conf
    SystemMap,    // the system's ports.conf
    Default,      // /dev/ttyS0..3
    Invalid,      // the name is neither COM1..COM4 nor an absolute path
};

// "path", "environment", "user map", "system map", "default" or "invalid".
VEXLINK_API const char* toString(PortSource source);

struct ResolvedPort {
    std::string name;  // the name as given
    std::string path;  // the device path; empty when the name stands for no port
    PortSource source = PortSource::Invalid;
    std::string origin;  // where exactly: "VEXLINK_COM3", "/home/ann/.config/vexlink/ports.conf:4",
                         // "default"; empty for a path or an invalid name
};

// Resolves name as described above. Reads the map files on every call (they are small), so a
// change to a map is seen by the next open without restarting anything.
VEXLINK_API ResolvedPort resolvePort(std::string_view name);

// ---- The port map ----------------------------------------------------------------------------

// The user's map file ($XDG_CONFIG_HOME/vexlink/ports.conf or ~/.config/vexlink/ports.conf);
// empty when neither XDG_CONFIG_HOME nor HOME gives a place for it.
VEXLINK_API std::string userPortMapPath();
// The system's map file: /etc/vexlink/ports.conf ($VEXLINK_ETC_DIR/vexlink/ports.conf).
VEXLINK_API std::string systemPortMapPath();

// One mapping of a map file.
struct PortMapEntry {
    int com = 0;       // 1..4
    std::string path;  // empty: no port
    int line = 0;      // line number in the file
};

// The readable mappings of a map file, the last one for each name, in COM order. Lines that
// cannot be read are reported as described above and left out. Empty for a missing file.
VEXLINK_API std::vector<PortMapEntry> readPortMap(const std::string& file);

// Maps "COMn" (com 1..4) to path in the map file (empty path: to no port), replacing the line
// that mapped it before and keeping every other line, comment and blank as it was. The file and
// its folder are made when missing; the file is replaced in one step (written beside it, then
// renamed), so a reader never sees half of it. false with a one-line reason in error when the
// file cannot be written. path is stored as given: checking it is the caller's part.
VEXLINK_API bool setPortMapping(const std::string& file, int com, const std::string& path,
                                std::string& error);
// Removes every mapping of "COMn" from the map file, so that the name falls through to the next
// source. true also when there was none (or no file).
VEXLINK_API bool removePortMapping(const std::string& file, int com, std::string& error);

// ---- The serial devices present --------------------------------------------------------------

struct SerialDevice {
    std::string path;        // the stable path: the /dev/serial/by-id link when it has one,
                             // else the device node (/dev/ttyUSB0)
    std::string devicePath;  // the device node: /dev/ttyUSB0
    std::string kernelName;  // ttyUSB0, ttyACM0, ttyS0
    std::string driver;  // the kernel driver: ftdi_sio, cp210x, cdc_acm, serial8250; may be empty
    // USB devices: ids as four lower-case hex digits, and the descriptor strings; all empty
    // for other devices (and for strings the device does not give).
    std::string vendorId;               // "0403"
    std::string productId;              // "6001"
    std::string manufacturer;           // "FTDI"
    std::string product;                // "FT232R USB UART"
    std::string serialNumber;           // "A1B2C3"
    bool isConsole = false;             // the system console: never opened
    std::vector<std::string> comNames;  // the COM names that resolve to this device ("COM3")
};

// Every serial device present, in order of device node name: each /dev/serial/by-id link
// (USB adapters under names that survive re-plugging), every /dev/ttyUSB* and /dev/ttyACM*, and
// the /dev/ttyS* that have a real UART behind them (sysfs reports a port type other than
// "unknown"; most of the 32 ttyS nodes of a PC have none). Devices the process may not open
// are listed too. Never opens a device.
VEXLINK_API std::vector<SerialDevice> listSerialDevices();

// true when path (a device node or a link to one) is a terminal device, a serial port or a
// pseudo-terminal, as the kernel's list of terminal drivers (/proc/tty/drivers) tells, without
// opening it.
VEXLINK_API bool isSerialDevice(const std::string& path);

// true when path (a device node or a link to one) is the system console.
VEXLINK_API bool isSystemConsole(const std::string& path);

// The /dev/serial/by-id link of the device that path names, or empty when it has none.
VEXLINK_API std::string stableDevicePath(const std::string& path);

// The programs that hold the device open, as "NAME (pid N)", as far as /proc tells (best
// effort: processes of other users are not visible to an unprivileged caller), the one that
// holds the port's lock first. The calling process is left out.
VEXLINK_API std::vector<std::string> portHolders(const std::string& path);

// ---- Why a port did not open -----------------------------------------------------------------

enum class PortFault {
    None,              // no failure recorded
    InvalidName,       // the name is neither COM1..COM4 nor an absolute path
    NoPort,            // the name is mapped to no port (an empty map entry or VEXLINK_COMn)
    NotFound,          // no such device: unplugged, or a mistyped path
    PermissionDenied,  // the user may not open it (not in the 'dialout' group)
    Busy,              // another program holds it
    NotSerial,         // not a serial port (not a character device, or no terminal: /dev/null)
    SystemConsole,     // refused: it is the system console
    Gone,              // the device went away (unplugged while open or being opened)
    SystemError,       // any other failure of the system: see osError
};

struct PortError {
    PortFault fault = PortFault::None;
    int osError = 0;     // the system's error code of the failed call (errno); 0 when none
    std::string name;    // the port name given to the open
    std::string path;    // the device path it resolved to
    std::string source;  // where the path came from, as resolvePort's origin or source
    std::string holder;  // Busy: the holding program, "minicom (pid 4242)", when /proc tells
};

// The failure of the last port open on this thread (Vexlink::OpenCom, and so AutoDetectComPort);
// fault is None after an open that succeeded. A failed identification on a port that opened is
// no port failure: fault None.
VEXLINK_API PortError lastPortError();

// One line naming the cause and the cure, for a user, for example
//   "permission denied on /dev/ttyUSB0: add your user to the 'dialout' group (sudo usermod -aG
//    dialout $USER) and log in again"
//   "/dev/null is not a serial port"
//   "/dev/ttyUSB0 is busy: minicom (pid 4242) holds it"
// Empty for fault None.
VEXLINK_API std::string describePortError(const PortError& error);

}  // namespace vexlink
