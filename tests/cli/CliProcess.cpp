#include "CliProcess.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cli_test {

namespace {

std::vector<std::string> buildEnvironment(const EnvOverrides& overrides) {
    EnvOverrides merged;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        std::size_t eq = entry.find('=');
        if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (int n = 1; n <= 4; ++n) {
        merged["VEXLINK_COM" + std::to_string(n)] =
            "/nonexistent/vexlink-test-com" + std::to_string(n);
    }
    for (const auto& [name, value] : overrides) {
        if (value == kUnset) merged.erase(name);
        else merged[name] = value;
    }
    std::vector<std::string> env;
    for (const auto& [name, value] : merged) env.push_back(name + "=" + value);
    return env;
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& args, const EnvOverrides& env) {
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);

    std::vector<std::string> argvText;
    argvText.push_back(VEXLINK_CLI_PATH);
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText = buildEnvironment(env);
    std::vector<char*> envp;
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    const int rc =
        posix_spawn(&pid_, VEXLINK_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("posix_spawn failed");
    }
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
}

bool CliProcess::pump(std::chrono::steady_clock::time_point deadline) {
    pollfd fds[2];
    nfds_t count = 0;
    std::string* sinks[2];
    int* owners[2];
    if (outFd_ >= 0) {
        fds[count] = {outFd_, POLLIN, 0};
        sinks[count] = &result_.out;
        owners[count++] = &outFd_;
    }
    if (errFd_ >= 0) {
        fds[count] = {errFd_, POLLIN, 0};
        sinks[count] = &result_.err;
        owners[count++] = &errFd_;
    }
    if (count == 0) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    int ready = poll(fds, count, static_cast<int>(std::max<long>(0, left.count())));
    if (ready <= 0) return true;
    for (nfds_t i = 0; i < count; ++i) {
        if (fds[i].revents == 0) continue;
        char buffer[4096];
        ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
            sinks[i]->append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            close(*owners[i]);
            *owners[i] = -1;
        }
    }
    return true;
}

bool CliProcess::waitForLines(std::size_t lines, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (static_cast<std::size_t>(std::count(result_.out.begin(), result_.out.end(), '\n')) <
           lines) {
        if (std::chrono::steady_clock::now() >= deadline || !pump(deadline)) return false;
    }
    return true;
}

void CliProcess::sendSignal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
}

void CliProcess::closeStdout() {
    if (outFd_ >= 0) close(outFd_);
    outFd_ = -1;
}

CliResult CliProcess::finish(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && pump(deadline)) {}
    if (outFd_ >= 0 || errFd_ >= 0) {  // the pipes stayed open: the child did not end in time
        result_.timedOut = true;
        kill(pid_, SIGKILL);
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    if (WIFEXITED(status) && !result_.timedOut) result_.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result_.signal = WTERMSIG(status);
    return result_;
}

CliResult runCli(const std::vector<std::string>& args, const EnvOverrides& env,
                 std::chrono::milliseconds timeout) {
    CliProcess process(args, env);
    return process.finish(timeout);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace cli_test
