// The angle mapping of the pose output: the table of landmarks, and that it can be undone over
// the tracker's whole ranges.
#include "PoseMapping.h"

#include <gtest/gtest.h>

using namespace vexlink_cli;

TEST(PoseMapping, LandmarksOfTheTrackerRanges) {
    struct Case {
        int tracker;
        int sent;
    };
    // yaw 0..719 and pitch/roll -90..269 share the formula; the rows cover both ranges' limits
    // and the points where the result changes sign.
    for (const Case& c :
         {Case{-90, -90}, Case{-1, -1}, Case{0, 0}, Case{89, 89}, Case{90, 90}, Case{179, 179},
          Case{180, -180}, Case{269, -91}, Case{270, -90}, Case{359, -1}, Case{360, 0},
          Case{539, 179}, Case{540, -180}, Case{719, -1}}) {
        EXPECT_EQ(toSignedDegrees(c.tracker), c.sent) << c.tracker;
    }
}

TEST(PoseMapping, UndoneOverTheWholeRanges) {
    for (int pitch = -90; pitch <= 269; ++pitch) {
        const int s = toSignedDegrees(pitch);
        ASSERT_GE(s, -180);
        ASSERT_LE(s, 179);
        ASSERT_EQ(pitchRollFromSigned(s), pitch);
    }
    for (int yaw = 0; yaw <= 719; ++yaw) {
        const int s = toSignedDegrees(yaw);
        ASSERT_GE(s, -180);
        ASSERT_LE(s, 179);
        ASSERT_EQ(yawFromSigned(s), yaw % 360) << yaw;
    }
}

TEST(PoseMapping, AsciiTextOutsideTheRangesStillLandsInRange) {
    // ASCII frames carry any 5-character number; the mapping must not leave -180..179.
    for (int value : {-9999, -271, -181, 720, 99999}) {
        const int s = toSignedDegrees(value);
        EXPECT_GE(s, -180) << value;
        EXPECT_LE(s, 179) << value;
        EXPECT_EQ(((s - value) % 360 + 360) % 360, 0) << value;
    }
}
