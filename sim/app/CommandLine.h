// The program's command line:
//   korvisor-sim [options] [--com N -- PROGRAM [ARGS...]]
#pragma once

#include <korvisor/Simulator.h>

#include <string>
#include <vector>

namespace korvisor {

struct CommandLine {
    Options options;
    int comPort = 0;                   // 1..4 with --com: run program against the tracker
    std::vector<std::string> program;  // the program and its arguments, after "--"
    bool help = false;
    bool version = false;  // --version: print the program's version
};

// Parses argv; throws std::invalid_argument with a message for the user on a bad argument.
CommandLine parseCommandLine(int argc, char** argv);

extern const char kUsage[];

}  // namespace korvisor
