// Vexlink: the serial link to a Korvisor orientation tracker.
//
// One object owns the RS-232 link to one tracker: it finds the tracker on COM1 to COM4,
// identifies it, sets line speed, frame format, checksum, sampling mode, filters and rate,
// and reads samples, decoded into whole degrees of pitch, yaw and roll.
//
// Ports. "COM1" to "COM4" resolve through the environment (VEXLINK_COMn), the user's and the
// system's port map, and the default /dev/ttyS0 to /dev/ttyS3, as <vexlink/Ports.h> describes;
// an absolute path (for example a USB adapter's /dev/serial/by-id/... link) names that device.
// Only serial ports (terminal devices) open, and never the system console. The descriptor is
// above 2 (a port never takes the place of standard input, output or error) and close-on-exec.
//
// Exclusive access, as far as Linux gives it: the port is locked (flock) and marked exclusive
// (TIOCEXCL). The lock keeps out every program that asks for it, in this process or another,
// root included, so a second open through this library always fails. TIOCEXCL makes the
// kernel refuse any further open of the device by a program without CAP_SYS_ADMIN, locking or
// not. Not kept out: a program running as root that opens the device without asking for the
// lock, and a program that already had it open before (a getty, a modem manager); such a
// program reads and writes the same line. Lock files in /var/lock are neither made nor read.
//
// The line is raw (no echo, no translation of any byte, no XON/XOFF, which would swallow bytes
// of binary frames); speed, byte size, parity, stop bits, RTS/CTS flow control and the modem
// lines stay as the port had them until Set9600 or Set19200 changes the first four. A speed
// change waits for the output to drain. Closing puts back every line setting the port had when
// it was opened.
//
// Errors. Why the last open failed, with the system's error code, is kept per thread: see
// Vexlink::GetLastError here and lastPortError in <vexlink/Ports.h>.
//
// On Windows, port names are the system's own: "COM1" to "COM4" and any "COMn" (opened as
// "\\.\COMn", which numbers above 9 need), or a device path that starts with "\\.\". Only
// communications devices open, with no sharing; the VEXLINK_COMn variables play no part. A
// second open of a port held in this process or any other fails, also where the driver itself
// would allow it. HANDLE, DWORD and DCB are the library's own types there too (not those of
// <windows.h>, which a file that includes this header cannot include as well).
//
// Results. Members return 1 for success and 0 for failure unless stated otherwise, and never
// throw. Hard failures are also reported as a warning text through the message handler
// (SetMessageHandler); with none installed the text goes to standard error as one line (on
// Windows: a modal warning box, owned by the thread's active window).
//
// Timing. Every member runs on the caller's thread and blocks it:
//   - a read of n bytes returns when n bytes have come, when more than 5 ms pass between two
//     bytes, or after 5*n + 5 ms in all; a short count is success. A read on a device that
//     has gone away (an unplugged adapter) returns at once with what it has.
//   - a one-byte write returns once the byte has left the port; one that the line cannot take
//     (held back by flow control) fails after kWriteHoldLimitMs instead of blocking, and the
//     byte is discarded. Closing waits at most kCloseDrainLimitMs for unsent output.
//   - the pauses stated with each member, measured with a monotonic clock.
//   - ReadFromPort gives up the search for a frame's start byte in time for the whole call to
//     end within about kReadBoundMs (see ReadFromPort).
//
// Threads. An object may be used from one thread at a time, and ReadFromPort shares one
// static buffer among all objects, so only one read may run in the process at a time.
#pragma once

#include <vexlink/SerialTypes.h>

#if defined(_WIN32)
#if defined(VEXLINK_BUILDING_LIBRARY)
#define VEXLINK_API __declspec(dllexport)
#else
#define VEXLINK_API __declspec(dllimport)
#endif
#elif defined(VEXLINK_BUILDING_LIBRARY)
#define VEXLINK_API __attribute__((visibility("default")))
#else
#define VEXLINK_API
#endif

class VEXLINK_API Vexlink {
public:
    // Receives the text of a warning the library shows. The console installs one that shows a
    // modal warning box; it returns when the user has dismissed it.
    using MessageHandler = void (*)(const char* text, void* context);

    // Bounds of this implementation, in milliseconds.
    static constexpr int kWriteHoldLimitMs = 100;   // a one-byte write held back longer fails
    static constexpr int kCloseDrainLimitMs = 100;  // closing waits at most this for unsent output
    static constexpr int kReadBoundMs = 300;        // the longest a ReadFromPort call takes

