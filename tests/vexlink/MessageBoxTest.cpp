// The warning box: the application's handler, or one line on standard error.
#include "platform/CommApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace vexlink::platform;

void record(const char* text, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

TEST(MessageBox, GoesToTheInstalledHandlerVerbatim) {
    std::vector<std::string> shown;
    SetMessageHandler(record, &shown);
    MessageBoxA("Korvisor not available\nCheck your connections", nullptr,
                MB_OK | MB_ICONEXCLAMATION);
    SetMessageHandler(nullptr, nullptr);
    EXPECT_EQ(shown, std::vector<std::string>{"Korvisor not available\nCheck your connections"});
}

TEST(MessageBox, WithoutAHandlerIsOneLineOnStandardError) {
    ::testing::internal::CaptureStderr();
    MessageBoxA("Init failed \n \"SetCommState\"", nullptr, MB_OK | MB_ICONEXCLAMATION);
    const std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "vexlink: Init failed   \"SetCommState\"\n");
}

}  // namespace
