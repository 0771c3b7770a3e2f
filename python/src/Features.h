// The parts of the library's public API this module binds where the library has them: the
// port map and listing (<vexlink/Ports.h>) and the streaming reader (<vexlink/SampleStream.h>).
#pragma once

#if __has_include(<vexlink/Ports.h>)
#define VEXLINK_PYTHON_HAS_PORTS 1
#else
#define VEXLINK_PYTHON_HAS_PORTS 0
#endif

#if __has_include(<vexlink/SampleStream.h>)
#define VEXLINK_PYTHON_HAS_STREAM 1
#else
#define VEXLINK_PYTHON_HAS_STREAM 0
#endif
