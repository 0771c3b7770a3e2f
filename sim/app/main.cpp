// korvisor-sim: a Korvisor tracker on a pseudo-terminal, for use without the device.
#include "CommandLine.h"
#include "Runner.h"

#include <korvisor/Simulator.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace korvisor;
    CommandLine cl;
    try {
        cl = parseCommandLine(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "korvisor-sim: %s\nTry 'korvisor-sim --help'.\n", e.what());
        return 2;
    }
    if (cl.help) {
        std::fputs(kUsage, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (cl.version) {
        std::printf("korvisor-sim %s\n", KORVISOR_SIM_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    // Running a program without a link of its own: a private link, so that a tracker that
    // comes back on a new device is still found at the path the program was given.
    std::string privateDir;
    if (cl.comPort && cl.options.linkPath.empty()) {
        char dir[] = "/tmp/korvisor-sim-XXXXXX";
        if (!mkdtemp(dir)) {
            std::perror("korvisor-sim: mkdtemp");
            return 1;
        }
        privateDir = dir;
        cl.options.linkPath = privateDir + "/COM" + std::to_string(cl.comPort);
    }
    if (!cl.comPort) {
        cl.options.onDeviceAppeared = [](const std::string& path) {
            std::printf("%s\n", path.c_str());
            std::fflush(stdout);
        };
    }

    blockRunnerSignals();  // before the simulator's thread starts, so it inherits the mask
    int status = 1;
    try {
        Simulator sim(cl.options);
        sim.start();
        status = cl.comPort ? runProgram(sim, cl.comPort, cl.program) : serveUntilSignal(sim);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvisor-sim: %s\n", e.what());
        status = 1;
    }
    if (!privateDir.empty()) rmdir(privateDir.c_str());
    return status;
}
