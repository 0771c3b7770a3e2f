// The part of the library's public API this module binds where the library has it: the port
// map and listing (<vexlink/Ports.h>).
#pragma once

#if __has_include(<vexlink/Ports.h>)
#define VEXLINK_PYTHON_HAS_PORTS 1
#else
#define VEXLINK_PYTHON_HAS_PORTS 0
#endif
