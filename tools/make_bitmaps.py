#!/usr/bin/env python3
"""Draws the modules' bitmap resources as 8-bit palette BMP files.

Run from the repository root; the outputs are committed so that a build
needs no Python. The sound gauge's one bitmap is a 10 x 10 black square.
"""
import os
import struct
import sys

PIXELS_PER_METRE = 7874


def write_bmp(path, width, height, palette, rows):
    """rows[y][x] are palette indices, y = 0 being the top row."""
    stride = (width + 3) & ~3
    pixel_bytes = bytearray()
    for row in reversed(rows):  # bottom-up
        pixel_bytes += bytes(row) + bytes(stride - width)
    palette_bytes = bytearray()
    for (r, g, b) in palette:
        palette_bytes += bytes((b, g, r, 0))
    palette_bytes += bytes(4 * (256 - len(palette)))
    offset = 14 + 40 + len(palette_bytes)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(pixel_bytes), 0, 0, offset)
    info_header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixel_bytes),
                              PIXELS_PER_METRE, PIXELS_PER_METRE, 256, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(file_header + info_header + palette_bytes + pixel_bytes)


def sound_bitmaps(root):
    grey = [(i, i, i) for i in range(256)]
    write_bmp(os.path.join(root, 'resources/sound/blank_256.bmp'), 10, 10, grey, [[0] * 10 for _ in range(10)])


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    sound_bitmaps(root)
    try:
        import chronometer_bitmaps
    except ImportError:
        return
    chronometer_bitmaps.draw_all(root, write_bmp)


if __name__ == '__main__':
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main()