    // ---- Fields, in declaration order -------------------------------------------------
    int portId;        // port claimed: 0 none, 1..4 for COM1..COM4
    int samplingRate;  // last rate given to SetSamplingRate; 40 after construction
    int checkByte;     // checksum byte (0..255) of the last binary frame that had one
    int currentSpeed;  // bit/s believed in use by port and tracker: 19200 or 9600
    int pitch;         // last good sample, whole degrees
    int yaw;
    int roll;
    char dataMode;                 // 'F' binary frames, 'E' ASCII frames
    char transMode;                // 'G' upon request, 'H' continuous
    char versionText[30];          // last version text read by Get_Version, NUL-terminated
    unsigned char dataBuffer[30];  // receive buffer: replies and frames land here
    int ifBusy;                    // 1 from a successful OpenCom to a successful CloseCom(HANDLE)
    int checkStatus;               // 1 while the tracker's checksum mode is believed on
    DCB dcb;                       // the port's settings as last read by GetDCB
    HANDLE comHandle;              // the port every read, write and purge goes to
    HANDLE tempComHandle;          // a saved handle, kept while another port is probed
    DWORD bytesRead;               // bytes moved by the last read or write on the port

    // ---- Special members ----------------------------------------------------------------
    // Defaults: rate 40, 19200 bit/s, binary frames, upon-request sampling, checksum off, no
    // port (both handles INVALID_HANDLE_VALUE), a zeroed receive buffer. The angles, checkByte,
    // bytesRead, versionText and dcb start at zero or empty. Opens nothing and sends nothing.
    Vexlink();
    // Closes nothing and sends nothing: the owner closes the port first with CloseCom(HANDLE).
    ~Vexlink();
    // Copies every field, both handles included: afterwards both objects use the same port.
    Vexlink& operator=(const Vexlink& other);
    Vexlink(const Vexlink& other) = default;

    // ---- Link: open, identify, configure, close -------------------------------------------
    // Opens the named port, switches it and the tracker to 9600 bit/s when currentSpeed is
    // 19200 (sends 'L'), and identifies the tracker (checkForKorvisor). 1 when a tracker
    // answered: ifBusy becomes 1 (portId is left to the caller). 0 when the port does not
    // exist, is held elsewhere, or no tracker answered; in the last case the port is sent
    // 'R' and closed, and currentSpeed is set back to 19200. comHandle takes the new handle
    // in every case. Shows no message.
    int OpenCom(const char* portName);
    // Sends 'G', pauses 10 ms, purges, sends 'X', pauses 15 ms and reads up to 3 bytes:
    // 1 when they are exactly "KHX". Further bytes stay queued.
    int checkForKorvisor();
    // Tries OpenCom on COM1..COM4 in turn; the number of the first that answers (portId is
    // set to it), or 0. Refuses with "Device busy or not available" while ifBusy is 1, and
    // reports "Korvisor not available\nCheck your connections" when no port answered.
    int AutoDetectComPort();
    // Sends 'R' to port and closes it. On success ifBusy and portId become 0 (whichever port
    // was closed) and the result is 1. comHandle and currentSpeed are never changed.
    int CloseCom(HANDLE port);
    // Closes comHandle without sending anything and without changing any field; does nothing
    // while portId is 0. A failed close reports " Error.. Can't Close port".
    void CloseCom();
    // At 19200 bit/s: sends 'L', then (once the byte is out) sets the port to 9600 bit/s,
    // 8 data bits, no parity, one stop bit. At any other currentSpeed: returns 1, does nothing.
    // 0 with "Init failed \n \"SetCommState\"" when the port rejects the settings.
    int Set9600();
    // As Set9600, from 9600 to 19200 bit/s, with the command byte 'K'.
    int Set19200();
    // Reads the port's settings into dcb.
    int GetDCB();
    // Writes the first byte of text (only that byte) to comHandle. The command letters a caller
    // sends itself are below the class (vexlink::kAsciiFrames and the others).
    int SendToPort(const char* text);
    // Empties the port's input and output queues.
    void ResetFIFO();
    // 1 when the device behind comHandle has gone: the line hung up (an unplugged adapter, a
    // simulator that ended), so every read and write on it fails until a port is opened anew.
    // 0 while it is there (quiet or not), and when comHandle names no open port. Sends nothing
    // and returns at once.
    int CheckIfGone();
    // Reports text through the message handler; returns when it has been dismissed.
    void errMsgBox(const char* text);

    // Installs the handler for the library's warnings (null restores standard error).
    static void SetMessageHandler(MessageHandler handler, void* context = nullptr);

    // The system's error code (errno) of the last system call of the library that failed on
    // the calling thread, as the Windows call of the same name gives it; 0 when none failed.
    // A port refused without a failed system call sets its own code: ENOENT for a name that
    // maps to no port, ENOTTY for a device that is no serial port, EBUSY for the system
    // console. lastPortError in <vexlink/Ports.h> tells the cause of a failed open in full.
    static int GetLastError();

