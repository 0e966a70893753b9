#!/usr/bin/env python3
"""Writes Kestrel's images from the pixel art and drawing rules below.

    make_images.py OUTPUT_DIR

writes OUTPUT_DIR/Kestrel.ico (32x32, 16 colours), OUTPUT_DIR/Logo.bmp
(128x63, 16 colours) and OUTPUT_DIR/Hand.cur (32x32 monochrome pointing hand,
hot spot 5,1). The build runs it, so the repository holds no binary images.
Standard library only; the output is the same byte for byte on every run.
"""

import os
import sys

from image_files import Canvas, bitmap_file, cursor_file, icon_file

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


class Picture(Canvas):
    """A canvas that also writes words in the 5x7 face."""

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


def icon_canvas():
    canvas = Picture(32, 32, BLACK)
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
    with open(path, "wb") as out:
        out.write(icon_file(image, mask, 4, PALETTE))


def logo_canvas():
    canvas = Picture(128, 63, WHITE)
    rounded(canvas, 0, 0, 128, 63, 8, NAVY)
    rounded(canvas, 3, 3, 125, 60, 6, WHITE)
    word = "CORVEL"
    width = Picture.text_width(word, 3, 3)
    canvas.text((128 - width) // 2, 8, word, 3, 3, NAVY)
    canvas.rectangle(12, 32, 116, 34, DARK_RED)
    word = "FREEWARE"
    width = Picture.text_width(word, 2, 2)
    canvas.text((128 - width) // 2, 39, word, 2, 2, DARK_RED)
    return canvas


def write_logo(path):
    with open(path, "wb") as out:
        out.write(bitmap_file(logo_canvas(), 4, PALETTE))


def write_cursor(path):
    colour = Canvas(32, 32, 0)
    mask = Canvas(32, 32, 1)
    for y, line in enumerate(HAND):
        for x, symbol in enumerate(line):
            if symbol in "XW":
                mask.put(x, y, 0)
                colour.put(x, y, 1 if symbol == "W" else 0)
    with open(path, "wb") as out:
        out.write(cursor_file(colour, mask, HAND_HOT_SPOT))


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
