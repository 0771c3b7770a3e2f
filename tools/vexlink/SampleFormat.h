// One sample as a line of text: CSV (with a header line first) or JSON Lines.
#pragma once

#include "Options.h"

#include <string>

namespace vexlink_cli {

enum class Verdict { Good, ChecksumError, ShortFrame, Malformed };

const char* verdictText(Verdict verdict);  // "good", "checksum error", "short frame", "malformed"

struct Sample {
    double seconds = 0;  // since sampling began, monotonic clock
    Verdict verdict = Verdict::Good;
    int pitch = 0;  // whole degrees; meaningful for a good sample only
    int yaw = 0;
    int roll = 0;
};

// The line before the first sample, with its line feed; empty when the format has none.
std::string formatHeader(OutputFormat format);
// The sample's line, with its line feed. A failed sample carries no angles: empty CSV fields,
// JSON null, so that no consumer mistakes the previous sample's angles for a new one.
std::string formatSample(OutputFormat format, const Sample& sample);

}  // namespace vexlink_cli
