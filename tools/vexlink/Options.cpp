#include "Options.h"

#include "Help.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace vexlink_cli {

namespace {

// Every option the program knows; each subcommand accepts a subset.
enum class Opt {
    Help,
    Port,
    Ascii,
    Checksum,
    NoChecksum,
    Continuous,
    Request,
    Rate,
    Speed,
    Count,
    Seconds,
    Format,
    Udp,
    NoReconnect,
    All,
    Save,
    System
};

struct OptSpec {
    const char* name;
    Opt opt;
    bool takesValue;
};

constexpr OptSpec kOptions[] = {
    {"--help", Opt::Help, false},
    {"-h", Opt::Help, false},
    {"--port", Opt::Port, true},
    {"--ascii", Opt::Ascii, false},
    {"--checksum", Opt::Checksum, false},
    {"--continuous", Opt::Continuous, false},
    {"--rate", Opt::Rate, true},
    {"--count", Opt::Count, true},
    {"--seconds", Opt::Seconds, true},
    {"--format", Opt::Format, true},
    {"--udp", Opt::Udp, true},
    {"--speed", Opt::Speed, true},
    {"--request", Opt::Request, false},
    {"--no-checksum", Opt::NoChecksum, false},
    {"--no-reconnect", Opt::NoReconnect, false},
    {"--all", Opt::All, false},
    {"--save", Opt::Save, false},
    {"--system", Opt::System, false},
};

struct SubcommandSpec {
    const char* name;
    Subcommand subcommand;
    std::initializer_list<Opt> accepts;
    bool needsPort;
};

const SubcommandSpec kSubcommands[] = {
    {"detect", Subcommand::Detect, {Opt::All, Opt::Save}, false},
    {"version", Subcommand::Version, {Opt::Port}, true},
    {"read",
     Subcommand::Read,
     {Opt::Port, Opt::Ascii, Opt::Checksum, Opt::Continuous, Opt::Rate, Opt::Speed, Opt::Count,
      Opt::Seconds, Opt::Format},
     true},
    {"stream",
     Subcommand::Stream,
     {Opt::Port, Opt::Udp, Opt::Ascii, Opt::Checksum, Opt::NoChecksum, Opt::Continuous,
      Opt::Request, Opt::Rate, Opt::Speed, Opt::Count, Opt::Seconds, Opt::NoReconnect},
     true},
    {"reset", Subcommand::Reset, {Opt::Port}, true},
    {"ports", Subcommand::Ports, {Opt::Format, Opt::System}, false},
};

const OptSpec* findOption(const std::string& name) {
    for (const OptSpec& spec : kOptions) {
        if (name == spec.name) return &spec;
    }
    return nullptr;
}

bool accepts(const SubcommandSpec& sub, Opt opt) {
    if (opt == Opt::Help) return true;
    for (Opt o : sub.accepts) {
        if (o == opt) return true;
    }
    return false;
}

#if defined(_WIN32)
// "COMn" (n from 1 to 255, as Windows numbers its ports) in any letter case, normalised to upper
// case; or a device path that starts with "\\.\".
std::optional<std::string> parsePort(const std::string& text) {
    if (text.size() > 4 && text.compare(0, 4, "\\\\.\\") == 0) return text;
    if (text.size() < 4 || text.size() > 6 || text[3] == '0') return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != "COM"[i]) return std::nullopt;
    int number = 0;
    for (std::size_t i = 3; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        number = number * 10 + (text[i] - '0');
    }
    if (number > 255) return std::nullopt;
    return "COM" + text.substr(3);
}
constexpr char kPortWanted[] = "COM1 to COM4 (or any COMn) or a \\\\.\\ device path";
#else
// "COM1".."COM4" in any letter case, normalised to upper case; or an absolute path.
std::optional<std::string> parsePort(const std::string& text) {
    if (!text.empty() && text.front() == '/') return text;
    if (text.size() == 4 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(text[2])) == 'M' && text[3] >= '1' &&
        text[3] <= '4') {
        return std::string("COM") + text[3];
    }
    return std::nullopt;
}
constexpr char kPortWanted[] = "COM1 to COM4 or an absolute device path";
#endif

std::optional<int> parseRate(const std::string& text) {
    std::optional<long> value = parsePositiveCount(text);
    if (!value || *value < 5 || *value > 75 || *value % 5 != 0) return std::nullopt;
    return static_cast<int>(*value);
}

