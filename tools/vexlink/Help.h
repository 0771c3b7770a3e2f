// Help texts of the vexlink program, one per subcommand and one for the program as a whole.
#pragma once

#include "Options.h"

#include <string>

namespace vexlink_cli {

std::string programHelp();
// "vexlink VERSION" and a line feed.
std::string programVersion();
std::string subcommandHelp(Subcommand subcommand);

}  // namespace vexlink_cli
