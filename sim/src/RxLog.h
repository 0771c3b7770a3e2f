// The record of every byte the tracker received, kept in memory and, when asked, written to a
// file one line a byte:
//   <monotonic seconds> <byte in hex> <host bit/s> <understood|not-understood>
// and one line for the end of each sample frame the tracker sent, stamped just before its last
// byte was written (from then on a host may read it: where its latency starts):
//   <monotonic seconds> frame-end <bytes that reached the host> <intact|damaged>
// Not thread-safe by itself: the simulator guards it.
#pragma once

#include <korvisor/Simulator.h>

#include <cstdio>
#include <string>
#include <vector>

namespace korvisor {

class RxLog {
public:
    RxLog() = default;
    ~RxLog();
    RxLog(const RxLog&) = delete;
    RxLog& operator=(const RxLog&) = delete;

    // Starts writing to path (truncated); throws std::system_error when it cannot be opened.
    void openFile(const std::string& path);
    void closeFile();

    void add(const RxRecord& record);
    // Logs the end of a frame sent: "<seconds> frame-end <bytes> intact|damaged".
    void addFrameEnd(const TxFrame& frame);
    const std::vector<RxRecord>& records() const { return records_; }
    void clear() { records_.clear(); }

private:
    std::vector<RxRecord> records_;
    std::FILE* file_ = nullptr;
};

// One line of the file, without its line feed.
std::string formatRecord(const RxRecord& record);

}  // namespace korvisor
