// Get_Version: 'V', then at once a read of at most 5 bytes of text; the rest stays queued.
#include "reader_fixture.h"

#include <algorithm>

namespace {

using namespace trackertest;
using Version = TrackerLink;

TEST_F(Version, TheReplyUpToFiveBytesOrAnyNulBecomesTheText) {
    struct Case {
        std::string reply;
        const char* text;
    };
    const Case cases[] = {
        {"1.02", "1.02"},
        {"2.1.7", "2.1.7"},
        {std::string("1\0"
                     "23",
                     4),
         "1"},     // a NUL ends the text
        {"", ""},  // no reply within the read's time-out
    };
    for (const Case& c : cases) {
        device.answer('V', c.reply);
        char* text = link.Get_Version();
        ASSERT_EQ(text, link.versionText) << c.text;
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(link.GetBytesRead(), static_cast<int>(c.reply.size())) << c.text;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(link.dataBuffer), c.reply.size()), c.reply);
    }
}

TEST_F(Version, BytesBeyondTheFifthStayQueuedForTheNextRead) {
    device.answer('V', "ABCDEFG");
    ASSERT_NE(link.Get_Version(), nullptr);
    EXPECT_STREQ(link.versionText, "ABCDE");
    EXPECT_EQ(link.GetBytesRead(), 5);

    device.answer('V', "");
    ASSERT_NE(link.Get_Version(), nullptr);
    EXPECT_STREQ(link.versionText, "FG");
    EXPECT_EQ(device.receivedText(), "VV");
}

TEST_F(Version, AFailedRequestGivesNullAndKeepsTheFormerText) {
    device.answer('V', "1.02");
    ASSERT_NE(link.Get_Version(), nullptr);
    device.vanish();
    EXPECT_EQ(link.Get_Version(), nullptr);
    EXPECT_STREQ(link.versionText, "1.02");
    EXPECT_TRUE(std::all_of(std::begin(link.dataBuffer), std::end(link.dataBuffer),
                            [](unsigned char b) { return b == 0; }));
}

}  // namespace
