// The warning box: the application's message handler, or a modal Windows message box.
#include "platform/CommApi.h"

#include <windows.h>

namespace vexlink::platform {

namespace {

void (*messageHandler)(const char*, void*) = nullptr;
void* messageContext = nullptr;

}  // namespace

void SetMessageHandler(void (*handler)(const char*, void*), void* context) {
    messageHandler = handler;
    messageContext = handler ? context : nullptr;
}

int MessageBoxA(const char* text, const char* caption, unsigned flags) {
    if (text == nullptr) text = "";
    if (messageHandler) {
        messageHandler(text, messageContext);
        return 1;
    }
    // Owned by the thread's active window, if it has one; with no caption of its own the
    // system's default one ("Error") is shown.
    return ::MessageBoxA(::GetActiveWindow(), text, caption, flags);
}

}  // namespace vexlink::platform
