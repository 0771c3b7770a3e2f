// Sample lines in both formats: good samples with their angles, failed ones without.
#include "SampleFormat.h"

#include <gtest/gtest.h>

using namespace vexlink_cli;

TEST(SampleFormat, LinesForEveryVerdictInBothFormats) {
    struct Case {
        OutputFormat format;
        Sample sample;
        const char* line;
    };
    const Case cases[] = {
        {OutputFormat::Csv, {1.5, Verdict::Good, -23, 451, 269}, "1.500000,-23,451,269,good\n"},
        {OutputFormat::Csv,
         {0.0123456, Verdict::ChecksumError, 1, 2, 3},
         "0.012346,,,,checksum error\n"},
        {OutputFormat::Csv, {2, Verdict::ShortFrame, 1, 2, 3}, "2.000000,,,,short frame\n"},
        {OutputFormat::Jsonl,
         {1.5, Verdict::Good, -90, 0, 5},
         "{\"time\":1.500000,\"pitch\":-90,\"yaw\":0,\"roll\":5,\"verdict\":\"good\"}\n"},
        {OutputFormat::Jsonl,
         {3, Verdict::ChecksumError, 1, 2, 3},
         "{\"time\":3.000000,\"pitch\":null,\"yaw\":null,\"roll\":null,\"verdict\":\"checksum "
         "error\"}\n"},
        {OutputFormat::Jsonl,
         {3, Verdict::ShortFrame, 1, 2, 3},
         "{\"time\":3.000000,\"pitch\":null,\"yaw\":null,\"roll\":null,\"verdict\":\"short "
         "frame\"}\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatSample(c.format, c.sample), c.line);
}

TEST(SampleFormat, CsvHasAHeaderAndJsonLinesNone) {
    EXPECT_EQ(formatHeader(OutputFormat::Csv), "time,pitch,yaw,roll,verdict\n");
    EXPECT_EQ(formatHeader(OutputFormat::Jsonl), "");
}

TEST(SampleFormat, ExtremeValuesAreNotCut) {
    // Five-character ASCII fields can hold -9999..99999; a long run has large times.
    const Sample s{9999999.25, Verdict::Good, -9999, 99999, -2147483647};
    EXPECT_EQ(formatSample(OutputFormat::Jsonl, s),
              "{\"time\":9999999.250000,\"pitch\":-9999,\"yaw\":99999,\"roll\":-2147483647,"
              "\"verdict\":\"good\"}\n");
}