// 1..4 for "COM1".."COM4" in any letter case; 0 otherwise.
int parseComName(const std::string& text) {
    const std::optional<std::string> port = parsePort(text);
    // Only COM1..COM4 are map names (on Windows parsePort takes any COMn: COM12 is not COM1).
    const bool mapName = port && port->size() == 4 && port->compare(0, 3, "COM") == 0 &&
                         (*port)[3] >= '1' && (*port)[3] <= '4';
    return mapName ? (*port)[3] - '0' : 0;
}

// The positional words of `vexlink ports`: nothing, "set COMn PATH" or "unset COMn".
std::optional<std::string> parsePortsWords(const std::vector<std::string>& words,
                                           PortsRequest& request) {
    if (words.empty()) return std::nullopt;
    const std::string& verb = words.front();
    if (verb == "set") {
        if (words.size() != 3) return std::string("usage: vexlink ports set COMn PATH [--system]");
        request.action = PortsAction::Set;
        request.path = words[2];
    } else if (verb == "unset") {
        if (words.size() != 2) return std::string("usage: vexlink ports unset COMn [--system]");
        request.action = PortsAction::Unset;
    } else {
        return "unexpected argument '" + verb + "' (ports takes set or unset)";
    }
    request.com = parseComName(words[1]);
    if (request.com == 0) return "a COM name is COM1 to COM4, not '" + words[1] + "'";
    if (request.action == PortsAction::Set && (request.path.empty() || request.path.front() != '/'))
        return "the device path must be absolute, not '" + request.path + "'";
    return std::nullopt;
}

UsageError error(std::string message, std::optional<Subcommand> subcommand = std::nullopt) {
    return UsageError{std::move(message), subcommand};
}

}  // namespace

const char* subcommandName(Subcommand subcommand) {
    for (const SubcommandSpec& spec : kSubcommands) {
        if (spec.subcommand == subcommand) return spec.name;
    }
    return "?";
}

std::optional<long> parsePositiveCount(const std::string& text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value <= 0) return std::nullopt;
    return value;
}

std::optional<double> parsePositiveSeconds(const std::string& text) {
    if (text.empty()) return std::nullopt;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '.')) return std::nullopt;  // no sign, exponent, inf
    }
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) || value <= 0 ||
        value > 1e7) {
        return std::nullopt;
    }
    return value;
}

