"""vexlink.resolve and vexlink.ports: what a port name stands for, and the serial devices
present, on a test machine of folders (see conftest.FakeSystem)."""
import os

import pytest

import vexlink
from conftest import read_good


@pytest.mark.parametrize("case,name,path,source,origin", [
    ("environment", "COM3", "/dev/ttyUSB3", "environment", "VEXLINK_COM3"),
    ("empty environment", "COM2", None, "environment", "VEXLINK_COM2"),
    ("user map", "COM4", "/dev/ttyUSB7", "user map", "ports.conf:2"),
    ("system map", "COM1", "/dev/ttyACM0", "system map", "ports.conf:1"),
    ("default", "COM2", "{dev}/ttyS1", "default", "default"),
    ("path", "/dev/anything", "/dev/anything", "path", None),
])
def test_resolve(case, name, path, source, origin, fake_system, monkeypatch):
    for n in range(1, 5):
        monkeypatch.delenv("VEXLINK_COM%d" % n)
    if case == "environment":
        monkeypatch.setenv("VEXLINK_COM3", "/dev/ttyUSB3")
    elif case == "empty environment":
        monkeypatch.setenv("VEXLINK_COM2", "")
    elif case == "user map":
        fake_system.write(fake_system.config / "vexlink" / "ports.conf", "# my adapter\nCOM4 = /dev/ttyUSB7\n")
    elif case == "system map":
        fake_system.write(fake_system.etc / "vexlink" / "ports.conf", "COM1 = /dev/ttyACM0\n")

    resolved = vexlink.resolve(name)
    assert resolved.name == name
    assert resolved.path == (path.format(dev=fake_system.dev) if path else None)
    assert resolved.source == source
    if origin is None:
        assert resolved.origin is None
    else:
        assert resolved.origin.endswith(origin)


def test_resolve_refuses_what_is_no_port_name():
    for name in ("COM5", "com1", "ttyUSB0", ""):
        with pytest.raises(ValueError):
            vexlink.resolve(name)


def test_ports_lists_an_adapter_that_then_opens_by_its_com_name(simulator, fake_system, monkeypatch):
    sim = simulator("--pose", "5,6,7")
    by_id = fake_system.add_usb_adapter("ttyUSB0", os.path.realpath(sim.path), "usb-FTDI_Tracker_A1B2C3-if00-port0")
    monkeypatch.delenv("VEXLINK_COM3")
    fake_system.write(fake_system.config / "vexlink" / "ports.conf", "COM3 = %s\n" % by_id)

    devices = vexlink.ports()
    assert [d.kernel_name for d in devices] == ["ttyUSB0"]
    device = devices[0]
    assert device.path == by_id
    assert device.device_path == str(fake_system.dev / "ttyUSB0")
    assert (device.driver, device.vendor_id, device.product_id) == ("ftdi_sio", "0403", "6001")
    assert (device.manufacturer, device.product, device.serial_number) == ("FTDI", "FT232R USB UART", "A1B2C3")
    assert device.com_names == ["COM3"]
    assert not device.is_console
    assert "ttyUSB0" in repr(device) or by_id in repr(device)

    assert vexlink.resolve("COM3").path == by_id
    with vexlink.Tracker("COM3") as tracker:
        sample = read_good(tracker)
        assert (sample.pitch, sample.yaw, sample.roll) == (5, 6, 7)
