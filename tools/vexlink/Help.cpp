#include "Help.h"

namespace vexlink_cli {

namespace {

#if defined(_WIN32)
constexpr char kPortHelp[] =
    "  --port P          COMn, as Windows numbers the ports (COM1 to COM4 for detect),\n"
    "                    or a \\\\.\\ device path\n";
#else
constexpr char kPortHelp[] =
    "  --port P          COM1 to COM4 (as 'vexlink ports' shows them: VEXLINK_COMn, else\n"
    "                    the port map, else /dev/ttyS0..3) or an absolute device path\n";
#endif

constexpr char kSpeedHelp[] = "  --speed B         line speed: 9600 (default) or 19200 bit/s\n";

constexpr char kLimitHelp[] =
    "  --count N         stop after N samples, failed ones included\n"
    "  --seconds S       stop after S seconds\n"
    "Without --count or --seconds it runs until Ctrl-C, SIGTERM or SIGHUP. On every end (a\n"
    "signal, a closed output pipe, a failure) the tracker is put back to upon-request\n"
    "sampling and the port is closed with its reset byte.\n";

constexpr char kContinuousHelp[] =
    "Continuous sampling reads the stream as it comes and hands out each frame the moment\n"
    "its last byte arrives; --rate sets the tracker's pace for ASCII frames too. A frame\n"
    "that did not come whole is 'malformed'.\n";

constexpr char kModeHelp[] =
    "  --ascii           ASCII frames (default: binary frames)\n"
    "  --checksum        binary frames carry a checksum byte, and it is checked\n"
    "  --continuous      the tracker streams samples (default: one request per sample)\n"
    "  --rate N          samples per second when continuous: 5 to 75 in steps of 5 (40)\n";

}  // namespace

std::string programHelp() {
    return "usage: vexlink <subcommand> [options]\n"
           "\n"
           "Talks to a Korvisor orientation tracker on a serial port.\n"
           "\n"
           "subcommands:\n"
           "  detect    find the tracker on COM1 to COM4 and print its port and version\n"
           "  version   print the version of the tracker on one port\n"
           "  read      print samples as CSV or JSON lines\n"
           "  stream    send samples as UDP pose datagrams (opentrack \"UDP over network\")\n"
           "  reset     hard-reset the tracker on one port\n"
           "  ports     list the serial devices and the COM map; set or unset a COM name\n"
           "\n"
           "'vexlink <subcommand> --help' describes each one; 'vexlink --version' prints the\n"
           "program's version. Exit status: 0 success, 1 failure,\n"
           "2 a command line that cannot be used.\n";
}

std::string programVersion() { return std::string("vexlink ") + VEXLINK_PROGRAM_VERSION + "\n"; }

std::string subcommandHelp(Subcommand subcommand) {
    switch (subcommand) {
    case Subcommand::Detect:
        return "usage: vexlink detect [--all [--save [COMn]]]\n"
               "\n"
               "Probes COM1, COM2, COM3 and COM4 in turn and prints the first port on which a\n"
               "tracker answers, with its version, as 'COMn version TEXT'. Exits with status 1\n"
               "when none answers.\n"
               "\n"
               "  --all             try every serial device that 'vexlink ports' lists instead,\n"
               "                    except the system console and devices another program\n"
               "                    holds, and print one line for each: 'PATH version TEXT',\n"
               "                    'PATH no tracker' or 'PATH skipped: REASON'. It sends the\n"
               "                    identification bytes to each device it tries.\n"
               "  --save [COMn]     map the first tracker found in your port map, to COMn or\n"
               "                    to the first COM name that names no device yet\n";
    case Subcommand::Version:
        return std::string(
                   "usage: vexlink version --port P\n"
                   "\n"
                   "Identifies the tracker on port P and prints its version text.\n"
                   "\n") +
               kPortHelp;
    case Subcommand::Read:
        return std::string(
                   "usage: vexlink read --port P [--ascii] [--checksum] [--continuous [--rate N]]\n"
                   "                    [--count N | --seconds S] [--format csv|jsonl]\n"
                   "\n"
                   "Sets the tracker's modes and prints one line per sample: the time in seconds\n"
                   "since sampling began (monotonic clock), pitch, yaw and roll in whole degrees\n"
                   "and the verdict: 'good', 'checksum error' or 'short frame'. A failed sample "
                   "has\n"
                   "no angles (empty CSV fields, JSON null). CSV output starts with a header "
                   "line.\n"
                   "A summary goes to standard error at the end.\n"
                   "\n") +
               kPortHelp + "  --format F        csv (default) or jsonl\n" + kModeHelp + kSpeedHelp +
               kLimitHelp + kContinuousHelp +
               "After 3 seconds without a good sample the tracker counts as lost, and a device\n"
               "that goes away ends the command at once (status 1). Status 1 also when no\n"
               "sample was good.\n";
    case Subcommand::Stream:
        return std::string(
                   "usage: vexlink stream --port P [--udp HOST:PORT] [--ascii] [--no-checksum]\n"
                   "                      [--request | --rate N] [--speed B] [--no-reconnect]\n"
                   "                      [--count N | --seconds S]\n"
                   "\n"
                   "Sends every good sample as one UDP datagram of six little-endian IEEE-754\n"
                   "doubles: x, y, z (always 0) and yaw, pitch, roll in degrees, the input format\n"
                   "of opentrack's \"UDP over network\" source. Each angle a is sent as\n"
                   "((a + 180) mod 360) - 180, in -180..179: yaw 0..359 and 360..719 give the "
                   "same\n"
                   "direction; pitch and roll -90..179 are sent unchanged and 180..269 as "
                   "-180..-91.\n"
                   "Back: yaw = (s + 360) mod 360; pitch, roll = s + 360 when s < -90, else s.\n"
                   "A summary goes to standard error at the end.\n"
                   "\n") +
               kPortHelp +
               "  --udp HOST:PORT   destination (default 127.0.0.1:4242); [ADDR]:PORT for IPv6\n"
               "Defaults for head tracking: continuous sampling at 75 samples/s, binary frames\n"
               "with checksum. These change them:\n"
               "  --ascii           ASCII frames (no checksum)\n"
               "  --no-checksum     binary frames without checksum byte\n"
               "  --request         one request per sample instead of continuous sampling\n"
               "  --rate N          samples per second: 5 to 75 in steps of 5 (75)\n" +
               kSpeedHelp +
               "  --no-reconnect    end when the tracker goes away (default: wait for it)\n" +
               kLimitHelp + kContinuousHelp +
               "When the device goes away (an adapter unplugged) or sends no good sample for 3\n"
               "seconds (the tracker switched off), stream says so on standard error, tries the\n"
               "same port every half second, identifies the tracker, sets its modes again and\n"
               "goes on. With --no-reconnect it ends instead (status 1).\n";
    case Subcommand::Ports:
        return "usage: vexlink ports [--format table|jsonl]\n"
               "       vexlink ports set COMn PATH [--system]\n"
               "       vexlink ports unset COMn [--system]\n"
               "\n"
               "Without arguments, lists the serial devices present (USB adapters under their\n"
               "/dev/serial/by-id names, ttyUSB, ttyACM, and the ttyS ports with a UART) with\n"
               "driver, USB ids and names, whether each is the system console and which COM\n"
               "name maps to it; then COM1 to COM4, each with its device and where that came\n"
               "from. --format jsonl writes one JSON object a line instead: the devices\n"
               "(\"kind\":\"device\"), then the COM names (\"kind\":\"com\").\n"
               "\n"
               "COM names resolve, first match wins: the variable VEXLINK_COMn (empty: no\n"
               "port); your map, $XDG_CONFIG_HOME/vexlink/ports.conf (~/.config/vexlink/\n"
               "ports.conf); the system map, /etc/vexlink/ports.conf; /dev/ttyS0 to /dev/ttyS3.\n"
               "\n"
               "'set' maps COMn to PATH in your map (a serial device; a /dev/ttyUSBn or\n"
               "/dev/ttyACMn is stored under its /dev/serial/by-id name when it has one, which\n"
               "stays the same when the adapter is plugged in again). 'unset' removes the\n"
               "mapping. --system edits /etc/vexlink/ports.conf instead (root only).\n";
    case Subcommand::Reset:
        return std::string(
                   "usage: vexlink reset --port P\n"
                   "\n"
                   "Hard-resets the tracker on port P with its reset command, then closes the\n"
                   "port. Prints 'COMn: reset' (or the device path) when done.\n"
                   "\n") +
               kPortHelp;
    }
    return programHelp();
}

}  // namespace vexlink_cli
