"""Writers of the Windows image files the build and the tests draw: device-
independent bitmaps (.bmp), icons (.ico) and cursors (.cur), from a canvas of
palette indexes or of (red, green, blue) colours. Standard library only; the
same canvas gives the same bytes on every run."""

import struct


class Canvas:
    """Rows of pixels, top row first: palette indexes, or (red, green, blue)
    for 24-bit pictures."""

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


def packed_rows(canvas, bits_per_pixel):
    """Bottom-up rows, packed most significant pixel first (24 bits: blue,
    green, red), each padded to 4 bytes."""
    rows = []
    for line in reversed(canvas.pixels):
        value, count, data = 0, 0, bytearray()
        for pixel in line:
            if bits_per_pixel == 24:
                red, green, blue = pixel
                data += bytes((blue, green, red))
                continue
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


def info_header(width, height, bits_per_pixel, image_size, colours, pixels_per_metre=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0,
                       image_size, pixels_per_metre, pixels_per_metre, colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def bitmap_file(canvas, bits_per_pixel, palette=(), pixels_per_metre=0):
    """A .bmp of the canvas; palette: the (red, green, blue) of each index."""
    bits = packed_rows(canvas, bits_per_pixel)
    info = info_header(canvas.width, canvas.height, bits_per_pixel, len(bits), len(palette),
                       pixels_per_metre) + palette_bytes(palette)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + info + bits


def _one_image_file(kind, image, mask, bits_per_pixel, palette, field_a, field_b):
    """An .ico (kind 1) or .cur (kind 2) holding one image: the colour bits,
    then the 1-bit mask (1: transparent)."""
    colour_bits = packed_rows(image, bits_per_pixel)
    mask_bits = packed_rows(mask, 1)
    body = info_header(image.width, image.height * 2, bits_per_pixel, len(colour_bits) + len(mask_bits),
                       len(palette))
    body += palette_bytes(palette) + colour_bits + mask_bits
    entry = struct.pack("<BBBBHHII", image.width, image.height, len(palette), 0, field_a, field_b,
                        len(body), 6 + 16)
    return struct.pack("<HHH", 0, kind, 1) + entry + body


def icon_file(image, mask, bits_per_pixel, palette):
    return _one_image_file(1, image, mask, bits_per_pixel, palette, 1, bits_per_pixel)


def cursor_file(image, mask, hot_spot):
    """A monochrome cursor: mask 1 transparent; mask 0 with image 0 black,
    with image 1 white."""
    return _one_image_file(2, image, mask, 1, [(0, 0, 0), (255, 255, 255)], *hot_spot)
