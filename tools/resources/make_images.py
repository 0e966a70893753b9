#!/usr/bin/env python3
"""Writes Kestrel's images from the pixel art and drawing rules below.

    make_images.py OUTPUT_DIR

writes OUTPUT_DIR/Kestrel.ico (32x32, 16 colours), OUTPUT_DIR/Logo.bmp
(128x63, 16 colours) and OUTPUT_DIR/Hand.cur (32x32 monochrome pointing hand,
hot spot 5,1). The build runs it, so the repository holds no binary images.
Standard library only; the output is the same byte for byte on every run.
"""

import os
import struct
import sys

# The 16 colours of the classic VGA palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, NAVY, OLIVE, GREY, YELLOW, WHITE = 0, 1, 4, 3, 8, 11, 15

# A 5x7 face for the few letters the pictures use.
GLYPHS = {
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
}

# The pointing hand: X black, W white, anything else transparent. The tip of
# the index finger is the hot spot (5, 1).
HAND = [
    "",
    ".....XX",
    "....XWWX",
    "....XWWX",
    "....XWWX",
    "....XWWX",
    "....XWWXXX",
    "....XWWXWWXXX",
    "....XWWXWWXWWXX",
    ".XX.XWWXWWXWWXWX",
    "XWWXXWWWWWWWWXWX",
    "XWWWXWWWWWWWWWWX",
    ".XWWXWWWWWWWWWWX",
    "..XWWWWWWWWWWWWX",
    "..XWWWWWWWWWWWWX",
    "...XWWWWWWWWWWX",
    "...XWWWWWWWWWWX",
    "....XWWWWWWWWX",
    "....XWWWWWWWWX",
    "....XXXXXXXXXX",
]
HAND_HOT_SPOT = (5, 1)


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rectangle(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def text(self, left, top, word, scale, spacing, colour):
        x = left
        for letter in word:
            for row, bits in enumerate(GLYPHS[letter]):
                for column, bit in enumerate(bits):
                    if bit == "1":
                        self.rectangle(x + column * scale, top + row * scale,
                                       x + (column + 1) * scale, top + (row + 1) * scale, colour)
            x += 5 * scale + spacing

    @staticmethod
    def text_width(word, scale, spacing):
        return len(word) * (5 * scale + spacing) - spacing


def rounded(canvas, left, top, right, bottom, radius, colour):
    """Fills a rectangle whose corners are cut to quarter circles."""
    for y in range(top, bottom):
        for x in range(left, right):
            dx = max(left + radius - x - 0.5, x + 0.5 - (right - radius), 0)
            dy = max(top + radius - y - 0.5, y + 0.5 - (bottom - radius), 0)
            if dx * dx + dy * dy <= radius * radius:
                canvas.put(x, y, colour)


def packed_rows(canvas, bits_per_pixel):
    """Bottom-up rows packed most significant pixel first, padded to 4 bytes."""
    rows = []
    for line in reversed(canvas.pixels):
        value, count, data = 0, 0, bytearray()
        for pixel in line:
            value = (value << bits_per_pixel) | pixel
            count += bits_per_pixel
            if count == 8:
                data.append(value)
                value, count = 0, 0
        if count:
            data.append(value << (8 - count))
        while len(data) % 4:
            data.append(0)
        rows.append(bytes(data))
    return b"".join(rows)


def info_header(width, height, bits_per_pixel, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0,
                       image_size, 0, 0, colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def icon_canvas():
    canvas = Canvas(32, 32, BLACK)
    mask = Canvas(32, 32, 1)
    rounded(mask, 1, 1, 31, 31, 7, 0)
    rounded(canvas, 1, 1, 31, 31, 7, NAVY)
    # A bold K for Kestrel and a yellow arrow pointing down into a tray:
    # "new versions arrive".
    canvas.text(4, 5, "K", 3, 0, WHITE)
    canvas.rectangle(22, 6, 26, 16, YELLOW)
    for step in range(5):
        canvas.rectangle(19 + step, 16 + step, 29 - step, 17 + step, YELLOW)
    canvas.rectangle(4, 26, 28, 28, GREY)
    canvas.rectangle(4, 24, 6, 26, GREY)
    canvas.rectangle(26, 24, 28, 26, GREY)
    return canvas, mask


def write_icon(path):
    image, mask = icon_canvas()
    colour_bits = packed_rows(image, 4)
    mask_bits = packed_rows(mask, 1)
    body = info_header(32, 64, 4, len(colour_bits) + len(mask_bits), 16)
    body += palette_bytes(PALETTE) + colour_bits + mask_bits
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(body), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + body)


def logo_canvas():
    canvas = Canvas(128, 63, WHITE)
    rounded(canvas, 0, 0, 128, 63, 8, NAVY)
    rounded(canvas, 3, 3, 125, 60, 6, WHITE)
    word = "CORVEL"
    width = Canvas.text_width(word, 3, 3)
    canvas.text((128 - width) // 2, 8, word, 3, 3, NAVY)
    canvas.rectangle(12, 32, 116, 34, DARK_RED)
    word = "FREEWARE"
    width = Canvas.text_width(word, 2, 2)
    canvas.text((128 - width) // 2, 39, word, 2, 2, DARK_RED)
    return canvas


def write_logo(path):
    bits = packed_rows(logo_canvas(), 4)
    offset = 14 + 40 + 16 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info_header(128, 63, 4, len(bits), 16) + palette_bytes(PALETTE) + bits)


def write_cursor(path):
    # Monochrome cursor: AND 1 / XOR 0 transparent, AND 0 / XOR 0 black,
    # AND 0 / XOR 1 white.
    colour = Canvas(32, 32, 0)
    mask = Canvas(32, 32, 1)
    for y, line in enumerate(HAND):
        for x, symbol in enumerate(line):
            if symbol in "XW":
                mask.put(x, y, 0)
                colour.put(x, y, 1 if symbol == "W" else 0)
    colour_bits = packed_rows(colour, 1)
    mask_bits = packed_rows(mask, 1)
    body = info_header(32, 64, 1, len(colour_bits) + len(mask_bits), 2)
    body += palette_bytes([(0, 0, 0), (255, 255, 255)]) + colour_bits + mask_bits
    header = struct.pack("<HHH", 0, 2, 1)
    hot_x, hot_y = HAND_HOT_SPOT
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hot_x, hot_y, len(body), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + body)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_images.py OUTPUT_DIR")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_icon(os.path.join(folder, "Kestrel.ico"))
    write_logo(os.path.join(folder, "Logo.bmp"))
    write_cursor(os.path.join(folder, "Hand.cur"))


if __name__ == "__main__":
    main()
