#!/usr/bin/python3
"""The reference for the pose-latency rows: the plain pyserial loop a user would write to feed
opentrack from the tracker, doing the same job as `vexlink stream` (continuous binary frames
with checksum at rate 75, each pose sent as six little-endian doubles).
usage: pyserial_pose_loop.py PORT SPEED UDP_PORT SECONDS"""
import socket
import struct
import sys
import time

import serial

port, speed, udp_port, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
ser = serial.Serial(port, 9600, timeout=0.5)
ser.write(b"G")
if speed == 19200:
    ser.write(b"K")
    ser.flush()
    ser.baudrate = 19200
ser.write(b"FM\x8e")
ser.reset_input_buffer()
ser.write(b"H")
sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
signed = lambda a: ((a + 180) % 360) - 180
end = time.monotonic() + seconds
while time.monotonic() < end:
    if ser.read(1) != b"\xff":
        continue
    f = ser.read(8)
    if len(f) != 8 or (f[2] + f[4] + f[6]) & 0xFF != f[7]:
        continue
    yaw = (((f[1] << 8) | f[2]) * 360) >> 15
    pitch = ((((f[3] << 8) | f[4]) * 180) >> 15) - 90
    roll = ((((f[5] << 8) | f[6]) * 180) >> 15) - 90
    sock.sendto(struct.pack("<6d", 0, 0, 0, signed(yaw), signed(pitch), signed(roll)),
                ("127.0.0.1", udp_port))
ser.write(b"G")
ser.close()
