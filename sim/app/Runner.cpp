#include "Runner.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace korvisor {

namespace {

sigset_t runnerSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGCHLD);
    sigaddset(&set, SIGHUP);
    return set;
}

std::vector<std::string> programEnvironment(const std::string& device, int com) {
    std::vector<std::string> env;
    bool given[5] = {};
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool isCom = false;
        for (int n = 1; n <= 4; ++n) {
            if (entry.rfind("VEXLINK_COM" + std::to_string(n) + "=", 0) == 0) {
                given[n] = true;
                isCom = n == com;
            }
        }
        if (!isCom) env.push_back(std::move(entry));
    }
    env.push_back("VEXLINK_COM" + std::to_string(com) + "=" + device);
    // A run against the simulator never probes the host's own serial ports by surprise:
    // /dev/null is no directory, so nothing can exist below it.
    for (int n = 1; n <= 4; ++n)
        if (n != com && !given[n])
            env.push_back("VEXLINK_COM" + std::to_string(n) + "=/dev/null/COM" + std::to_string(n));
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (auto& t : texts) out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

void blockRunnerSignals() {
    const sigset_t set = runnerSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int serveUntilSignal(Simulator& sim) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    for (;;) {
        const int sig = sigwaitinfo(&set, nullptr);
        if (sig == SIGINT || sig == SIGTERM || sig == SIGHUP) break;
    }
    sim.stop();
    return 0;
}

int runProgram(Simulator& sim, int com, const std::vector<std::string>& program) {
    std::vector<std::string> env = programEnvironment(sim.devicePath(), com);
    std::vector<std::string> args = program;
    auto envp = pointers(env);
    auto argv = pointers(args);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults = runnerSignals();
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int err = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), envp.data());
    posix_spawnattr_destroy(&attr);
    if (err != 0) {
        std::fprintf(stderr, "korvisor-sim: cannot run %s: %s\n", argv[0], std::strerror(err));
        sim.stop();
        return 127;
    }

    const sigset_t set = runnerSignals();
    int status = 0;
    for (;;) {
        siginfo_t info{};
        const int sig = sigwaitinfo(&set, &info);
        if (sig == SIGCHLD) {
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) break;
        } else if (sig == SIGINT || sig == SIGTERM || sig == SIGHUP) {
            // A terminal's signal (sent by the kernel: Ctrl-C, a closed terminal) has reached
            // the program's process group already; pass on only what was sent to this process
            // alone.
            if (info.si_code != SI_KERNEL) kill(pid, sig);
        }
    }
    sim.stop();
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

}  // namespace korvisor
