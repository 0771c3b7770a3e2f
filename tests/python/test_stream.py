"""Tracker.stream against the simulated tracker, and how every wait on the port behaves:
the GIL released, Ctrl-C answered within 100 ms, the tracker put back afterwards."""
import itertools
import os
import signal
import threading
import time

import pytest

import vexlink
from conftest import wait_until

G, R, H = b"G", b"R", b"H"


def take(stream, n):
    return list(itertools.islice(stream, n))


@pytest.mark.parametrize("ascii,checksum,speed", [
    (False, True, 9600),
    (False, False, 9600),
    (True, False, 9600),
    (False, True, 19200),
    (True, True, 19200),
])
def test_stream_in_each_format(simulator, ascii, checksum, speed):
    sim = simulator("--pose", "-20,400,45")
    with vexlink.Tracker(sim.path) as tracker:
        with tracker.stream(rate=40, checksum=checksum, ascii=ascii, speed=speed) as stream:
            samples = take(stream, 20)
        good = [s for s in samples if s.verdict == "good"]
        # A loaded machine may let a frame slip; most come whole.
        assert len(good) >= 10, samples
        assert all((s.pitch, s.yaw, s.roll) == (-20, 400, 45) for s in good)
        assert all(s.pitch is None for s in samples if s.verdict != "good")
        assert all(a.time <= b.time for a, b in zip(samples, samples[1:]))  # frames read together share it
        assert sim.wait_seen(bytes([0x87]) + H)  # rate 40, then continuous
        if speed == 19200:
            assert b"K" in sim.received()
    assert sim.wait_received(G + R)


def test_stream_checksum_errors_and_garbage(simulator):
    sim = simulator("--pose", "1,2,3", "--bad-checksum", "3", "--garbage")
    with vexlink.Tracker(sim.path) as tracker:
        samples = take(tracker.stream(rate=75, checksum=True), 30)
    verdicts = {s.verdict for s in samples}
    assert "checksum error" in verdicts and "good" in verdicts
    assert all((s.pitch, s.yaw, s.roll) == (1, 2, 3) for s in samples if s.verdict == "good")


def test_a_stream_ends_by_close_by_drop_or_by_another_read(simulator):
    sim = simulator("--pose", "1,2,3")
    with vexlink.Tracker(sim.path) as tracker:
        stream = tracker.stream()
        take(stream, 2)
        stream.close()
        assert sim.wait_received(H + G)
        assert list(stream) == []
        assert not tracker.closed

        for n, _ in enumerate(tracker.stream()):
            if n == 2:
                break  # the loop drops the stream
        assert sim.wait_received(H + G)

        stream = tracker.stream()
        take(stream, 2)
        assert tracker.read().verdict in ("good", "short frame")
        assert list(stream) == []
    assert sim.received().count(H) == 3


def test_a_device_that_goes_away_ends_the_stream_with_an_error(simulator):
    sim = simulator("--pose", "1,2,3", "--vanish-after", "1")
    with vexlink.Tracker(sim.path) as tracker:
        stream = tracker.stream()
        before = time.monotonic()
        with pytest.raises(vexlink.Error, match="gone away"):
            for _ in stream:
                assert time.monotonic() - before < 5
        assert list(stream) == []
    assert tracker.closed


def interrupt_after(seconds):
    """Sends SIGINT to this process after seconds; the time it was sent, once it has been."""
    sent = []

    def fire():
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    timer = threading.Timer(seconds, fire)
    timer.start()
    return timer, sent


def stream_forever(tracker):
    for _ in tracker.stream(rate=75):
        pass


def read_ascii_forever(tracker):
    while True:
        tracker.read(ascii=True)


@pytest.mark.parametrize("device", ["simulator", "quiet device"])
@pytest.mark.parametrize("work", [stream_forever, read_ascii_forever])
def test_ctrl_c_interrupts_within_100_ms_and_the_tracker_is_put_back(
        device, work, simulator, quiet_device):
    assert signal.getsignal(signal.SIGINT) is signal.default_int_handler
    # On the quiet device every read waits out its whole bound (300 ms): Ctrl-C must not.
    if device == "simulator":
        sim = simulator("--pose", "1,2,3")
        path, received = sim.path, sim.received
    else:
        path, received = quiet_device.path, lambda: bytes(quiet_device.received)
    latency = None
    with pytest.raises(KeyboardInterrupt):
        with vexlink.Tracker(path) as tracker:
            timer, sent = interrupt_after(0.4)
            try:
                work(tracker)
            except KeyboardInterrupt:
                latency = time.monotonic() - sent[0]
                raise
            finally:
                timer.join()
    assert latency < 0.1 + 0.1  # 20 ms by design; slack for a loaded machine
    assert tracker.closed
    assert wait_until(lambda: received().endswith(G + R))


def test_ctrl_c_during_detection_leaves_no_port_held(simulator, silent_devices, monkeypatch):
    # COM1 and COM2 answer nothing (about 50 ms each to probe), COM3 has the tracker: Ctrl-C
    # comes as the probe of COM1 begins, and the probe that goes on behind it opens COM3.
    sim = simulator("--pose", "1,2,3")
    silent = silent_devices(2)
    for n, device in enumerate(silent, start=1):
        monkeypatch.setenv("VEXLINK_COM%d" % n, device.path)
    monkeypatch.setenv("VEXLINK_COM3", sim.path)
    sent = []

    def interrupt_when_probed():
        if wait_until(lambda: silent[0].received, timeout=5):
            sent.append(time.monotonic())
            os.kill(os.getpid(), signal.SIGINT)

    watcher = threading.Thread(target=interrupt_when_probed)
    watcher.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            vexlink.detect()
            time.sleep(1)  # detect() ended first on a loaded machine: the signal ends this
        latency = time.monotonic() - sent[0]
    finally:
        watcher.join()
    assert latency < 0.1 + 0.1
    assert sim.wait_received(b"LGX" + G + R)
    vexlink.Tracker(sim.path).close()  # free again


def test_the_gil_is_released_while_a_call_waits(quiet_device):
    counts = []
    stop = threading.Event()

    def count():
        n = 0
        while not stop.is_set():
            n += 1
        counts.append(n)

    def counted_during(action):
        counts.clear()
        stop.clear()
        thread = threading.Thread(target=count)
        thread.start()
        action()
        stop.set()
        thread.join()
        return counts[0]

    with vexlink.Tracker(quiet_device.path) as tracker:
        took = []

        def read():
            before = time.monotonic()
            tracker.read(ascii=True)  # no reply: waits about 300 ms
            took.append(time.monotonic() - before)

        during_read = counted_during(read)
        during_sleep = counted_during(lambda: time.sleep(took[0]))
    # Holding the GIL through the read would leave the counting thread next to nothing.
    assert during_read > during_sleep / 3
