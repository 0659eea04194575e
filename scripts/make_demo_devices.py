#!/usr/bin/env python3
"""Writes data/Speakers.cfg: 66 records of 128 bytes, record n holding bus address n (16-bit
little-endian) and, at byte 20, the present flag 1 for the demonstration devices at bus
addresses 1 and 2 (first model) and 34 (second model). tests/test_demo_devices.cpp checks the
shipped file against the program's own reading of it."""
import os
import struct

PRESENT = (1, 2, 34)
out = bytearray(66 * 128)
for n in range(66):
    struct.pack_into("<h", out, 128 * n, n)
    if n in PRESENT:
        struct.pack_into("<h", out, 128 * n + 20, 1)
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "Speakers.cfg")
with open(path, "wb") as f:
    f.write(out)
