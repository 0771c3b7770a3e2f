// A fake operating-system layer for the fuzz targets, linked in place of the real one.
//
// This is a link-time seam: the fuzz input is everything the tracker sends, and the fake
// serves it at once, so that one input runs in microseconds instead of the tens of
// milliseconds a real line takes. Writes, purges and pauses succeed at once. A read hands out
// the next bytes of the input; once the input is used up the device counts as gone, and reads
// fail, as they do on an unplugged adapter. The real layer's time-outs are tested on
// pseudo-terminals, not here.
#pragma once

#include <cstddef>
#include <cstdint>

#include <vexlink/SerialTypes.h>

namespace fakeline {

// The port that the fake layer serves.
inline constexpr HANDLE kPort{1};

// Makes data[0..size) the tracker's output from now on.
void serve(const std::uint8_t* data, std::size_t size);

// Bytes of the input not yet read.
std::size_t remaining();

}  // namespace fakeline
