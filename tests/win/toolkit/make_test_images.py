#!/usr/bin/env python3
"""Writes the display-control tests' bitmap and cursor into a folder.

CustomControlTest.bmp: 48 x 32, 24 bits; pixel (x, y) is RGB(4x, 4y, 200), so
any copied pixel tells where in the bitmap it came from.
CustomControlTest.cur: 32 x 32 monochrome, hot spot (5, 1): a black square
with a white border.
"""
import os
import struct
import sys


def bitmap():
    width, height = 48, 32
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            row += bytes((200, 4 * y, 4 * x))  # blue, green, red
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def cursor():
    size = 32
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        xor_bits, and_bits = 0, 0
        for x in range(size):
            inside = 2 <= x < 20 and 1 <= y < 20
            border = inside and (x in (2, 19) or y in (1, 19))
            bit = 1 << (31 - x)
            if not inside:
                and_bits |= bit  # transparent
            elif border:
                xor_bits |= bit  # white
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    body = info + palette + b"".join(xor_rows) + b"".join(and_rows)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, 5, 1, len(body), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + body


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "CustomControlTest.bmp"), "wb") as f:
        f.write(bitmap())
    with open(os.path.join(folder, "CustomControlTest.cur"), "wb") as f:
        f.write(cursor())


if __name__ == "__main__":
    main()
