"""Fixtures for the vexlink module's tests: simulated trackers on pseudo-terminals.

The tests run with the module from the build tree (PYTHONPATH) and the simulator named by
VEXLINK_SIM; ctest sets both. COM1..COM4 always name paths that cannot exist unless a test
maps one, so that no test ever touches the machine's own serial ports.
"""
import os
import pathlib
import pty
import select
import signal
import subprocess
import threading
import time
import tty

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
SIM = os.environ.get("VEXLINK_SIM", str(ROOT / "build" / "sim" / "korvisor-sim"))


def wait_until(condition, timeout=5.0):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.01)
    return True


class Simulator:
    """korvisor-sim serving on a link, logging every byte it receives."""

    def __init__(self, folder, name, options):
        self.path = str(folder / name)
        self.log = folder / (name + ".log")
        self.process = subprocess.Popen(
            [SIM, "--link", self.path, "--log", str(self.log), *options],
            stdout=subprocess.DEVNULL)
        if not wait_until(lambda: os.path.exists(self.path) and self.log.exists()):
            self.stop()
            raise RuntimeError("the simulator did not start: " + " ".join(options))

    def received(self):
        """The bytes the simulator has received so far, in order."""
        fields = (line.split() for line in self.log.read_text().splitlines())
        return bytes(int(f[1], 16) for f in fields if len(f) > 1 and f[1].startswith("0x"))

    def wait_received(self, ending, timeout=2.0):
        """True once the received bytes end with ending."""
        return wait_until(lambda: self.received().endswith(ending), timeout)

    def wait_seen(self, sequence, timeout=2.0):
        """True once sequence has been received, anywhere."""
        return wait_until(lambda: sequence in self.received(), timeout)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            self.process.wait(timeout=5)


@pytest.fixture
def simulator(tmp_path):
    """simulator(*options) starts a simulated tracker; each is stopped after the test."""
    started = []

    def start(*options):
        sim = Simulator(tmp_path, "tracker%d" % len(started), options)
        started.append(sim)
        return sim

    yield start
    for sim in started:
        sim.stop()


@pytest.fixture
def tracker_path(simulator):
    """The device path of a simulated tracker holding a fixed pose."""
    return simulator("--pose", "12,250,-30").path


class FakeSystem:
    """A machine of the test's own for the library's port lookups: a /dev folder, a sysfs tree,
    an /etc and a home with its config folder, so that neither the user's port map nor the
    machine's serial ports play any part."""

    def __init__(self, root, monkeypatch):
        self.root = root
        self.dev, self.sys = root / "dev", root / "sys"
        self.etc, self.config = root / "etc", root / "home" / ".config"
        for folder in (self.dev, self.sys / "class" / "tty", self.etc, self.config):
            folder.mkdir(parents=True)
        for name, value in (("VEXLINK_DEV_DIR", self.dev), ("VEXLINK_SYSFS_DIR", self.sys),
                            ("VEXLINK_ETC_DIR", self.etc), ("HOME", root / "home"),
                            ("XDG_CONFIG_HOME", self.config)):
            monkeypatch.setenv(name, str(value))

    def write(self, path, text):
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    def add_usb_adapter(self, node, target, by_id, driver="ftdi_sio", vendor="0403",
                        product_id="6001", maker="FTDI", product="FT232R USB UART", serial="A1B2C3"):
        """/dev/NODE linked to target, its /dev/serial/by-id link, and its USB description."""
        (self.dev / node).symlink_to(target)
        (self.dev / "serial" / "by-id").mkdir(parents=True, exist_ok=True)
        (self.dev / "serial" / "by-id" / by_id).symlink_to("../../" + node)
        usb = self.sys / "devices" / "pci0000:00" / "usb1" / ("1-" + node)
        port = usb / "1-1:1.0" / node
        port.mkdir(parents=True)
        drivers = self.sys / "bus" / "usb-serial" / "drivers" / driver
        drivers.mkdir(parents=True, exist_ok=True)
        (port / "driver").symlink_to(drivers)
        for name, value in (("idVendor", vendor), ("idProduct", product_id), ("manufacturer", maker),
                            ("product", product), ("serial", serial)):
            self.write(usb / name, value + "\n")
        (self.sys / "class" / "tty" / node).mkdir(parents=True)
        (self.sys / "class" / "tty" / node / "device").symlink_to(port)
        return str(self.dev / "serial" / "by-id" / by_id)


@pytest.fixture(autouse=True)
def fake_system(tmp_path, monkeypatch):
    """Every test runs on a FakeSystem, with COM1..COM4 naming paths that cannot exist."""
    system = FakeSystem(tmp_path / "system", monkeypatch)
    for n in range(1, 5):
        monkeypatch.setenv("VEXLINK_COM%d" % n, str(tmp_path / ("absent-COM%d" % n)))
    return system


class QuietDevice:
    """A device that identifies itself as a tracker (unless identify is false) and then
    answers nothing: every read on it waits out its time-outs. Played on the master side of a
    pseudo-terminal."""

    def __init__(self, identify=True):
        self.identify = identify
        self.master, self.slave = pty.openpty()
        tty.setraw(self.slave)
        self.path = os.ttyname(self.slave)
        self.received = bytearray()
        self.stopping = False
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        while not self.stopping:
            ready, _, _ = select.select([self.master], [], [], 0.05)
            if not ready:
                continue
            try:
                data = os.read(self.master, 64)
            except OSError:
                continue
            self.received += data
            if self.identify and b"X" in data:
                os.write(self.master, b"KHX")

    def close(self):
        self.stopping = True
        self.thread.join()
        os.close(self.master)
        os.close(self.slave)


@pytest.fixture
def quiet_device():
    device = QuietDevice()
    yield device
    device.close()


@pytest.fixture
def silent_devices():
    """silent_devices(n): n devices that answer nothing at all."""
    made = []

    def make(n):
        made.extend(QuietDevice(identify=False) for _ in range(n))
        return made[-n:]

    yield make
    for device in made:
        device.close()


def read_good(tracker, tries=5, **modes):
    """A read by request that a loaded machine may let slip (the tracker's bytes come later
    than the reader's time-outs allow, a short frame) is tried again."""
    for _ in range(tries):
        sample = tracker.read(**modes)
        if sample.verdict != "short frame":
            break
    return sample
