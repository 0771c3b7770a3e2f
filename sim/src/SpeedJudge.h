// Judges the speed at which the host sent each byte.
//
// The host writes 'K' or 'L' and changes its own speed at once, so by the time the byte can
// be read the host's termios may already show the new speed, or may show it only after the
// read. The judge keeps the speed the host is believed to send at and explains each change
// it observes by a switch command: the bytes up to and including the first switch command
// asking for the new speed went out at the old one, the rest at the new one. A change with
// no switch command to explain it (a host that changed speed by itself, or a switch command
// still in flight) is held open for a short grace time, then taken as made before the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace korvisor {

class SpeedJudge {
public:
    explicit SpeedJudge(int initialSpeed) : line_(initialSpeed) {}

    // Speeds for each of bytes, read between the host-speed observations before and after;
    // none while an unexplained change awaits its switch command and graceOver is false.
    std::optional<std::vector<int>> judge(const std::vector<std::uint8_t>& bytes, int before,
                                          int after, bool graceOver);

    // The host's speed, sampled while no byte awaits judgement: a byte is heard at the speed in
    // effect when it was sent, so a change the host makes while the line is idle counts from
    // then, not from the next read. A change that a judged switch command explains is taken at
    // once; any other (made by the host itself, or a switch command still on its way) once
    // graceOver. true when the judge now agrees with the host.
    bool follow(int hostSpeed, bool graceOver);

    int lineSpeed() const { return line_; }

private:
    int line_;                   // the speed the host is believed to send at
    std::optional<int> expect_;  // a switch command was judged; the host's change is due
};

}  // namespace korvisor
