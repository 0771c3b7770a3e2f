#include "RxLog.h"

#include <cerrno>
#include <chrono>
#include <system_error>

namespace korvisor {

RxLog::~RxLog() { closeFile(); }

void RxLog::openFile(const std::string& path) {
    closeFile();
    file_ = std::fopen(path.c_str(), "we");
    if (!file_) throw std::system_error(errno, std::generic_category(), "cannot open log " + path);
    std::fputs("# monotonic-seconds byte host-bit/s judgement\n"
               "# monotonic-seconds frame-end bytes intact|damaged\n", file_);
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
    std::snprintf(line, sizeof line, "%lld.%06lld 0x%02X %d %s", static_cast<long long>(us / 1000000),
                  static_cast<long long>(us % 1000000), r.value, r.hostSpeed,
                  r.understood ? "understood" : "not-understood");
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
