#include "CommandLine.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace korvisor {

const char kUsage[] =
    "Usage: korvisor-sim [options] [--com N -- PROGRAM [ARGS...]]\n"
    "Plays a Korvisor tracker on a pseudo-terminal. Prints the device path, then runs until\n"
    "SIGINT, SIGTERM or SIGHUP. With --com N, runs PROGRAM with VEXLINK_COMN set to the device\n"
    "(the other VEXLINK_COMx, unless already set, name paths that do not exist), passes those\n"
    "signals on to it and exits with PROGRAM's status.\n"
    "\n"
    "Options:\n"
    "  --link PATH            make PATH a symbolic link to the device (removed on exit);\n"
    "                         PATH must not exist yet\n"
    "  --tracker-version TEXT the reply to 'V' (up to 5 bytes; default 1.02); the older\n"
    "                         spelling --version TEXT still works\n"
    "  --pose P,Y,R           a fixed pose in whole degrees (pitch -90..269, yaw 0..719,\n"
    "                         roll -90..269); default a smoothly moving head\n"
    "  --speed 9600|19200     the tracker's line speed at power-on (default 9600)\n"
    "  --port-speed 9600|19200  the port's speed before a host opens it (default: --speed)\n"
    "  --log FILE             log every byte received: time, byte, host speed, judgement;\n"
    "                         and the end of every frame sent (frame-end); a FIFO needs\n"
    "                         its reader started first\n"
    "  --com N                1..4: run PROGRAM (after --) against the tracker as COMN\n"
    "  --help                 show this text\n"
    "  --version              print the program's version\n"
    "Faults:\n"
    "  --garbage              stray bytes (never 0xFF or 'Y') before every frame\n"
    "  --bad-checksum N       every N-th checksummed frame carries a wrong checksum\n"
    "  --drop N               every N-th byte sent is lost\n"
    "  --silent               answer nothing\n"
    "  --id-reply TEXT        reply TEXT to 'X' instead of KHX\n"
    "  --vanish-after SECONDS the device disappears (the host sees a hang-up)\n"
    "  --come-back-after SECONDS  with --vanish-after: a new device appears this long after\n";

namespace {

[[noreturn]] void bad(const std::string& message) { throw std::invalid_argument(message); }

int toInt(std::string_view text, const std::string& what) {
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        bad(what + ": not a whole number: " + std::string(text));
    return v;
}

double toSeconds(const std::string& text, const std::string& what) {
    std::size_t used = 0;
    double v = 0;
    try {
        v = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || !(v > 0) || v > 1e6)
        bad(what + ": not a positive number of seconds: " + text);
    return v;
}

int toSpeed(const std::string& text, const std::string& what) {
    const int v = toInt(text, what);
    if (v != 9600 && v != 19200) bad(what + " must be 9600 or 19200");
    return v;
}

Pose toPose(const std::string& text) {
    int v[3];
    std::string_view rest = text;
    for (int i = 0; i < 3; ++i) {
        const auto comma = rest.find(',');
        if ((i < 2) != (comma != std::string_view::npos)) bad("--pose wants P,Y,R: " + text);
        v[i] = toInt(rest.substr(0, comma), "--pose");
        rest = i < 2 ? rest.substr(comma + 1) : std::string_view();
    }
    const Pose p{v[0], v[1], v[2]};
    if (p.pitch < -90 || p.pitch > 269 || p.roll < -90 || p.roll > 269)
        bad("--pose: pitch and roll must lie in -90..269");
    if (p.yaw < 0 || p.yaw > 719) bad("--pose: yaw must lie in 0..719");
    return p;
}

}  // namespace

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine cl;
    bool portSpeedGiven = false;
    int i = 1;
    auto value = [&](const std::string& flag) -> std::string {
        if (i + 1 >= argc) bad(flag + " needs a value");
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--help" || a == "-h") cl.help = true;
        else if (a == "--link") {
            cl.options.linkPath = value(a);
            if (cl.options.linkPath.empty()) bad("--link needs a path");
        } else if (a == "--tracker-version" ||
                   (a == "--version" && i + 1 < argc && argv[i + 1][0] != '-')) {
            // "--version TEXT" is the option's older spelling; "--version" alone, or before
            // another option, asks for the program's version.
            cl.options.version = value(a);
            if (cl.options.version.size() > 5) bad(a + ": at most 5 bytes");
        } else if (a == "--version") cl.version = true;
        else if (a == "--pose") cl.options.fixedPose = toPose(value(a));
        else if (a == "--speed") cl.options.trackerSpeed = toSpeed(value(a), a);
        else if (a == "--port-speed") {
            cl.options.portSpeed = toSpeed(value(a), a);
            portSpeedGiven = true;
        } else if (a == "--log") cl.options.logPath = value(a);
        else if (a == "--com") {
            cl.comPort = toInt(value(a), a);
            if (cl.comPort < 1 || cl.comPort > 4) bad("--com must be 1, 2, 3 or 4");
        } else if (a == "--garbage") cl.options.faults.garbageBetweenFrames = true;
        else if (a == "--bad-checksum" || a == "--drop") {
            const int n = toInt(value(a), a);
            if (n < 1) bad(a + " must be 1 or more");
            (a == "--drop" ? cl.options.faults.dropByteEvery : cl.options.faults.badChecksumEvery) =
                n;
        } else if (a == "--silent") cl.options.faults.silent = true;
        else if (a == "--id-reply") cl.options.faults.idReply = value(a);
        else if (a == "--vanish-after")
            cl.options.faults.vanishAfterSeconds = toSeconds(value(a), a);
        else if (a == "--come-back-after")
            cl.options.faults.comeBackAfterSeconds = toSeconds(value(a), a);
        else bad("unknown argument: " + a);
    }
    for (; i < argc; ++i) cl.program.emplace_back(argv[i]);

    if (cl.help || cl.version) return cl;
    if (!portSpeedGiven) cl.options.portSpeed = cl.options.trackerSpeed;
    if (cl.comPort && cl.program.empty()) bad("--com needs a program after --");
    if (!cl.comPort && !cl.program.empty()) bad("a program after -- needs --com N");
    if (cl.options.faults.comeBackAfterSeconds > 0 && cl.options.faults.vanishAfterSeconds <= 0)
        bad("--come-back-after needs --vanish-after");
    return cl;
}

}  // namespace korvisor