std::optional<Endpoint> parseEndpoint(const std::string& text) {
    std::string host;
    std::string port;
    if (!text.empty() && text.front() == '[') {  // [IPv6 address]:port
        std::size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        std::size_t colon = text.rfind(':');
        if (colon == std::string::npos) return std::nullopt;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (host.find(':') != std::string::npos) return std::nullopt;  // bare IPv6 needs brackets
    }
    std::optional<long> number = parsePositiveCount(port);
    if (host.empty() || !number || *number > 65535) return std::nullopt;
    return Endpoint{host, static_cast<int>(*number)};
}

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) return error("no subcommand given (try 'vexlink --help')");
    const std::string& first = args.front();
    if (first == "--help" || first == "-h" || first == "help") return ShowHelp{programHelp()};
    if (first == "--version") return ShowHelp{programVersion()};

    const SubcommandSpec* sub = nullptr;
    for (const SubcommandSpec& spec : kSubcommands) {
        if (first == spec.name) sub = &spec;
    }
    if (sub == nullptr) return error("unknown subcommand '" + first + "' (try 'vexlink --help')");

    // --help wins over everything else on the line, mistakes included.
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h")
            return ShowHelp{subcommandHelp(sub->subcommand)};
    }

    const auto fail = [sub](std::string message) {
        return error(std::move(message), sub->subcommand);
    };
    Options options;
    options.subcommand = sub->subcommand;
    if (sub->subcommand == Subcommand::Ports) options.format = OutputFormat::Table;
    bool rateGiven = false;
    std::vector<std::string> words;  // positional arguments (ports only)
    bool checksumGiven = false;
    bool noChecksumGiven = false;
    bool requestGiven = false;
    bool continuousGiven = false;
    // stream defaults to what head tracking wants: binary frames with checksum, streamed at 75/s.
    if (sub->subcommand == Subcommand::Stream) {
        options.modes.checksum = true;
        options.modes.continuous = true;
        options.modes.rate = 75;
    }

    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptSpec* spec = findOption(name);
        if (spec == nullptr && sub->subcommand == Subcommand::Ports && !name.empty() &&
            name.front() != '-') {
            words.push_back(args[i]);
            continue;
        }
        if (spec == nullptr) {
            if (name.empty() || name.front() != '-') {
                return fail("unexpected argument '" + args[i] + "'");
            }
            return fail("unknown option '" + name + "'");
        }
        if (!accepts(*sub, spec->opt)) {
            return fail("option '" + name + "' does not apply here");
        }
        std::string value;
        if (spec->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return fail("option '" + name + "' needs a value");
            }
        } else if (spec->opt == Opt::Save) {
            // --save takes an optional COM name: --save, --save COM3, --save=COM3.
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size() && parseComName(args[i + 1]) != 0) {
                value = args[++i];
            }
        } else if (inlineValue) {
            return fail("option '" + name + "' takes no value");
        }

        switch (spec->opt) {
        case Opt::Help: return ShowHelp{subcommandHelp(sub->subcommand)};
        case Opt::Port: {
            std::optional<std::string> port = parsePort(value);
            if (!port) {
                return fail(std::string("--port wants ") + kPortWanted + ", not '" + value + "'");
            }
            options.port = *port;
            break;
        }
        case Opt::Ascii: options.modes.ascii = true; break;
        case Opt::Checksum:
            options.modes.checksum = true;
            checksumGiven = true;
            break;
        case Opt::NoChecksum:
            options.modes.checksum = false;
            noChecksumGiven = true;
            break;
        case Opt::Continuous:
            options.modes.continuous = true;
            continuousGiven = true;
            break;
        case Opt::Request:
            options.modes.continuous = false;
            requestGiven = true;
            break;
        case Opt::Speed:
            if (value == "9600" || value == "19200") {
                options.modes.speed = std::stoi(value);
            } else {
                return fail("--speed wants 9600 or 19200, not '" + value + "'");
            }
            break;
        case Opt::NoReconnect: options.reconnect = false; break;
        case Opt::Rate: {
            std::optional<int> rate = parseRate(value);
            if (!rate) {
                return fail("--rate wants 5 to 75 in steps of 5, not '" + value + "'");
            }
            options.modes.rate = *rate;
            rateGiven = true;
            break;
        }
        case Opt::Count: {
            std::optional<long> count = parsePositiveCount(value);
            if (!count) return fail("--count wants a positive whole number, not '" + value + "'");
            options.limit.count = count;
            break;
        }
        case Opt::Seconds: {
            std::optional<double> seconds = parsePositiveSeconds(value);
            if (!seconds) {
                return fail("--seconds wants a positive number of seconds, not '" + value + "'");
            }
            options.limit.seconds = seconds;
            break;
        }
        case Opt::Format:
            if (sub->subcommand == Subcommand::Ports) {
                if (value == "table") {
                    options.format = OutputFormat::Table;
                } else if (value == "jsonl") {
                    options.format = OutputFormat::Jsonl;
                } else {
                    return fail("--format wants table or jsonl, not '" + value + "'");
                }
            } else if (value == "csv") {
                options.format = OutputFormat::Csv;
            } else if (value == "jsonl") {
                options.format = OutputFormat::Jsonl;
            } else {
                return fail("--format wants csv or jsonl, not '" + value + "'");
            }
            break;
        case Opt::All: options.detect.all = true; break;
        case Opt::Save:
            options.detect.save = true;
            if (!value.empty()) {
                options.detect.saveAs = parseComName(value);
                if (options.detect.saveAs == 0)
                    return fail("--save wants COM1 to COM4, not '" + value + "'");
            }
            break;
        case Opt::System: options.ports.system = true; break;
        case Opt::Udp: {
            std::optional<Endpoint> endpoint = parseEndpoint(value);
            if (!endpoint) {
                return fail("--udp wants HOST:PORT with a port of 1 to 65535, not '" + value + "'");
            }
            options.udp = *endpoint;
            break;
        }
        }
    }

    if (sub->needsPort && options.port.empty()) return fail("--port is required");
    if (sub->subcommand == Subcommand::Ports) {
        if (const auto problem = parsePortsWords(words, options.ports)) return fail(*problem);
        if (options.ports.system && options.ports.action == PortsAction::List)
            return fail("--system applies to set and unset");
        if (options.ports.action != PortsAction::List && options.format != OutputFormat::Table)
            return fail("--format applies to the listing only");
    }
    if (options.detect.save && !options.detect.all) return fail("--save applies only with --all");
    if (options.limit.count && options.limit.seconds) {
        return fail("give --count or --seconds, not both");
    }
    if (checksumGiven && noChecksumGiven) return fail("give --checksum or --no-checksum, not both");
    if (requestGiven && continuousGiven) return fail("give --request or --continuous, not both");
    if (rateGiven && !options.modes.continuous) {
        return fail("--rate applies only with --continuous");
    }
    if (checksumGiven && options.modes.ascii) {
        return fail("--checksum applies to binary frames only, not with --ascii");
    }
    if (options.modes.ascii) options.modes.checksum = false;  // ASCII frames carry none
    return options;
}

}  // namespace vexlink_cli
