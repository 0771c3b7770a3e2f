// A Vexlink object whose warnings are collected instead of shown in a message box (Wine runs
// headless here: a box would wait for a click that never comes).
#pragma once

#include <vexlink/Vexlink.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class WineLink : public ::testing::Test {
protected:
    WineLink() { Vexlink::SetMessageHandler(&WineLink::collect, &messages); }
    ~WineLink() override {
        for (Vexlink* link : {&link, &other})
            if (link->CheckIfBusy()) link->CloseCom(link->GetComHandle());
        Vexlink::SetMessageHandler(nullptr);
    }

    static void collect(const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }

    Vexlink link;
    Vexlink other;
    std::vector<std::string> messages;
};
