#!/usr/bin/env python3
"""Writes the display-control tests' bitmap and cursor into a folder.

CustomControlTest.bmp: 48 x 32, 24 bits; pixel (x, y) is RGB(4x, 4y, 200), so
any copied pixel tells where in the bitmap it came from.
CustomControlTest.cur: 32 x 32 monochrome, hot spot (5, 1): a black square
with a white border.
"""
import os
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "tools" / "resources"))
from image_files import Canvas, bitmap_file, cursor_file  # noqa: E402


def bitmap():
    picture = Canvas(48, 32, None)
    for y in range(32):
        for x in range(48):
            picture.put(x, y, (4 * x, 4 * y, 200))
    return bitmap_file(picture, 24, pixels_per_metre=2835)


def cursor():
    image = Canvas(32, 32, 0)
    mask = Canvas(32, 32, 1)
    mask.rectangle(2, 1, 20, 20, 0)
    image.rectangle(2, 1, 20, 20, 1)
    image.rectangle(3, 2, 19, 19, 0)  # white border, black inside
    return cursor_file(image, mask, (5, 1))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "CustomControlTest.bmp"), "wb") as f:
        f.write(bitmap())
    with open(os.path.join(folder, "CustomControlTest.cur"), "wb") as f:
        f.write(cursor())


if __name__ == "__main__":
    main()