    // ---- Tracker commands ---------------------------------------------------------------
    // Stores rate and sends the rate byte rate/5 + 127 (low 8 bits): 5 -> 0x80 ... 75 -> 0x8E.
    void SetSamplingRate(int rate);
    // Purge, 'R', 10 ms, purge, 'R', Set9600, 'R'; checkStatus becomes 0. Always 1.
    int HardReset();
    // Hysteresis filter on ('P') or off ('O'): the write's own result.
    int SetHysteresisOn();
    int SetHysteresisOff();
    // Checksum mode on ('M') or off ('N'). On a failed write checkStatus keeps the opposite
    // of what was asked for, on the view that the tracker stayed in its former mode.
    int CheckSumOn();
    int CheckSumOff();
    // Sends 'V' and reads up to 5 bytes of version text (at most 30 ms): versionText, or a
    // null pointer when the write or the read failed. No reply gives an empty text.
    char* Get_Version();

    // ---- Samples --------------------------------------------------------------------------
    // Takes one frame in the format and mode that dataMode, transMode and checkStatus state,
    // and decodes it into pitch, yaw and roll. Binary words w give yaw = w*360 >> 15 and
    // pitch, roll = (w*180 >> 15) - 90; ASCII fields are decimal text.
    //   1  a complete frame (with a matching checksum where checksum mode is on; in ASCII with
    //      the tracker's layout: 'Y', three 5-byte fields of blanks, an optional sign and
    //      digits, right-aligned, a separator after the first two that is no digit, sign,
    //      NUL, CR or LF, and CR LF).
    //   0  no good sample; the angles and checkByte keep their values. Tell the cases apart by
    //      GetBytesRead: below the full body length (6, or 7 with checksum, in binary; 19 in
    //      ASCII) the frame did not come whole; at the full length the checksum did not match
    //      (binary) or the layout did not hold (ASCII: bytes lost on the line, the gap filled
    //      by the next frame).
    // Afterwards dataBuffer holds the frame as received (in continuous binary from the 0xFF
    // on; in ASCII from the 'Y' on, with position 18 set to NUL after every read, short or
    // whole) and bytesRead its count (a good continuous binary frame counts its 2 header
    // bytes; a failed one does not; in ASCII the 'Y' is never counted).
    // In continuous binary and in ASCII the read first waits for the frame's start byte (0xFF
    // or 'Y'); it gives up, returning 0, when the rest of the frame could no longer arrive
    // within kReadBoundMs of the call's start. Allocates nothing.
    int ReadFromPort();
    // Stores pitch, yaw and roll, in that order, through the three pointers.
    void Get_PYR(int* pitchOut, int* yawOut, int* rollOut);
    // 1 when checkByte equals the low 8 bits of the sum of the words' low bytes of the frame in
    // dataBuffer (positions 1, 3, 5 upon request; 3, 5, 7 in continuous mode).
    int DoCheckSum();

    // ---- Accessors: read or write one field; none touches the port --------------------------
    int GetPortId() { return portId; }
    void SetPortId(int id) { portId = id; }
    int GetSamplingRate() { return samplingRate; }
    int GetCurrentSpeed() { return currentSpeed; }
    void SetSpeedFlag(int speed) { currentSpeed = speed; }
    char GetDataMode() { return dataMode; }
    void SetDataMode(char mode) { dataMode = mode; }
    char GetTransMode() { return transMode; }
    void SetTransMode(char mode) { transMode = mode; }
    unsigned char* GetDataBuffer() { return dataBuffer; }
    int CheckIfBusy() { return ifBusy; }
    int GetCheckStatus() { return checkStatus; }
    HANDLE GetComHandle() { return comHandle; }
    HANDLE GetTempComHandle() { return tempComHandle; }
    void SetTempComHandle() { tempComHandle = comHandle; }
    void SetNewComHandle() { comHandle = tempComHandle; }
    int GetBytesRead() { return static_cast<int>(bytesRead); }
};

namespace vexlink {

// The command letters that a caller sends itself with SendToPort, storing the same letter with
// SetDataMode or SetTransMode: the frame format and the sampling mode. Every other command has
// a member of its own.
inline constexpr char kAsciiFrames[] = "E";   // ASCII frames
inline constexpr char kBinaryFrames[] = "F";  // binary frames
inline constexpr char kUponRequest[] = "G";   // one sample for each 'S'
inline constexpr char kContinuous[] = "H";    // samples at the sampling rate until 'G'

// The bytes that GetBytesRead counts after a ReadFromPort that received a whole frame body (the
// bytes after the start byte, without a continuous frame's header): fewer is a short frame, so
// a 0 result with the whole count is a checksum failure or, in ASCII, a malformed frame.
inline constexpr int kBinaryBodyLength = 6;
inline constexpr int kBinaryChecksumBodyLength = 7;  // binary with checksum mode on
inline constexpr int kAsciiBodyLength = 19;

// The whole body length for the modes given.
constexpr int wholeBodyLength(bool ascii, bool checksum) {
    return ascii ? kAsciiBodyLength : checksum ? kBinaryChecksumBodyLength : kBinaryBodyLength;
}

}  // namespace vexlink
