#include "Report.h"

#include <vexlink/Vexlink.h>

#include <cstdio>

namespace vexlink_cli {

namespace {

int gLibraryMessages = 0;

// Line breaks inside a warning, with the blanks around them, become "; ".
std::string oneLine(const char* text) {
    std::string line;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n' || *p == '\r') {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            line += "; ";
            while (p[1] == ' ') ++p;
        } else {
            line += *p;
        }
    }
    while (!line.empty() && line.front() == ' ') line.erase(line.begin());
    return line;
}

void onLibraryMessage(const char* text, void*) {
    ++gLibraryMessages;
    std::fprintf(stderr, "vexlink: %s\n", oneLine(text != nullptr ? text : "").c_str());
    std::fflush(stderr);
}

}  // namespace

std::string escapedText(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

void installLibraryMessages() { Vexlink::SetMessageHandler(onLibraryMessage, nullptr); }

int libraryMessageCount() { return gLibraryMessages; }

void report(Subcommand subcommand, const std::string& text) {
    std::fprintf(stderr, "vexlink %s: %s\n", subcommandName(subcommand), text.c_str());
    std::fflush(stderr);
}

}  // namespace vexlink_cli
