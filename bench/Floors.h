// The floor of each timed call: the least time the call can take on an ideal host, given the
// documented pauses and read time-outs and the wire time of what the tracker sends back.
// Bytes the host writes cost it nothing here: a write returns once the byte is queued.
#pragma once

namespace bench::floors {

// OpenCom where nothing answers: both pauses and the whole time-out of the 3-byte read.
double openSilent();
// OpenCom on a tracker: "KHX" comes in during the pause after 'X', so the read returns at once.
double openTracker(int bitsPerSecond);
// AutoDetectComPort with `silentBefore` silent ports probed before the tracker.
double autoDetect(int silentBefore, int bitsPerSecond);
// Get_Version with a reply of `length` bytes: its wire time, then the interval time-out that
// ends a reply shorter than the 5 bytes asked for.
double version(int length, int bitsPerSecond);
// HardReset: the one pause between the first two resets.
double hardReset();
// ReadFromPort upon request: the pause after 'S', or the frame's wire time when longer; in
// ASCII the pause after the 'Y' as well.
double request(bool ascii, bool checksum, int bitsPerSecond);

}  // namespace bench::floors
