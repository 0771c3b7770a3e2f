// The vexlink program's command line: which subcommand, on which port, with which modes and
// limits. Parsing is pure (no port, no socket) so that every rule can be tested on its own.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vexlink_cli {

enum class Subcommand { Detect, Version, Read, Stream, Reset, Ports };

// Table is the ports listing's own default; read writes CSV or JSON lines.
enum class OutputFormat { Csv, Jsonl, Table };

// What `vexlink ports` does: list the devices and the COM map, or change one mapping.
enum class PortsAction { List, Set, Unset };

struct PortsRequest {
    PortsAction action = PortsAction::List;
    int com = 0;          // 1..4 for set and unset
    std::string path;     // set: the device path
    bool system = false;  // --system: the system's map instead of the user's
};

// `vexlink detect --all [--save [COMn]]`.
struct DetectRequest {
    bool all = false;   // try every serial device present instead of COM1..COM4
    bool save = false;  // map the first tracker found
    int saveAs = 0;     // to this COM number; 0: the first free one
};

// How the tracker is to send its samples.
struct SampleModes {
    bool ascii = false;       // ASCII frames instead of binary
    bool checksum = false;    // binary frames carry a checksum byte
    bool continuous = false;  // the tracker streams instead of answering each request
    int rate = 40;            // samples per second in continuous mode: 5..75, a multiple of 5
    int speed = 9600;         // line speed: 9600 (as the port is opened) or 19200
};

// When a read or stream ends (besides Ctrl-C or SIGTERM). Neither set: run until stopped.
struct SampleLimit {
    std::optional<long> count;      // this many samples, failed ones included
    std::optional<double> seconds;  // this long, on the monotonic clock
};

// A UDP destination as given: host name or address, and port.
struct Endpoint {
    std::string host = "127.0.0.1";
    int port = 4242;
};

struct Options {
    Subcommand subcommand = Subcommand::Detect;
    std::string port;  // "COM1".."COM4" (upper case) or an absolute device path
    SampleModes modes;
    SampleLimit limit;
    OutputFormat format = OutputFormat::Csv;
    Endpoint udp;
    bool reconnect = true;  // stream: wait for a tracker that went away to come back
    PortsRequest ports;
    DetectRequest detect;
};

// What the command line asks for: run a subcommand, print a help text, or fail with a reason.
struct ShowHelp {
    std::string text;
};
struct UsageError {
    std::string message;                   // one line, without program or subcommand name
    std::optional<Subcommand> subcommand;  // the subcommand it concerns, once known
};
using ParseResult = std::variant<Options, ShowHelp, UsageError>;

// args excludes the program name.
ParseResult parseCommandLine(const std::vector<std::string>& args);

const char* subcommandName(Subcommand subcommand);

// Strict number and endpoint parsers, shared with nothing else but exposed for tests.
std::optional<long> parsePositiveCount(const std::string& text);
std::optional<double> parsePositiveSeconds(const std::string& text);
std::optional<Endpoint> parseEndpoint(const std::string& text);

}  // namespace vexlink_cli
