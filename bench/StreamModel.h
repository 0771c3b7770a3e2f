// The best that ReadFromPort can do in continuous mode: a model of the tracker's line and of
// the read algorithm with no host overhead at all. The tracker starts a frame on each tick
// of its rate unless a frame of the stream is still going out (then that tick is skipped);
// its answer to a sample request queues behind what the line is sending. Each read purges
// the input, (in ASCII) sends 'S' and pauses, waits for the next start byte, pauses, then
// takes the body as soon as it is all in. The next read starts the moment one ends, or, with
// a tick period (the console's sampling timer), on the timer's next tick: a tick that falls
// due during a read is delivered as soon as it ends, later ones are dropped.
#pragma once

namespace bench {

struct StreamCase {
    int rate = 40;  // samples per second asked of the tracker
    bool ascii = false;
    bool checksum = false;  // binary only
    int bitsPerSecond = 9600;
    double tickMs = 0;  // 0: back-to-back reads
};

struct StreamBest {
    double trackerFramesPerSecond;  // the stream alone, with nobody reading
    double readsPerSecond;          // good samples a back-to-back reader gets
};

StreamBest bestStream(const StreamCase& c, double seconds = 60);

}  // namespace bench
