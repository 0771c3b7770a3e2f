// The warning box: the application's message handler, or a modal Windows message box.
#include "platform/CommApi.h"
#include "platform/win32/System.h"

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
    return win32::messageBox(text, caption, flags);
}

}  // namespace vexlink::platform
