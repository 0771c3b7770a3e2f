#include "RxLog.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace korvisor {

RxLog::~RxLog() { closeFile(); }

void RxLog::openFile(const std::string& path) {
    closeFile();
    // Opened without waiting: a FIFO that no one reads yet would otherwise block the open, and
    // with it the program, for good. Writes then wait for the reader as usual.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        const int e = errno;
        if (e == ENXIO)
            throw std::system_error(
                e, std::generic_category(),
                "cannot open log " + path + ": a FIFO with no reader (start the reader first)");
        throw std::system_error(e, std::generic_category(), "cannot open log " + path);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = fdopen(fd, "w");
    if (!file_) {
        const int e = errno;
        close(fd);
        throw std::system_error(e, std::generic_category(), "cannot open log " + path);
    }
    std::fputs(
        "# monotonic-seconds byte host-bit/s judgement\n"
        "# monotonic-seconds frame-end bytes intact|damaged\n",
        file_);
    std::fflush(file_);
}

void RxLog::closeFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

namespace {

long long microsecondsOf(Clock::time_point at) {
    return std::chrono::duration_cast<std::chrono::microseconds>(at.time_since_epoch()).count();
}

}  // namespace

std::string formatRecord(const RxRecord& r) {
    const auto us = microsecondsOf(r.at);
    char line[96];
    std::snprintf(line, sizeof line, "%lld.%06lld 0x%02X %d %s",
                  static_cast<long long>(us / 1000000), static_cast<long long>(us % 1000000),
                  r.value, r.hostSpeed, r.understood ? "understood" : "not-understood");
    return line;
}

void RxLog::add(const RxRecord& record) {
    records_.push_back(record);
    if (!file_) return;
    std::fprintf(file_, "%s\n", formatRecord(record).c_str());
    std::fflush(file_);  // a reader tailing the log sees each byte as it comes
}

void RxLog::addFrameEnd(const TxFrame& frame) {
    if (!file_) return;
    const auto us = microsecondsOf(frame.lastByteAt);
    std::fprintf(file_, "%lld.%06lld frame-end %zu %s\n", us / 1000000, us % 1000000,
                 frame.bytes.size(), frame.intact ? "intact" : "damaged");
    std::fflush(file_);
}

}  // namespace korvisor
