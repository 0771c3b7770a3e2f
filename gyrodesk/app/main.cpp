// Gyrodesk's program file: the one application object and the entry point.
#include <cstdio>
#include <string_view>

#include <afx/Afx.h>

#include "GyrodeskApp.h"
#include "LinkWarning.h"
#include "Templates.h"

CGyrodeskApp theApp;

namespace {

constexpr char kHelp[] =
    "Usage: gyrodesk [--plot] | --help | --version\n"
    "The Korvisor tracker console: one dialog window from which to choose the tracker's port,\n"
    "frame format, checksum and sampling modes, filters and sampling rate, to poll or stream\n"
    "samples and to reset the tracker. At start it looks for the tracker on COM1 to COM4: the\n"
    "devices the port map gives them ('vexlink ports' shows it: VEXLINK_COM1..4, then\n"
    "~/.config/vexlink/ports.conf, then /etc/vexlink/ports.conf, else /dev/ttyS0..3).\n"
    "\n"
    "  --plot     open the live plot of pitch, yaw and roll beside the dialog at start\n"
    "  --help     show this text\n"
    "  --version  show the program's version\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window opens and before any port is probed.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (arg == "--version") {
            std::printf("gyrodesk %s\n", GYRODESK_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    AfxSetResourceTable(gyrodesk::Resources());
    gyrodesk::InstallLinkWarning();
    return AfxWinMain(argc, argv);
}
