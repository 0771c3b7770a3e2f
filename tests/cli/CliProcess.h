// Runs the vexlink program as a child process with pipes on its standard output and error, so
// that tests see exactly what a user or script would see.
#pragma once

#include <chrono>
#include <csignal>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace cli_test {

struct CliResult {
    int exitCode = -1;  // -1 when ended by a signal or not ended in time
    int signal = 0;     // the signal that ended it, 0 if none
    bool timedOut = false;
    std::string out;
    std::string err;
};

// The environment the program gets: the test's own, with VEXLINK_COM1..4 pointed at paths that
// do not exist unless the test gives them, so that no run probes the host's serial ports.
// An override whose value is kUnset removes the variable instead.
using EnvOverrides = std::map<std::string, std::string>;
inline const std::string kUnset = std::string("\x01unset");

class CliProcess {
public:
    CliProcess(const std::vector<std::string>& args, const EnvOverrides& env = {});
    ~CliProcess();  // kills the child if it still runs
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Collects output until stdout holds at least `lines` line feeds; false on time-out.
    bool waitForLines(std::size_t lines, std::chrono::milliseconds timeout);
    void sendSignal(int signal);
    // Closes the reading end of standard output, as a pipe reader like head does when done.
    void closeStdout();
    // Collects the rest of the output and the exit status; kills the child after timeout.
    CliResult finish(std::chrono::milliseconds timeout);

    const std::string& out() const { return result_.out; }

private:
    bool pump(std::chrono::steady_clock::time_point deadline);  // false once both pipes closed
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    CliResult result_;
};

CliResult runCli(const std::vector<std::string>& args, const EnvOverrides& env = {},
                 std::chrono::milliseconds timeout = std::chrono::seconds(15));

std::vector<std::string> splitLines(const std::string& text);

}  // namespace cli_test
