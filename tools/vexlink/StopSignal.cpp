#include "StopSignal.h"

#include <csignal>

namespace vexlink_cli {

namespace {

volatile std::sig_atomic_t gStop = 0;

extern "C" void onStopSignal(int) { gStop = 1; }

}  // namespace

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a pause or read in progress may end early
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);  // the terminal closed or the SSH session dropped

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool stopRequested() { return gStop != 0; }

}  // namespace vexlink_cli
