#include "SampleFormat.h"

#include <cstdio>

namespace vexlink_cli {

const char* verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Good: return "good";
    case Verdict::ChecksumError: return "checksum error";
    case Verdict::ShortFrame: return "short frame";
    case Verdict::Malformed: return "malformed";
    }
    return "?";
}

std::string formatHeader(OutputFormat format) {
    return format == OutputFormat::Csv ? "time,pitch,yaw,roll,verdict\n" : "";
}

std::string formatSample(OutputFormat format, const Sample& sample) {
    const bool good = sample.verdict == Verdict::Good;
    char line[160];
    if (format == OutputFormat::Csv) {
        if (good) {
            std::snprintf(line, sizeof line, "%.6f,%d,%d,%d,%s\n", sample.seconds, sample.pitch,
                          sample.yaw, sample.roll, verdictText(sample.verdict));
        } else {
            std::snprintf(line, sizeof line, "%.6f,,,,%s\n", sample.seconds,
                          verdictText(sample.verdict));
        }
    } else if (good) {
        std::snprintf(line, sizeof line,
                      "{\"time\":%.6f,\"pitch\":%d,\"yaw\":%d,\"roll\":%d,\"verdict\":\"%s\"}\n",
                      sample.seconds, sample.pitch, sample.yaw, sample.roll,
                      verdictText(sample.verdict));
    } else {
        std::snprintf(
            line, sizeof line,
            "{\"time\":%.6f,\"pitch\":null,\"yaw\":null,\"roll\":null,\"verdict\":\"%s\"}\n",
            sample.seconds, verdictText(sample.verdict));
    }
    return line;
}

}  // namespace vexlink_cli
