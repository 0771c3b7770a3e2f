// What the program tells its user on standard error: its own one-line errors and summaries,
// and the library's warnings, each as one line prefixed "vexlink".
#pragma once

#include "Options.h"

#include <string>

namespace vexlink_cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Routes the library's warnings to standard error as "vexlink: TEXT" on one line.
void installLibraryMessages();
// How many warnings the library has reported so far.
int libraryMessageCount();

// Text from the tracker made safe for a terminal: control bytes, bytes above 0x7E and the
// backslash are written as \xNN, so a garbled reply cannot move the cursor or switch modes.
std::string escapedText(const char* text);

// "vexlink SUBCOMMAND: TEXT" on standard error.
void report(Subcommand subcommand, const std::string& text);

}  // namespace vexlink_cli
